#include <SDL_mixer.h>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

#include "GameHarness.h"
#include "base/GameWide.h"
#include "game/EntityObject.h"
#include "game/EntityTumblekin.h"
#include "game/SceneLevel.h"
#include "menus/Menu.h"
#include "persist/ProgressRecord.h"
#include "render/ResourceStore.h"
#include "text/TextBox.h"

namespace {
// Key, terrain, stamp, start, exit, minutes, survivor %, goal %, creatures, spawn interval.
std::string firstSteps(int minutes, int survivors, int goal) {
    return "First Steps,first_steps.png,first_steps_stamp.png,36,43,458,150," + std::to_string(minutes) +
           "," + std::to_string(survivors) + "," + std::to_string(goal) + ",10,1200\n";
}

// The level put up as the menus would (first level, first flag), by default the first teaching
// level, which these numbers were taken from.
class Level {
  public:
    explicit Level(const std::string& countries = firstSteps(2, 70, 65))
        : h({HarnessOptions::Levels::Shipped, countries}) {
        h.progress().chooseLevel(0, 0);
        h.enter(kLevelScene);
    }
    bool runUntilPhase(uint32_t phase, uint32_t limitMs = 6000) {
        return h.runUntil([&] { return level.phase == phase; }, static_cast<int>(limitMs / 16));
    }
    GameHarness h;
    SceneLevel& level = *h.scene<SceneLevel>(kLevelScene);
    ProgressRecord& progress = h.progress();
};
} // namespace

TEST(SceneLevel, IntroThenPlayWithTheClockAndTheFirstFollowerOnTime) {
    Level g;
    ASSERT_TRUE(g.h.run(16));
    EXPECT_EQ(std::tuple(g.level.phase, g.level.followers.size()), std::tuple(SceneLevel::Start, 10u));
    // Fade-in 1000 ms, then the 3000 ms intro: nothing moves and the level clock stands still.
    ASSERT_TRUE(g.h.run(3900));
    EXPECT_EQ(std::tuple(g.level.phase, g.progress.levelTimer.read(), g.level.leader->state),
              std::tuple(SceneLevel::Intro, 0u, EntityTumblekin::Waiting));
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 400));
    EXPECT_EQ(g.level.messageVisible, 0);
    ASSERT_TRUE(g.h.run(3100));
    EXPECT_EQ(g.progress.creaturesOut, 0);
    ASSERT_TRUE(g.h.run(200));
    EXPECT_EQ(g.progress.creaturesOut, 1);
    EXPECT_NEAR(g.progress.levelTimer.read(), 3300u, 20u);
    EXPECT_EQ(g.progress.timeLeftMs, 120000 - static_cast<int32_t>(g.progress.levelTimer.read()));
    // The terrain is drawn 1:1 under the view: a ground pixel nobody reached shows its own colour.
    // Where the level has nothing the night sky shows, not black: black paint must stay visible.
    const ImageData* terrain = GameWide<ResourceStore>::get()->surfaces().get(g.progress.terrainSurface);
    auto screen = [&](int x, int y) {
        const auto p = GameHarness::pixel(x - g.level.view.x, y - g.level.view.y);
        return uint32_t(p[0]) | p[1] << 8 | p[2] << 16;
    };
    ASSERT_NE(terrain->pixel(300, 103) & 0xFF, 0u);
    EXPECT_EQ(screen(300, 103), terrain->pixel(300, 103) & 0xFFFFFF);
    int sky = 0;
    while (sky < 319 && (terrain->pixel(g.level.view.x + sky, g.level.view.y) >> 24) != 0)
        ++sky;
    EXPECT_EQ(screen(g.level.view.x + sky, g.level.view.y), 0x50342Au);
}

