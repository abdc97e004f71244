#include <SDL.h>
#include <fstream>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Game.h"
#include "base/GameWide.h"
#include "core/MainLoop.h"
#include "opening/SceneAdvice.h"
#include "core/SceneManager.h"
#include "render/Renderer.h"
#include "text/GameTexts.h"
#include "text/TextLine.h"

namespace {
// Runs the game's start-up in a scratch folder, so "config.ini" is there or not as the test wants.
class GameInFolder : public InScratchFolder {
  public:
    explicit GameInFolder(bool withOptions, bool withPack = true) : InScratchFolder("game") {
        if (withPack)
            std::filesystem::copy_file(std::filesystem::path(VOV_RUN_DIR) / "Vedezaviva.zez",
                                       dir().path() / "Vedezaviva.zez");
        if (withOptions) dir().write("config.ini", "0\n");
    }
};

void pushQuit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}
} // namespace

TEST(GameStart, FirstRunShowsAdviceThenPresentsFramesAndQuitsOnClose) {
    GameInFolder folder(false);
    Game game;
    ASSERT_EQ(game.startUp(), 0);
    EXPECT_TRUE(game.firstRun());
    EXPECT_EQ(game.scenes()->currentScene, 3u);
    EXPECT_EQ(game.scenes()->previousScene, 4u);
    const auto* advice = dynamic_cast<const SceneAdvice*>(game.scenes()->current());
    ASSERT_NE(advice, nullptr);
    EXPECT_EQ(advice->adviceKey, "INTRO_ALERT");
    EXPECT_EQ(advice->adviceNext, 4u);
    EXPECT_TRUE(std::filesystem::is_directory(folder.dir().path() / "Savedata"));

    Renderer* renderer = Renderer::instance();
    EXPECT_EQ(renderer->layout.factor, 3);
    const uint64_t before = renderer->framesPresented;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(game.loop()->runFrame());
    EXPECT_EQ(renderer->framesPresented, before + 5);
    pushQuit();
    EXPECT_FALSE(game.loop()->runFrame());
    game.shutDown();
}

TEST(GameStart, WithOptionsTheStudioLogoComesFirst) {
    GameInFolder folder(true);
    Game game;
    ASSERT_EQ(game.startUp(), 0);
    EXPECT_FALSE(game.firstRun());
    EXPECT_EQ(game.scenes()->currentScene, 4u);
    EXPECT_EQ(game.scenes()->previousScene, 14u);
    game.shutDown();
}

TEST(GameStart, WindowLayoutScalesByWholeFactors) {
    WindowLayout a = WindowLayout::compute(1280, 720, 320, 200);
    EXPECT_EQ(a.factor, 3);
    EXPECT_EQ(a.scaledWidth, 960);
    EXPECT_EQ(a.scaledHeight, 600);
    EXPECT_EQ(a.offsetX, 160);
    EXPECT_EQ(a.offsetY, 50);
    EXPECT_FALSE(a.nativeSize);
    WindowLayout b = WindowLayout::compute(1920, 1080, 320, 200);
    EXPECT_EQ(b.factor, 5);
    EXPECT_EQ(b.offsetX, 160);
    EXPECT_EQ(b.offsetY, 30);
    EXPECT_TRUE(WindowLayout::compute(320, 200, 320, 200).nativeSize);
}

TEST(GameStart, WithoutAPackTheGameRunsAndTextDrawsNothing) {
    GameInFolder folder(true, false);
    Game game;
    testing::internal::CaptureStderr();
    ASSERT_EQ(game.startUp(), 0);
    testing::internal::GetCapturedStderr();
    const GameTexts* texts = GameWide<GameTexts>::get();
    ASSERT_NE(texts, nullptr);
    EXPECT_EQ(texts->fontCount(), 0u);
    TextLine line(0, 0);
    line.setString(10, 10, "GO IN", TextLine::Left);
    EXPECT_EQ(line.width, 0);
    line.draw(true);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(game.loop()->runFrame());
    pushQuit();
    EXPECT_FALSE(game.loop()->runFrame());
}
