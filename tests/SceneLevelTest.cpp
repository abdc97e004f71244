#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "TestSupport.h"
#include "assets/FileStream.h"
#include "core/Game.h"
#include "base/GameWide.h"
#include "core/InputSource.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/SceneManager.h"
#include "game/EntityObject.h"
#include "game/EntityTumblekin.h"
#include "game/SceneLevel.h"
#include "menus/Menu.h"
#include "persist/ProgressRecord.h"
#include "text/TextBox.h"

namespace fs = std::filesystem;

namespace {
class FakeInput final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override {
        *count = static_cast<int>(keys.size());
        return keys.data();
    }
    uint32_t mouse(int* x, int* y) override {
        *x = mouseX;
        *y = mouseY;
        return buttons;
    }
    std::vector<uint8_t> keys = std::vector<uint8_t>(512, 0);
    int mouseX = 640, mouseY = 360;
    uint32_t buttons = 0;
};

void pushWindowEvent(uint8_t what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    SDL_PushEvent(&event);
}

void pushKey(SDL_Scancode code, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = code;
    SDL_PushEvent(&event);
}

// The whole game in a scratch folder, the level put up as the menus would, driven frame by frame
// with a fake clock. `countries` replaces the list (the teaching pictures stay beside it); by
// default the three teaching levels, whose numbers these tests were written against.
class LevelGame {
  public:
    explicit LevelGame(const std::string& countries = "") : dir_("level"), here_(fs::current_path()) {
        const fs::path run(VOV_RUN_DIR);
        fs::copy_file(run / "Vedezaviva.zez", dir_.path() / "Vedezaviva.zez");
        fs::copy(run / "Flags", dir_.path() / "Flags", fs::copy_options::recursive);
        fs::copy(run / "Countries", dir_.path() / "Countries", fs::copy_options::recursive);
        dir_.write("Countries/countries.txt",
                   countries.empty() ? readWhole(fs::path(VOV_SOURCE_DIR) / "tests/robot/teaching.txt")
                                     : countries);
        dir_.write("config.ini", "LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=0\nSFXVOLUME=0\n");
        fs::current_path(dir_.path());
        ok = game.startUp() == 0;
        if (!ok) return;
        auto source = std::make_unique<FakeInput>();
        input = source.get();
        game.input()->setSource(std::move(source));
        progress = GameWide<ProgressRecord>::get();
        progress->loadFlags();
        progress->loadLevelList();
        progress->chooseLevel(0, 0);
        level = static_cast<SceneLevel*>(game.scenes()->scene(1));
        game.scenes()->currentScene = 1;
    }
    ~LevelGame() {
        game.shutDown();
        fs::current_path(here_);
        FileStream::forgetSavedataForTests();
    }
    // Runs `ms` of frames of 16 ms (the last one shorter); false when the game ended.
    bool run(uint32_t ms) {
        while (ms > 0) {
            const uint32_t step = std::min<uint32_t>(16, ms);
            clock.advance(step);
            ms -= step;
            if (!game.loop()->runFrame()) return false;
        }
        return true;
    }
    // Frames until the level reaches `phase`; false when it did not within `limitMs`.
    bool runUntilPhase(uint32_t phase, uint32_t limitMs) {
        for (uint32_t t = 0; t < limitMs; t += 16) {
            if (level->phase == phase) return true;
            if (!run(16)) return false;
        }
        return level->phase == phase;
    }
    uint32_t scene() const { return game.scenes()->currentScene; }

    FakeClock clock;
    Game game;
    bool ok = false;
    FakeInput* input = nullptr;
    ProgressRecord* progress = nullptr;
    SceneLevel* level = nullptr;

  private:
    ScratchDir dir_;
    fs::path here_;
};

constexpr const char* kOpenAtOnce =
    "First Steps,first_steps.png,first_steps_stamp.png,36,43,458,150,2,70,0,10,1200\n";
} // namespace

