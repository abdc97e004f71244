// The whole game in process, the way a player goes through it: start, main menu, a flag and a
// country, the briefing, the level, the pause and the options (another language), back to the
// level where it stood, the win screen; the credits; a lost level, the game-over screen and a
// restart. Every step is checked by the current scene and by pixels of the game screen.
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "game/EntityTumblekin.h"
#include "game/LevelHud.h"
#include "game/SceneLevel.h"
#include "gui/Button.h"
#include "menus/MenuMain.h"
#include "menus/MenuPause.h"
#include "menus/MenuSelectLevel.h"
#include "menus/MenuWin.h"
#include "persist/ProgressRecord.h"
#include "text/TextBox.h"

namespace {
// A cheap fingerprint of a rectangle of the game screen.
uint64_t regionHash(int x0, int y0, int w, int h) {
    uint64_t hash = 1469598103934665603ull;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            for (uint8_t c : GameHarness::pixel(x, y))
                hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

constexpr SDL_Scancode kUp = SDL_SCANCODE_UP, kDown = SDL_SCANCODE_DOWN, kRight = SDL_SCANCODE_RIGHT,
                       kReturn = SDL_SCANCODE_RETURN;
} // namespace

TEST(GameRoute, APlayerGoesFromTheMainMenuThroughALevelAndBack) {
    GameHarness h;
    ASSERT_TRUE(h.started());
    ProgressRecord& progress = h.progress();

    // Start, as a later run: the two logos lead to the main menu; no focus until a direction.
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 800));
    EXPECT_TRUE(GameHarness::pixelNear(2, 100, 0x2D2D7B));
    EXPECT_TRUE(GameHarness::pixelNear(110, 63, 0x476580)) << "the start button's slate body";
    auto* main = h.scene<MenuMain>(kMainScene);
    EXPECT_EQ(main->focused, -1);
    h.keys({kDown});
    EXPECT_TRUE(GameHarness::pixelNear(110, 64, 0xDE5D3A)) << "focused look";
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kSelectScene));
    auto* select = h.scene<MenuSelectLevel>(kSelectScene);
    // Spain: red band at the top of the flag.
    EXPECT_TRUE(GameHarness::pixelNear(160, 52, 0xC60B1E, 60));

    // The pointer on the next-flag arrow and a click: Japan, a white flag with a red disc.
    h.click(206, 65);
    EXPECT_EQ(select->flagText->text, "Japan Flag");
    EXPECT_TRUE(GameHarness::pixelNear(138, 53, 0xFFFFFF, 20));
    EXPECT_TRUE(GameHarness::pixelNear(160, 65, 0xBC002D, 60));
    // Keys from there: down to the next-country arrow, once round the list of three, then accept.
    h.keys({kDown, kReturn});
    EXPECT_EQ(select->levelText->text, "Nowhere");
    h.keys({kReturn, kReturn});
    EXPECT_EQ(select->levelText->text, "Flatland");
    h.keys({kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene));
    EXPECT_EQ(progress.currentLevel + progress.currentFlag * 10, 10u);

    // Briefing -> level; the leader walks right.
    h.keys({kRight, kRight, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kLevelScene, 600));
    auto* level = h.scene<SceneLevel>(kLevelScene);
    ASSERT_TRUE(h.holdUntil(
        kRight, [&] { return level->leader->x >= 120; }, 900))
        << "leader at " << level->leader->x << "," << level->leader->y << " phase " << level->phase;
    h.frames(20);
    EXPECT_EQ(GameHarness::text(level->hud->goalBox.get()), "Goal: 20%|");
    const uint64_t englishHud = regionHash(4, 12, 60, 12);
    const int32_t leaderX = level->leader->x;
    const uint32_t phase = level->phase;

    // Escape pauses; the level's clock stands still behind the menus. Pause -> options: the
    // language one step right (Spanish).
    h.keys({SDL_SCANCODE_ESCAPE});
    ASSERT_TRUE(h.runUntilRunning(kPauseScene));
    const uint32_t clockAtPause = progress.levelTimer.read();
    auto* pause = h.scene<MenuPause>(kPauseScene);
    h.keys({kDown, kDown, kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kOptionsScene));
    h.keys({kDown, kDown, kDown, kRight});
    EXPECT_EQ(progress.language, 0u) << "taken only on accept";
    h.keys({kDown, kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kPauseScene));
    EXPECT_EQ(progress.language, 1u);
    EXPECT_NE(h.dir().read("config.ini").find("SPANISH"), std::string::npos);
    EXPECT_EQ(dynamic_cast<Button*>(pause->widget(0))->stateTexts[0]->text, "Reanudar");
    EXPECT_EQ(progress.levelTimer.read(), clockAtPause);

    // "PAUSE_BACK": the level where it stood, its HUD in Spanish.
    h.keys({kDown, kReturn});
    ASSERT_TRUE(h.runUntil([&] { return h.currentNumber() == kLevelScene; }, 100));
    EXPECT_TRUE(level->leader->x == leaderX && level->phase == phase &&
                progress.levelTimer.read() < clockAtPause + 400);
    h.frames(3);
    EXPECT_EQ(GameHarness::text(level->hud->goalBox.get()), "Meta: 20%|");
    EXPECT_NE(regionHash(4, 12, 60, 12), englishHud) << "the HUD's goal line is drawn anew";

    // On to the exit: the column paints its way there and goes in.
    ASSERT_TRUE(h.holdUntil(
        kRight, [&] { return level->leader->x >= 145; }, 300));
    ASSERT_TRUE(h.runUntilRunning(kWinScene, 3000)) << "phase " << level->phase;
    GameHarness::screenshot("route_win");
    auto* win = h.scene<MenuWin>(kWinScene);
    EXPECT_EQ(GameHarness::text(win->element(7)), "Bandera: Japan|");
    EXPECT_TRUE(GameHarness::pixelNear(265, 110, 0xBC002D, 60)) << "Japan's disc";

    // Win -> main menu -> credits -> "GEN_CONTIN" -> main menu.
    h.keys({kRight, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 600));
    h.keys({kDown, kUp, kUp, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kCreditsScene));
    h.frames(120); // the credits type their lines
    h.keys({kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 600));

    // A lost level: the leader walks off a ledge and falls too far. Game over, then another try.
    h.keys({kDown, kUp, kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kSelectScene));
    h.keys({kUp, kDown, kReturn}); // no focus yet: up to the first arrow, back from the first country
    EXPECT_EQ(select->levelText->text, "Cliff");
    h.keys({kDown, kRight, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene));
    h.keys({kRight, kRight, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kLevelScene, 600));
    const int32_t leaderStart = level->leader->x;
    ASSERT_TRUE(h.holdUntil(
        kRight, [&] { return h.currentNumber() == kGameOverScene; }, 1500))
        << "leader " << level->leader->x << "," << level->leader->y;
    ASSERT_TRUE(h.runUntilRunning(kGameOverScene));
    h.frames(12); // the menu's input lock: 150 ms after the last key
    GameHarness::screenshot("route_gameover");
    EXPECT_TRUE(GameHarness::pixelNear(2, 100, 0x57577B));
    EXPECT_TRUE(GameHarness::pixelNear(159, 125, 0xC04030, 50)) << "the cross";
    h.keys({kRight, kRight, kReturn});
    ASSERT_TRUE(h.runUntil([&] { return h.currentNumber() == kLevelScene && level->entered; }, 300));
    EXPECT_LT(level->phase, static_cast<uint32_t>(SceneLevel::Playing));
    EXPECT_EQ(level->leader->x, leaderStart) << "a fresh attempt starts at the entry";
}

