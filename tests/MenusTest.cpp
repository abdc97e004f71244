// The nine menus inside the real game: navigation, actions, and the places where an empty list,
// a missing picture or a scene file of the wrong shape must not hurt. The selection, the pause and
// the way back to the level are walked by the whole-game route.
#include <gtest/gtest.h>
#include <string>

#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "gui/Button.h"
#include "gui/ElementServices.h"
#include "menus/MenuBriefing.h"
#include "menus/MenuGameOver.h"
#include "menus/MenuMain.h"
#include "menus/MenuOptions.h"
#include "menus/MenuSelectLevel.h"
#include "menus/MenuWin.h"
#include "persist/ProgressRecord.h"
#include "text/GameTexts.h"

namespace {
// Reads a scene file given as text into `menu` with the pack's element files and the store's
// textures, replacing what its own file made.
void readScene(Menu& menu, const std::string& text) {
    PackElementFiles files;
    StoreTextureLookup textures;
    menu.parseSceneBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), files, textures);
}

std::array<int, 4> box(const ClipRect& r) {
    return {r.x, r.y, r.w, r.h};
}
} // namespace

TEST(Menus, MainColumnWrapsBothWaysAndStartNeedsLevelsAndFlags) {
    GameHarness h;
    ASSERT_TRUE(h.jumpTo(kMainScene));
    auto* main = h.scene<MenuMain>(kMainScene);
    EXPECT_NE(main->widget(0)->state, GUIElement::Disabled);
    EXPECT_EQ(main->levelsText->text, "Countries to paint: 3");
    EXPECT_EQ(main->flagsText->text, "Flags: 3");
    // No focus until a direction; down focuses the first button, and the column wraps.
    EXPECT_EQ(main->focused, -1);
    for (auto [key, focused] :
         {std::pair{SDL_SCANCODE_DOWN, 0}, {SDL_SCANCODE_UP, 4}, {SDL_SCANCODE_DOWN, 0}}) {
        h.hold(key);
        EXPECT_EQ(main->focused, focused);
    }
    h.keys({SDL_SCANCODE_DOWN, SDL_SCANCODE_RETURN}); // the second button; the route takes the fourth
    ASSERT_TRUE(h.runUntilRunning(kHowToScene));
}

TEST(Menus, WithoutLevelsOrFlagsNothingCanBeChosenOrShown) {
    HarnessOptions options;
    options.levels = HarnessOptions::Levels::None;
    options.flags = false;
    GameHarness h(options);
    ASSERT_TRUE(h.jumpTo(kMainScene));
    auto* main = h.scene<MenuMain>(kMainScene);
    EXPECT_EQ(main->widget(0)->state, GUIElement::Disabled);
    EXPECT_EQ(main->levelsText->key, "LOADED_NOLEVELS");
    EXPECT_EQ(main->flagsText->key, "LOADED_NOFLAGS");
    EXPECT_EQ(main->levelsText->colour, 2);
    // A press that reaches the start action anyway starts nothing.
    main->focused = 0;
    main->onAction(0);
    EXPECT_EQ(main->switchRequested, 0u);
    ASSERT_TRUE(h.jumpTo(kSelectScene));
    auto* select = h.scene<MenuSelectLevel>(kSelectScene);
    for (int16_t widget : {0, 1, 2, 3, 5}) {
        select->focused = widget;
        select->onAction(0);
    }
    EXPECT_EQ(select->flagIndex + select->levelIndex, 0u);
    EXPECT_EQ(select->flagText->text, "");
    EXPECT_EQ(select->switchRequested, 0u) << "accept with nothing chosen";
    h.frames(3);
    for (uint32_t number : {kWinScene, kGameOverScene, kBriefingScene}) {
        ASSERT_TRUE(h.jumpTo(number));
        h.frames(3);
    }
    EXPECT_EQ(h.scene<MenuWin>(kWinScene)->shownFlag, nullptr);
    EXPECT_EQ(h.scene<MenuGameOver>(kGameOverScene)->shownFlag, nullptr);
    EXPECT_EQ(h.scene<MenuBriefing>(kBriefingScene)->thumbRect.w, 0);
}