TEST(SceneLevel, IntroThenPlayWithTheClockAndTheFirstFollowerOnTime) {
    LevelGame g;
    ASSERT_TRUE(g.ok);
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(g.level->phase, SceneLevel::Start);
    EXPECT_EQ(g.progress->creaturesTotal, 10);
    EXPECT_EQ(g.level->followers.size(), 10u);
    // Fade-in 1000 ms, then the 3000 ms intro: nothing moves and the level clock stands still.
    ASSERT_TRUE(g.run(3900));
    EXPECT_EQ(g.level->phase, SceneLevel::Intro);
    EXPECT_EQ(g.progress->levelTimer.read(), 0u);
    EXPECT_EQ(g.level->leader->state, EntityTumblekin::Waiting);
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 400));
    EXPECT_EQ(g.level->messageVisible, 0);
    ASSERT_TRUE(g.run(3100));
    EXPECT_EQ(g.progress->creaturesOut, 0);
    ASSERT_TRUE(g.run(200));
    EXPECT_EQ(g.progress->creaturesOut, 1);
    EXPECT_GE(g.progress->levelTimer.read(), 3280u);
    EXPECT_LE(g.progress->levelTimer.read(), 3320u);
    EXPECT_EQ(g.progress->timeLeftMs, 120000 - static_cast<int32_t>(g.progress->levelTimer.read()));
    // The terrain is drawn 1:1 under the view: a ground pixel of the level shows its own colour.
    const ImageData* terrain = GameWide<ResourceStore>::get()->surfaces().get(g.progress->terrainSurface);
    ASSERT_NE(terrain, nullptr);
    const int lx = 300, ly = 103; // inside the ground, not reached by anyone yet
    const uint32_t want = terrain->pixel(lx, ly);
    ASSERT_NE(want & 0xFF, 0u);
    const auto got = GlFixture::gameScreenPixel(lx - g.level->view.x, ly - g.level->view.y);
    EXPECT_EQ(got[0], want & 0xFF);
    EXPECT_EQ(got[1], want >> 8 & 0xFF);
    EXPECT_EQ(got[2], want >> 16 & 0xFF);
    // Where the level has nothing, the night sky shows, not black: black paint must stay visible.
    int sx = -1, sy = -1;
    for (int y = 0; y < 200 && sx < 0; ++y)
        for (int x = 0; x < 320; ++x)
            if ((terrain->pixel(x + g.level->view.x, y + g.level->view.y) >> 24) == 0) {
                sx = x, sy = y;
                break;
            }
    ASSERT_GE(sx, 0);
    const auto sky = GlFixture::gameScreenPixel(sx, sy);
    EXPECT_EQ(sky[0], 0x2A);
    EXPECT_EQ(sky[1], 0x34);
    EXPECT_EQ(sky[2], 0x50);
}

TEST(SceneLevel, GoalZeroOpensTheExitAndALossWithAWinInOneUpdateIsALoss) {
    LevelGame g(kOpenAtOnce);
    ASSERT_TRUE(g.ok);
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 5000));
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(g.level->phase, SceneLevel::ExitOpen);
    EXPECT_EQ(g.level->messageBox->key, "LEVELTEXT_READYTOWIN");
    EXPECT_EQ(g.level->exitLabel->rawText, "GO IN");
    EXPECT_EQ(g.level->exitDoor->frameY, 0);
    // The last living follower went in while too few survive: the loss holds.
    g.progress->creaturesAlive = 1;
    g.progress->creaturesSaved = 1;
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(g.level->phase, SceneLevel::Lost);
    EXPECT_EQ(g.level->lastGameOverBits, 1u);
    EXPECT_EQ(g.level->messageBox->key, "LEVELTEXT_GAMEOVER_VEDEZAVIVA");
    // The loss shows for 6 s, then the game-over scene takes over.
    ASSERT_TRUE(g.run(6100));
    ASSERT_TRUE(g.run(2200));
    EXPECT_EQ(g.scene(), 9u);
}

TEST(SceneLevel, EveryFollowerInsideWinsAndTheLevelClockStops) {
    LevelGame g(kOpenAtOnce);
    ASSERT_TRUE(g.ok);
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::ExitOpen, 6000));
    g.progress->creaturesAlive = 7;
    g.progress->creaturesSaved = 7;
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(g.level->phase, SceneLevel::Won);
    EXPECT_EQ(g.level->messageBox->key, "LEVELTEXT_WIN");
    const uint32_t stopped = g.progress->levelTimer.read();
    ASSERT_TRUE(g.run(1000));
    EXPECT_EQ(g.progress->levelTimer.read(), stopped);
    ASSERT_TRUE(g.run(4200));
    ASSERT_TRUE(g.run(2200));
    EXPECT_EQ(g.scene(), 10u);
}

TEST(SceneLevel, LossesAreNamedByTheirCause) {
    {
        LevelGame g("First Steps,first_steps.png,first_steps_stamp.png,36,43,458,150,0,70,70,10,1200\n");
        ASSERT_TRUE(g.ok);
        ASSERT_TRUE(g.runUntilPhase(SceneLevel::Lost, 6000));
        EXPECT_EQ(g.level->lastGameOverBits, 2u);
        EXPECT_EQ(g.level->messageBox->key, "LEVELTEXT_GAMEOVER_TIME");
    }
    {
        // Out of time and too few: the leader's message, as the table says for bits 3.
        LevelGame g("First Steps,first_steps.png,first_steps_stamp.png,36,43,458,150,0,101,70,10,1200\n");
        ASSERT_TRUE(g.ok);
        ASSERT_TRUE(g.runUntilPhase(SceneLevel::Lost, 6000));
        EXPECT_EQ(g.level->lastGameOverBits, 3u);
        EXPECT_EQ(g.level->messageBox->key, "LEVELTEXT_GAMEOVER_LEADER");
    }
    {
        LevelGame g;
        ASSERT_TRUE(g.ok);
        ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 6000));
        g.level->leader->state = EntityTumblekin::Dead;
        ASSERT_TRUE(g.run(16));
        EXPECT_EQ(g.level->phase, SceneLevel::Lost);
        EXPECT_EQ(g.level->lastGameOverBits, 0u);
        EXPECT_EQ(g.level->messageBox->key, "LEVELTEXT_GAMEOVER_LEADER");
    }
}

