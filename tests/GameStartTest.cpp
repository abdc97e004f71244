#include <array>
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "base/GameWide.h"
#include "core/MainLoop.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "text/GameTexts.h"
#include "text/TextLine.h"

TEST(GameStart, FirstRunShowsAdviceBeforeTheLogoLaterRunsTheLogo) {
    HarnessOptions firstRun;
    firstRun.config = "";
    GameHarness h(firstRun);
    ASSERT_TRUE(h.started());
    EXPECT_EQ(h.currentNumber(), kAdviceScene);
    EXPECT_EQ(h.scenes().previousScene, kStudioLogoScene);
    EXPECT_TRUE(std::filesystem::is_directory(h.dir().path() / "Savedata"));
    // Without "config.ini" the window is full screen; offscreen that is still 1280 x 720 (x3).
    EXPECT_EQ(Renderer::instance()->layout.factor, 3);
    const uint64_t before = Renderer::instance()->framesPresented;
    h.frames(5);
    EXPECT_EQ(Renderer::instance()->framesPresented, before + 5);

    GameHarness later;
    ASSERT_TRUE(later.started());
    EXPECT_EQ(later.currentNumber(), kStudioLogoScene);
    EXPECT_EQ(later.scenes().previousScene, kSceneCount);
}

TEST(GameStart, WindowLayoutScalesByWholeFactors) {
    // Window, then factor, scaled size and offsets of the 320 x 200 screen.
    for (auto [w, h, factor, sw, sh, ox, oy] :
         {std::array{1280, 720, 3, 960, 600, 160, 50}, {1920, 1080, 5, 1600, 1000, 160, 30}}) {
        const WindowLayout layout = WindowLayout::compute(w, h, 320, 200);
        EXPECT_EQ((std::array{layout.factor, layout.scaledWidth, layout.scaledHeight, layout.offsetX,
                              layout.offsetY}),
                  (std::array{factor, sw, sh, ox, oy}))
            << w;
        EXPECT_FALSE(layout.nativeSize);
    }
    EXPECT_TRUE(WindowLayout::compute(320, 200, 320, 200).nativeSize);
}

TEST(GameStart, WithoutAPackTheGameRunsAndTextDrawsNothing) {
    HarnessOptions bare;
    bare.pack = false;
    testing::internal::CaptureStderr();
    GameHarness h(bare);
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(h.started());
    EXPECT_EQ(GameWide<GameTexts>::get()->fontCount(), 0u);
    TextLine line(0, 0);
    line.setString(10, 10, "GO IN", TextLine::Left);
    EXPECT_EQ(line.width, 0);
    line.draw(true);
    EXPECT_TRUE(h.run(48));
    pushQuit();
    EXPECT_FALSE(h.frame());
}

// The window's close button ends the game in every scene, the paddle game and the level included,
// whether the scene fades out first or not.
TEST(GameStart, TheCloseButtonEndsTheGameInEveryScene) {
    GameHarness h;
    ASSERT_TRUE(h.started());
    h.progress().chooseLevel(0, 0);
    for (uint32_t number = 0; number < kSceneCount; ++number) {
        SCOPED_TRACE("scene " + std::to_string(number));
        h.scenes().quitRequested = 0;
        ASSERT_TRUE(h.jumpTo(number));
        pushQuit();
        const int frames = h.framesUntil([] { return false; }, 100);
        EXPECT_LT(frames, 40);
        EXPECT_TRUE(h.scenes().quitRequested);
    }
}
