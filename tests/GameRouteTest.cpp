// The whole game in process, the way a newcomer goes through it with the keyboard alone.
#include <gtest/gtest.h>
#include <tuple>

#include "GameHarness.h"
#include "game/LevelHud.h"
#include "game/SceneLevel.h"
#include "menus/MenuSelectLevel.h"
#include "persist/ProgressRecord.h"
#include "text/TextBox.h"

namespace {
constexpr SDL_Scancode kDown = SDL_SCANCODE_DOWN, kLeft = SDL_SCANCODE_LEFT, kRight = SDL_SCANCODE_RIGHT,
                       kReturn = SDL_SCANCODE_RETURN;
} // namespace

// Keyboard alone, first run to a kept win and on: Return to go forward, arrows to choose, and China
// walked as its plan walks it (level clock in ms: left 522-14972, right 30035-40601, left 45821-51888).
TEST(GameRoute, AKeyboardOnlyNewcomerWinsTheFirstCountryAndGoesOn) {
    HarnessOptions options;
    options.config = "";
    options.levels = HarnessOptions::Levels::Shipped;
    options.countries = "China,China Terrain.png,China Stamp.png,272,53,143,186,3,50,34,5,1500\n"
                        "Mongolia,Mongolia Terrain.png,Mongolia Stamp.png,198,55,230,157,3,51,32,6,1490\n";
    GameHarness h(options);
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
    EXPECT_EQ(select->flagText->text + " " + select->levelText->text, "Japan Flag Mongolia");
    h.keys({kLeft});
    EXPECT_EQ(select->levelText->text, "China");
    h.keys({kDown, kRight, kReturn}); // the buttons' row, Accept
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene));
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kLevelScene, 600));
    auto* level = h.scene<SceneLevel>(kLevelScene);
    PausableTimer& clock = h.progress().levelTimer;
    auto at = [&](uint32_t ms) {
        return [&, ms] { return level->phase >= SceneLevel::Playing && clock.read() >= ms; };
    };
    ASSERT_TRUE(h.runUntil(at(522), 600) && h.holdUntil(kLeft, at(14972), 1000));
    // Pause, the options (Spanish, accepted), and Return alone resumes: the HUD speaks Spanish.
    h.hold(kReturn);
    ASSERT_TRUE(h.runUntilRunning(kPauseScene));
    h.keys({kDown, kDown, kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kOptionsScene));
    h.keys({kDown, kDown, kDown, kRight, kDown, kDown, kReturn});
    ASSERT_TRUE(h.runUntilRunning(kPauseScene));
    EXPECT_NE(h.dir().read("config.ini").find("SPANISH"), std::string::npos);
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntil(at(30035), 1200) && h.holdUntil(kRight, at(40601), 800));
    EXPECT_EQ(GameHarness::text(level->hud->goalBox.get()), "Meta: 34%|");
    ASSERT_TRUE(h.runUntil(at(45821), 400) && h.holdUntil(kLeft, at(51888), 500));
    ASSERT_TRUE(h.runUntil([&] { return level->phase == SceneLevel::Won; }, 6000))
        << "phase " << level->phase;
    ASSERT_TRUE(h.runUntilRunning(kWinScene, 600));
    // The win is kept; Return alone goes on to the next unpainted country, whose back leads to the
    // selection.
    const std::string saved = h.dir().read("Savedata/progress.txt");
    const std::string head = "VOV ARUZEZUDOR PROGRESS 1\nChina,Japan Flag,";
    ASSERT_TRUE(saved.starts_with(head)) << saved;
    EXPECT_NEAR(std::stoi(saved.substr(head.size())), 120000, 10000) << saved;
    h.keys({kReturn});
    ASSERT_TRUE(h.runUntilRunning(kBriefingScene));
    EXPECT_EQ(std::tuple(h.progress().currentLevel, h.scenes().previousScene), std::tuple(1u, kSelectScene));
}