// How a level ends: the phase, the cause bits, the message, and the scene that follows it.
TEST(SceneLevel, EveryEndShowsItsMessageAndLeadsToItsMenu) {
    struct End {
        std::string countries;
        std::function<void(SceneLevel&, ProgressRecord&)> act;
        uint32_t phase, bits;
        const char* message;
        uint32_t next;
    };
    const auto none = [](SceneLevel&, ProgressRecord&) {};
    const End ends[] = {
        // Goal 0 opens the exit at once; the last living follower goes in while too few survive:
        // a loss and a win in one update is a loss.
        {firstSteps(2, 70, 0),
         [](SceneLevel&, ProgressRecord& p) { p.creaturesAlive = p.creaturesSaved = 1; }, SceneLevel::Lost, 1,
         "LEVELTEXT_GAMEOVER_VEDEZAVIVA", kGameOverScene},
        {firstSteps(2, 70, 0),
         [](SceneLevel&, ProgressRecord& p) { p.creaturesAlive = p.creaturesSaved = 7; }, SceneLevel::Won, 1,
         "LEVELTEXT_WIN", kWinScene},
        {firstSteps(0, 70, 70), none, SceneLevel::Lost, 2, "LEVELTEXT_GAMEOVER_TIME", kGameOverScene},
        // Out of time and too few (one lost where all must live): the leader's message, as the table
        // says for bits 3.
        {firstSteps(0, 100, 70), [](SceneLevel&, ProgressRecord& p) { p.creaturesAlive = 9; },
         SceneLevel::Lost, 3, "LEVELTEXT_GAMEOVER_LEADER", kGameOverScene},
        {firstSteps(2, 70, 65),
         [](SceneLevel& l, ProgressRecord&) { l.leader->state = EntityTumblekin::Dead; }, SceneLevel::Lost, 0,
         "LEVELTEXT_GAMEOVER_LEADER", kGameOverScene},
    };
    for (const End& end : ends) {
        SCOPED_TRACE(end.message);
        Level g(end.countries);
        ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing));
        if (end.countries == ends[0].countries) {
            ASSERT_TRUE(g.h.run(16));
            EXPECT_EQ(std::tuple(g.level.phase, g.level.messageBox->key, g.level.exitLabel->rawText,
                                 g.level.exitDoor->frameY),
                      std::tuple(SceneLevel::ExitOpen, "LEVELTEXT_READYTOWIN", "GO IN", 0));
        }
        end.act(g.level, g.progress);
        ASSERT_TRUE(g.runUntilPhase(end.phase));
        EXPECT_EQ(end.phase == SceneLevel::Lost ? g.level.lastGameOverBits : end.bits, end.bits);
        EXPECT_EQ(g.level.messageBox->key, end.message);
        const uint32_t clock = g.progress.levelTimer.read();
        // The message shows for 5-6 s, then the curtain falls for 2 s; a won level's clock stands.
        ASSERT_TRUE(g.h.run(6100));
        EXPECT_EQ(end.phase == SceneLevel::Won ? g.progress.levelTimer.read() : clock, clock)
            << "a won level's clock stands";
        ASSERT_TRUE(g.h.run(2200));
        EXPECT_EQ(g.h.currentNumber(), end.next);
    }
}