TEST(Menus, BriefingPlacesPictureAndThumbnailAndNeverDividesByAMissingOne) {
    // 400 x 200 in a 150 x 90 room: scale 0.375, 150 x 75, centred on (230, 60).
    EXPECT_EQ(box(MenuBriefing::previewPlacement(400, 200, 320, 200)), (std::array{155, 23, 150, 75}));
    EXPECT_EQ(box(MenuBriefing::previewPlacement(100, 300, 320, 200)), (std::array{215, 15, 30, 90}));
    EXPECT_EQ(box(MenuBriefing::previewPlacement(0, 0, 320, 200)), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(box(MenuBriefing::thumbSize(40, 20)), (std::array{0, 0, 40, 20}));
    EXPECT_EQ(box(MenuBriefing::thumbSize(30, 60)), (std::array{0, 0, 20, 40}));
    EXPECT_EQ(box(MenuBriefing::thumbSize(0, 0)), (std::array{0, 0, 0, 0}));

    GameHarness h;
    h.progress().chooseLevel(0, 0);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    auto* briefing = h.scene<MenuBriefing>(kBriefingScene);
    EXPECT_EQ(briefing->previewRect.w, 150);
    EXPECT_EQ(briefing->thumbRect.w, 20);
    EXPECT_EQ(briefing->levelNameText->text, "Flatland");
    EXPECT_EQ(GameHarness::text(briefing->element(4)) + GameHarness::text(briefing->element(5)) +
                  GameHarness::text(briefing->element(6)),
              "Time: 1 min|To paint: 20%|To save: 50%|");
    h.frames(2);
    // The ground of the picture (rows 150-157 of the terrain) lands at y 79-82 of the screen.
    const auto ground = GameHarness::pixel(230, 80);
    EXPECT_GT(ground[0], ground[2] + 30) << int(ground[0]) << "," << int(ground[1]) << "," << int(ground[2]);
    // A level whose terrain picture is missing: size 0 x 0, no picture, no division by it.
    h.progress().chooseLevel(1, 0);
    h.jumpTo(kMainScene);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    EXPECT_EQ(box(briefing->previewRect), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(briefing->levelNameText->text, "Nowhere");
    h.frames(3);
}

TEST(Menus, NumbersGoOnlyIntoTextBoxesAtTheirPositionsAndTheWinShowsTheCountry) {
    EXPECT_EQ(MenuWin::countryOfFlag("Saint Vincent and the Grenadines Flag"),
              "Saint Vincent and the Grenadines");
    EXPECT_EQ(MenuWin::countryOfFlag("Flag Island Flag Flag"), "Flag Island Flag");
    EXPECT_EQ(MenuWin::countryOfFlag("Wales"), "Wales");
    GameHarness h;
    h.progress().chooseLevel(0, 0);
    auto* briefing = h.scene<MenuBriefing>(kBriefingScene);
    auto* win = h.scene<MenuWin>(kWinScene);
    // Position 4 a button, 5 an unknown line, 6 a picture: nothing is written into them.
    const std::string shape = "NO_IMAGE\nNO\n8\n"
                              "GUI_ELEMENT\tAssets/gui/gen_back.btn\t36,172\n"
                              "GUI_ELEMENT\tAssets/gui/gen_accept.btn\t164,172\n"
                              "TEXT\tTITLE_BRIEFING\t2\t16,6\t0\n"
                              "TEXT\tTITLE_WIN\t2\t16,30\t0\n"
                              "GUI_ELEMENT\tAssets/gui/opt_exit.btn\t20,60\n"
                              "NOTHING\there\n"
                              "IMAGE\tAssets/graphics/rule.png\t0,0,136,3\t16,46\n"
                              "TEXT\tWIN_FLAG\t1\t16,82\t0\n";
    readScene(*briefing, shape);
    readScene(*win, shape);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    EXPECT_EQ(briefing->element(5), nullptr);
    auto* exit = dynamic_cast<Button*>(briefing->element(4));
    ASSERT_TRUE(exit && exit->stateTexts[0]);
    EXPECT_EQ(exit->stateTexts[0]->text, "Exit");
    h.frames(2);
    ASSERT_TRUE(h.jumpTo(kWinScene));
    EXPECT_EQ(GameHarness::text(win->element(7)), "Flag: Spain|");
    h.frames(2);
}

TEST(Menus, OptionsCancelRestoresEverythingTheyOpenedWithFullscreenIncluded) {
    HarnessOptions options;
    options.config = "LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=100\nSFXVOLUME=90\n";
    GameHarness h(options);
    AudioSystem* audio = GameWide<AudioSystem>::get();
    EXPECT_EQ(audio->musicVolume.load(), 100);
    ASSERT_TRUE(h.jumpTo(kOptionsScene));
    auto* opts = h.scene<MenuOptions>(kOptionsScene);
    EXPECT_EQ(opts->focused, 0) << "the options focus widget 0 as they fade in";
    // Music slider one step left: heard at once. Defaults put full screen on in the record.
    h.keys({SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT});
    EXPECT_EQ(audio->musicVolume.load(), 92);
    opts->setFocus(4);
    h.keys({SDL_SCANCODE_RETURN});
    EXPECT_EQ(h.progress().fullscreen, 1);
    EXPECT_EQ(audio->musicVolume.load(), 128);
    h.keys({SDL_SCANCODE_ESCAPE});
    EXPECT_EQ(audio->musicVolume.load(), 100);
    EXPECT_EQ(audio->effectVolume.load(), 90);
    EXPECT_EQ(h.progress().fullscreen, 0);
    EXPECT_EQ(h.progress().musicVolume, 100);
    // A later accept writes what was there before.
    h.runUntil([&] { return h.currentNumber() != kOptionsScene; }, 100);
    ASSERT_TRUE(h.jumpTo(kOptionsScene));
    opts->focused = 6;
    opts->onAction(0);
    for (const char* line : {"FULLSCREEN=NO", "BGMVOLUME=100"})
        EXPECT_NE(h.dir().read("config.ini").find(line), std::string::npos) << line;
}

TEST(Menus, OptionsUseWidgetsZeroToThreeOnlyOfTheirOwnKind) {
    GameHarness h;
    auto* opts = h.scene<MenuOptions>(kOptionsScene);
    // The language selector where the music slider belongs, and a button where the switch is.
    readScene(*opts, "options.png\n0\n4\n"
                     "GUI_ELEMENT\tAssets/gui/gen_back.btn\t172,36\n"
                     "GUI_ELEMENT\tAssets/gui/language.sel\t172,62\n"
                     "GUI_ELEMENT\tAssets/gui/effects.sli\t172,88\n"
                     "GUI_ELEMENT\tAssets/gui/music.sli\t172,114\n");
    opts->navigation = {{-1, 1, -1, -1}, {0, 2, -1, -1}, {1, 3, -1, -1}, {2, -1, -1, -1}};
    opts->widget(0)->setValue(1);
    ASSERT_TRUE(h.jumpTo(kOptionsScene));
    h.keys({SDL_SCANCODE_DOWN, SDL_SCANCODE_RIGHT});
    EXPECT_EQ(opts->widget(1)->getValue(), 1) << "the selector stepped";
    EXPECT_EQ(GameWide<AudioSystem>::get()->musicVolume.load(), 128) << "a selector is not the music slider";
    EXPECT_EQ(opts->musicVolume, 128);
    EXPECT_EQ(opts->language, 0u);
    opts->focused = 6;
    opts->onAction(0);
    EXPECT_EQ(h.progress().fullscreen, 0) << "a button is not the full-screen switch";
}

// Every menu in English and in Japanese: each text button shows its label (cream glyph pixels
// inside the button), so a language whose glyphs are missing or whose texts are not re-keyed on
// entry is caught. With VOV_SCREENSHOT_DIR set, each screen is also written for a person to see.
TEST(Menus, EveryMenuShowsItsButtonLabelsInEnglishAndJapanese) {
    GameHarness h;
    h.progress().chooseLevel(0, 1);
    h.progress().creaturesTotal = h.progress().creaturesSaved = 2;
    for (uint32_t language : {0u, 6u}) {
        h.progress().language = language;
        GameWide<GameTexts>::get()->changeLanguage(language);
        for (uint32_t number : {kMainScene, kSelectScene, kBriefingScene, kPauseScene, kWinScene,
                                kGameOverScene, kOptionsScene, kHowToScene, kCreditsScene}) {
            SCOPED_TRACE("scene " + std::to_string(number) + " language " + std::to_string(language));
            ASSERT_TRUE(h.jumpTo(number));
            h.frames(90); // the credits type their lines
            auto* menu = dynamic_cast<Menu*>(h.current());
            for (size_t i = 0; i < menu->widgets.size(); ++i) {
                auto* button = dynamic_cast<Button*>(menu->widgets[i]);
                if (!button || !button->stateTexts[0]) continue;
                int cream = 0;
                for (int y = button->y; y < button->y + button->source.h; ++y)
                    for (int x = button->x; x < button->x + button->source.w; ++x) {
                        const auto p = GameHarness::pixel(x, y);
                        cream += p[0] > 235 && p[1] > 225 && p[2] > 210;
                    }
                EXPECT_GT(cream, 15) << "widget " << i << " shows no label";
            }
            GameHarness::screenshot("menu_" + std::to_string(number) + (language ? "_jp" : "_en"));
        }
    }
}