TEST(SceneLevel, LosingFocusPausesTheLevelAndThePausedTimeIsNotCounted) {
    LevelGame g;
    ASSERT_TRUE(g.ok);
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 6000));
    ASSERT_TRUE(g.run(1000));
    const uint32_t before = g.progress->levelTimer.read();
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(g.scene(), 11u);
    EXPECT_TRUE(g.progress->levelTimer.paused());
    EXPECT_LE(g.progress->levelTimer.read(), before + 16);
    const uint32_t atPause = g.progress->levelTimer.read();
    ASSERT_TRUE(g.run(5000));
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ASSERT_TRUE(g.run(500));
    // Focus came back over the pause menu: the level clock stays paused behind it.
    EXPECT_TRUE(g.progress->levelTimer.paused());
    EXPECT_EQ(g.progress->levelTimer.read(), atPause);
    // Back to the level ("PAUSE_BACK"): it resumes where it stood, without a new set-up.
    static_cast<Menu*>(g.game.scenes()->scene(11))->setFocus(0);
    pushKey(SDL_SCANCODE_RETURN, true);
    pushKey(SDL_SCANCODE_RETURN, false);
    ASSERT_TRUE(g.run(600));
    EXPECT_EQ(g.scene(), 1u);
    EXPECT_EQ(g.level->phase, SceneLevel::Playing);
    EXPECT_TRUE(g.progress->levelTimer.running());
    EXPECT_LT(g.progress->levelTimer.read(), before + 700);
}

TEST(SceneLevel, TheBrushBuildsUnderThePointerAndItsNoisePausesWithTheLevel) {
    LevelGame g;
    ASSERT_TRUE(g.ok);
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 6000));
    const ImageData* terrain = GameWide<ResourceStore>::get()->surfaces().get(g.progress->terrainSurface);
    // Point at level pixel (100, 20), in the air, and hold the left button.
    const int sx = 100 - g.level->view.x, sy = 20 - g.level->view.y;
    g.input->mouseX = sx * 4;
    g.input->mouseY = sy * 18 / 5;
    g.input->buttons = SDL_BUTTON_LMASK;
    const int32_t paintable = g.progress->paintablePixels;
    ASSERT_TRUE(g.run(32));
    // The noise plays while samples still build (once the brush's patch is full, it stops).
    EXPECT_EQ(Mix_Playing(10), 1);
    ASSERT_TRUE(g.run(288));
    EXPECT_NE(terrain->pixel(g.level->mouseX + g.level->view.x, g.level->mouseY + g.level->view.y) & 0xFF,
              0u);
    EXPECT_GT(g.progress->paintablePixels, paintable);
    EXPECT_LT(g.progress->buildInk, 5000 - 250);
    EXPECT_EQ(g.level->pointerTexture, g.level->actionPointerTexture);
    // The pause menu stops the noise of a brush held into it.
    g.input->mouseX += 60;
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(Mix_Playing(10), 1);
    pushKey(SDL_SCANCODE_ESCAPE, true);
    pushKey(SDL_SCANCODE_ESCAPE, false);
    ASSERT_TRUE(g.run(32));
    EXPECT_EQ(g.scene(), 11u);
    // The pause menu halts the looping noise (the music plays on).
    ASSERT_TRUE(g.run(16));
    EXPECT_EQ(Mix_Playing(10), 0);
    ASSERT_TRUE(g.run(300));
    // Both buttons at once: no noise at all.
    g.input->buttons = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
    static_cast<Menu*>(g.game.scenes()->scene(11))->setFocus(0);
    pushKey(SDL_SCANCODE_RETURN, true);
    pushKey(SDL_SCANCODE_RETURN, false);
    ASSERT_TRUE(g.run(600));
    EXPECT_EQ(g.scene(), 1u);
    EXPECT_EQ(Mix_Playing(10), 0);
}

TEST(SceneLevel, TheCloseButtonEndsTheGameDuringALevel) {
    LevelGame g;
    ASSERT_TRUE(g.ok);
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 6000));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(g.run(16));
}