// The brush builds under the pointer with its noise; losing focus pauses the level, clock and noise,
// focus back over the pause menu keeps them paused, and the level resumes where it stood.
TEST(SceneLevel, TheBrushBuildsAndLosingFocusPausesTheLevelItsClockAndTheNoise) {
    Level g;
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing));
    const ImageData* terrain = GameWide<ResourceStore>::get()->surfaces().get(g.progress.terrainSurface);
    // Point at level pixel (100, 20), in the air, and hold the left button.
    g.h.input().mx = (100 - g.level.view.x) * 4;
    g.h.input().my = (20 - g.level.view.y) * 18 / 5;
    g.h.input().buttons = SDL_BUTTON_LMASK;
    const int32_t paintable = g.progress.paintablePixels;
    ASSERT_TRUE(g.h.run(320));
    EXPECT_NE(terrain->pixel(g.level.mouseX + g.level.view.x, g.level.mouseY + g.level.view.y) & 0xFF, 0u);
    EXPECT_GT(g.progress.paintablePixels, paintable);
    EXPECT_LT(g.progress.buildInk, 5000 - 250);
    EXPECT_EQ(g.level.pointerTexture, g.level.actionPointerTexture);
    g.h.input().mx += 60;
    ASSERT_TRUE(g.h.run(16));
    EXPECT_EQ(Mix_Playing(10), 1) << "the noise plays while samples still build";
    const uint32_t before = g.progress.levelTimer.read();
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_TRUE(g.h.run(48));
    EXPECT_EQ(std::tuple(g.h.currentNumber(), Mix_Playing(10)), std::tuple(kPauseScene, 0));
    const uint32_t atPause = g.progress.levelTimer.read();
    EXPECT_LE(atPause, before + 16);
    ASSERT_TRUE(g.h.run(5000));
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ASSERT_TRUE(g.h.run(500));
    EXPECT_TRUE(g.progress.levelTimer.paused() && g.progress.levelTimer.read() == atPause);
    // Back with both buttons held: no noise at all.
    g.h.input().buttons = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
    g.h.scene<Menu>(kPauseScene)->setFocus(0);
    pushKey(SDL_SCANCODE_RETURN);
    pushKey(SDL_SCANCODE_RETURN, false);
    ASSERT_TRUE(g.h.run(600));
    EXPECT_EQ(std::tuple(g.h.currentNumber(), g.level.phase, Mix_Playing(10)),
              std::tuple(kLevelScene, SceneLevel::Playing, 0));
    EXPECT_TRUE(g.progress.levelTimer.running() && g.progress.levelTimer.read() < before + 700);
}

// At 25 frames a second each frame counts as 18 ms for creatures and clock alike: 100 frames take
// 1800 ms off the limit, not the wall clock's 4000, or a slow machine could never finish in time.
TEST(SceneLevel, SlowFramesCountTheirChargedTime) {
    Level g;
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::Playing, 5000));
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(g.h.frame(40));
    EXPECT_EQ(g.progress.timeLeftMs, 120000 - 1800);
}

// The exit's cream label over ground painted white, yellow or black: left of the first letter
// pixel of each of its rows lies the fonts' dark ink, not the paint.
TEST(SceneLevel, TheExitLabelIsRingedInInkOverAnyPaint) {
    Level g("First Steps,first_steps.png,first_steps_stamp.png,36,43,200,150,2,70,0,10,1200\n");
    ASSERT_TRUE(g.runUntilPhase(SceneLevel::ExitOpen));
    ResourceStore& store = *GameWide<ResourceStore>::get();
    ImageData& paint = *store.surfaces().get(g.progress.paintSurface);
    const TextLine& label = *g.level.exitLabel->lines.at(0);
    const uint8_t paints[3][4] = {{255, 255, 255, 255}, {255, 215, 0, 255}, {0, 0, 0, 255}};
    const char* names[3] = {"white", "yellow", "black"};
    for (int c = 0; c < 3; ++c) {
        for (size_t i = 0; i < size_t(paint.width()) * paint.height(); ++i)
            std::copy_n(paints[c], 4, paint.pixels() + i * 4);
        store.uploadSurface(g.progress.paintSurface, g.progress.paintTexture);
        ASSERT_TRUE(g.h.run(16));
        int rows = 0;
        for (int y = label.drawY; y < label.drawY + label.lineHeight; ++y)
            for (int x = label.drawX - 1; x < label.drawX + label.width; ++x)
                if (GameHarness::pixelNear(x, y, 0xFBF3E4, 6)) {
                    EXPECT_TRUE(GameHarness::pixelNear(x - 1, y, 0x1A1216, 6)) << names[c] << " row " << y;
                    ++rows;
                    break;
                }
        EXPECT_GE(rows, 6) << names[c];
    }
}