// A newcomer with the keyboard alone, from the first run to a won level and back to the main
// menu: Return alone where it goes forward, arrows where a choice is made, and China walked as
// its plan walks it (level clock in ms: left 522-14972, right 30035-40601, left 45821-51888).
TEST(GameRoute, AKeyboardOnlyNewcomerWinsTheFirstCountryAndComesBack) {
    HarnessOptions options;
    options.config = "";
    options.levels = HarnessOptions::Levels::Shipped;
    options.countries = "China,China Terrain.png,China Stamp.png,272,53,143,186,3,50,34,5,1500\n"
                        "Mongolia,Mongolia Terrain.png,Mongolia Stamp.png,198,55,230,157,3,51,32,6,1490\n";
    GameHarness h(options);
    const SDL_Scancode kLeft = SDL_SCANCODE_LEFT;
    ASSERT_TRUE(h.runUntilRunning(kAdviceScene));
    h.frames(10); // the advice counts its lines in before it takes a confirm
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 1200));
    h.keys({kDown, kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kHowToScene));
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kMainScene));
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kSelectScene));
    auto* select = h.scene<MenuSelectLevel>(kSelectScene);
    h.keys({kDown, kRight, kRight, kLeft, kDown, kRight});
    EXPECT_EQ(select->flagText->text, "Japan Flag");
    EXPECT_EQ(select->levelText->text, "Mongolia");
    h.keys({kLeft});
    EXPECT_EQ(select->levelText->text, "China");
    GameHarness::screenshot("keys_select");
    h.keys({kDown, kRight, kReturn}); // the buttons' row, Accept
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene));
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kLevelScene, 600));
    auto* level = h.scene<SceneLevel>(kLevelScene);
    PausableTimer& clock = h.progress().levelTimer;
    auto at = [&](uint32_t ms) {
        return [&, ms] { return level->phase >= SceneLevel::Playing && clock.read() >= ms; };
    };
    ASSERT_TRUE(h.runUntil(at(522), 600));
    ASSERT_TRUE(h.holdUntil(kLeft, at(14972), 1000));
    h.hold(kReturn); // pause; Return alone resumes
    ASSERT_TRUE(h.runUntilRunning(kPauseScene));
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntil(at(30035), 1200));
    ASSERT_TRUE(h.holdUntil(kRight, at(40601), 800));
    ASSERT_TRUE(h.runUntil(at(45821), 400));
    ASSERT_TRUE(h.holdUntil(kLeft, at(51888), 500));
    ASSERT_TRUE(h.runUntil([&] { return level->phase == SceneLevel::Won; }, 6000))
        << "phase " << level->phase;
    GameHarness::screenshot("keys_won");
    ASSERT_TRUE(h.runUntilRunning(kWinScene, 600));
    h.keys({kLeft, kReturn}); // the main menu rather than another country
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 600));
}
