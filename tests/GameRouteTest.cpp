// The whole game in process, the way a player goes through it: start, main menu, a flag and a
// country, the briefing, the level, the pause and the options (another language), back to the
// level where it stood, the win screen; the credits; a lost level, the game-over screen and a
// restart. Keys and the pointer come through the input source, Return and Escape as events, and
// every step is checked by the current scene and by pixels of the game screen.
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

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
using Pixel = std::array<uint8_t, 4>;

bool near(const Pixel& p, uint32_t rgb, int tolerance = 8) {
    const int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
    return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
           std::abs(p[2] - b) <= tolerance;
}

std::string describe(const Pixel& p) {
    return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
}

// A cheap fingerprint of a rectangle of the game screen.
uint64_t regionHash(int x0, int y0, int w, int h) {
    uint64_t hash = 1469598103934665603ull;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            for (uint8_t c : GameHarness::pixel(x, y))
                hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

std::string boxText(const TextBox& box) {
    std::string text;
    for (const auto& line : box.lines)
        text += line->text;
    return text;
}

// Walks the leader with a held key until `done` or the limit; the key is released after.
bool walkUntil(GameHarness& h, SDL_Scancode key, const std::function<bool()>& done, int limit) {
    h.input().keys[key] = 1;
    const bool reached = h.runUntil(done, limit);
    h.input().keys[key] = 0;
    return reached;
}
} // namespace

TEST(GameRoute, APlayerGoesFromTheMainMenuThroughALevelAndBack) {
    GameHarness h;
    ASSERT_TRUE(h.started());
    ProgressRecord& progress = h.progress();

    // Start, as a later run: the two logos lead to the main menu.
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 800)) << "scene " << h.currentNumber();
    GameHarness::screenshot("route_main");
    EXPECT_TRUE(near(GameHarness::pixel(2, 100), 0x2D2D7B)) << describe(GameHarness::pixel(2, 100));
    // The start button's slate body, and the box under the counts.
    EXPECT_TRUE(near(GameHarness::pixel(110, 63), 0x476580)) << describe(GameHarness::pixel(110, 63));
    auto* main = h.scene<MenuMain>(kMainScene);
    EXPECT_EQ(main->focused, -1) << "no focus until a direction or a hover";

    // Main menu -> level selection.
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(main->focused, 0);
    EXPECT_TRUE(near(GameHarness::pixel(110, 64), 0xDE5D3A))
        << "focused look " << describe(GameHarness::pixel(110, 64));
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kSelectScene)) << "scene " << h.currentNumber();
    auto* select = h.scene<MenuSelectLevel>(kSelectScene);
    // Spain: red band at the top of the flag, yellow in the middle.
    EXPECT_GT(GameHarness::pixel(160, 52)[0], 150);
    EXPECT_LT(GameHarness::pixel(160, 52)[1], 80);

    // The pointer on the next-flag arrow and a click: Japan, a white flag with a red disc.
    h.click(206, 65);
    EXPECT_EQ(select->flagText->text, "Japan Flag");
    EXPECT_EQ(progress.currentFlag, 1u);
    EXPECT_TRUE(near(GameHarness::pixel(138, 53), 0xFFFFFF, 20)) << describe(GameHarness::pixel(138, 53));
    EXPECT_GT(GameHarness::pixel(160, 65)[0], 150);
    EXPECT_LT(GameHarness::pixel(160, 65)[1], 100);
    // Keys from there: down to the next-country arrow, once round the list of three, then accept.
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(select->focused, 3);
    h.tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(select->levelText->text, "Nowhere");
    h.tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(select->levelText->text, "Cliff");
    h.tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(select->levelText->text, "Flatland");
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(select->focused, 5);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene)) << "scene " << h.currentNumber();
    GameHarness::screenshot("route_briefing");
    EXPECT_EQ(progress.currentLevel, 0u);
    EXPECT_EQ(progress.currentFlag, 1u);
    EXPECT_GT(GameHarness::pixel(230, 80)[0], GameHarness::pixel(230, 80)[2] + 30) << "the country's ground";

    // Briefing -> level.
    h.hold(SDL_SCANCODE_RIGHT, 1);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kLevelScene, 600)) << "scene " << h.currentNumber();
    auto* level = h.scene<SceneLevel>(kLevelScene);
    ASSERT_NE(level->leader, nullptr);
    ASSERT_TRUE(walkUntil(
        h, SDL_SCANCODE_RIGHT, [&] { return level->leader->x >= 120; }, 900))
        << "leader at " << level->leader->x << "," << level->leader->y << " state " << level->leader->state
        << " phase " << level->phase << " level " << progress.currentLevel;
    h.frames(20);
    EXPECT_EQ(boxText(*level->hud->goalBox), "Goal: 20%");
    const uint64_t englishHud = regionHash(4, 12, 60, 12);
    const int32_t leaderX = level->leader->x;
    const uint32_t phase = level->phase;

    // Escape pauses; the level's clock stands still behind the menus.
    h.tap(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(h.runUntilRunning(kPauseScene)) << "scene " << h.currentNumber();
    const uint32_t clockAtPause = progress.levelTimer.read();
    auto* pause = h.scene<MenuPause>(kPauseScene);
    for (int i = 0; i < 3; ++i)
        h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(pause->focused, 2);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kOptionsScene)) << "scene " << h.currentNumber();
    GameHarness::screenshot("route_options");
    // Options: down to the language, one step right (Spanish), down to accept.
    for (int i = 0; i < 3; ++i)
        h.hold(SDL_SCANCODE_DOWN, 1);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    EXPECT_EQ(progress.language, 0u) << "nothing is stored before accept";
    h.hold(SDL_SCANCODE_DOWN, 1);
    h.hold(SDL_SCANCODE_DOWN, 1);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kPauseScene)) << "scene " << h.currentNumber();
    EXPECT_EQ(progress.language, 1u);
    EXPECT_NE(h.dir().read("config.ini").find("SPANISH"), std::string::npos);
    auto* resume = dynamic_cast<Button*>(pause->widget(0));
    ASSERT_NE(resume, nullptr);
    EXPECT_EQ(resume->stateTexts[0]->text, "Reanudar");
    EXPECT_EQ(progress.levelTimer.read(), clockAtPause);

    // "PAUSE_BACK": the level where it stood, its HUD in Spanish.
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(pause->focused, 0);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntil([&] { return h.currentNumber() == kLevelScene; }, 100));
    EXPECT_EQ(h.scenes().previousScene, kPauseScene);
    EXPECT_EQ(level->leader->x, leaderX);
    EXPECT_EQ(level->phase, phase);
    EXPECT_GE(progress.levelTimer.read(), clockAtPause);
    EXPECT_LT(progress.levelTimer.read(), clockAtPause + 400);
    h.frames(3);
    EXPECT_EQ(boxText(*level->hud->goalBox), "Meta: 20%");
    EXPECT_NE(regionHash(4, 12, 60, 12), englishHud) << "the HUD's goal line is drawn anew";
    GameHarness::screenshot("route_level_spanish");

    // On to the exit: the column paints its way there and goes in.
    ASSERT_TRUE(walkUntil(
        h, SDL_SCANCODE_RIGHT, [&] { return level->leader->x >= 145; }, 300));
    ASSERT_TRUE(h.runUntilRunning(kWinScene, 3000))
        << "scene " << h.currentNumber() << " phase " << level->phase << " saved " << progress.creaturesSaved;
    GameHarness::screenshot("route_win");
    auto* win = h.scene<MenuWin>(kWinScene);
    auto* flagBox = dynamic_cast<TextBox*>(win->element(7));
    ASSERT_NE(flagBox, nullptr);
    EXPECT_EQ(boxText(*flagBox), "Bandera: Japan");
    EXPECT_GT(GameHarness::pixel(265, 110)[0], 150) << "Japan's disc";
    EXPECT_LT(GameHarness::pixel(265, 110)[1], 100);

    // Win -> main menu -> credits -> "GEN_CONTIN" -> main menu.
    h.hold(SDL_SCANCODE_RIGHT, 1);
    EXPECT_EQ(win->focused, 0);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 600)) << "scene " << h.currentNumber();
    h.hold(SDL_SCANCODE_DOWN, 1);
    h.hold(SDL_SCANCODE_UP, 1);
    h.hold(SDL_SCANCODE_UP, 1);
    EXPECT_EQ(main->focused, 3);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kCreditsScene)) << "scene " << h.currentNumber();
    h.frames(120); // the credits type their lines
    GameHarness::screenshot("route_credits");
    h.hold(SDL_SCANCODE_DOWN, 1);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kMainScene, 600)) << "scene " << h.currentNumber();

    // A lost level: the leader walks off a ledge and falls too far. Game over, then another try.
    h.hold(SDL_SCANCODE_DOWN, 1);
    h.hold(SDL_SCANCODE_UP, 1);
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(main->focused, 0);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kSelectScene)) << "scene " << h.currentNumber();
    h.hold(SDL_SCANCODE_UP, 1); // no focus yet: the first arrow
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(select->focused, 2);
    h.tap(SDL_SCANCODE_RETURN); // back round from the first country to the last
    EXPECT_EQ(select->levelText->text, "Cliff");
    h.hold(SDL_SCANCODE_DOWN, 1);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    EXPECT_EQ(select->focused, 5);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene)) << "scene " << h.currentNumber();
    h.hold(SDL_SCANCODE_RIGHT, 1);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kLevelScene, 600)) << "scene " << h.currentNumber();
    const int32_t leaderStart = level->leader->x;
    h.input().keys[SDL_SCANCODE_RIGHT] = 1;
    ASSERT_TRUE(h.runUntilRunning(kGameOverScene, 1500))
        << "scene " << h.currentNumber() << " leader " << level->leader->x << "," << level->leader->y;
    h.input().keys[SDL_SCANCODE_RIGHT] = 0;
    EXPECT_EQ(progress.currentLevel, 2u);
    h.frames(12); // the menu's input lock: 150 ms after the last key
    GameHarness::screenshot("route_gameover");
    EXPECT_TRUE(near(GameHarness::pixel(2, 100), 0x57577B)) << describe(GameHarness::pixel(2, 100));
    const Pixel cross = GameHarness::pixel(159, 125);
    EXPECT_TRUE(cross[0] > 150 && cross[1] < 110 && cross[2] < 90) << "the cross " << describe(cross);
    auto* gameOver = h.scene<Menu>(kGameOverScene);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    EXPECT_EQ(gameOver->focused, 1);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntil([&] { return h.currentNumber() == kLevelScene && level->entered; }, 300))
        << "scene " << h.currentNumber() << " entered " << int(h.current()->entered) << " state "
        << h.current()->state;
    EXPECT_LT(level->phase, static_cast<uint32_t>(SceneLevel::Playing));
    EXPECT_EQ(level->leader->x, leaderStart) << "a fresh attempt starts at the entry";
    EXPECT_EQ(progress.creaturesSaved, 0);
}
