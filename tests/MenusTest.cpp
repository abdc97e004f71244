// The nine menus inside the real game: navigation, actions, and the places where an empty list,
// a missing picture or a scene file of the wrong shape must not hurt. The selection, the pause and
// the way back to the level are walked by the whole-game route.
#include <gtest/gtest.h>
#include <string>

#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/SceneManager.h"
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
#include "text/TextBox.h"

namespace {
// Reads a scene file given as text into `menu` with the pack's element files and the store's
// textures, replacing what its own file made.
void readScene(Menu& menu, const std::string& text) {
    PackElementFiles files;
    StoreTextureLookup textures;
    menu.parseSceneBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), files, textures);
}

std::string boxText(const GraphicElement* e) {
    const auto* box = dynamic_cast<const TextBox*>(e);
    std::string text;
    if (box)
        for (const auto& line : box->lines)
            text += line->text + "|";
    return text;
}
} // namespace

TEST(Menus, MainColumnWrapsBothWaysAndStartNeedsLevelsAndFlags) {
    GameHarness h;
    ASSERT_TRUE(h.started());
    ASSERT_TRUE(h.jumpTo(kMainScene));
    auto* main = h.scene<MenuMain>(kMainScene);
    ASSERT_NE(main, nullptr);
    EXPECT_NE(main->widget(0)->state, GUIElement::Disabled);
    EXPECT_EQ(main->levelsText->text, "Countries to paint: 3");
    EXPECT_EQ(main->flagsText->text, "Flags: 3");

    // No focus until a direction; down focuses the first button.
    EXPECT_EQ(main->focused, -1);
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(main->focused, 0);
    h.hold(SDL_SCANCODE_UP, 1);
    EXPECT_EQ(main->focused, 4) << "up from start";
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(main->focused, 0) << "down from exit";
    for (int i = 0; i < 3; ++i)
        h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(main->focused, 3);
    h.tap(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(h.runUntilRunning(kCreditsScene)) << "credits";
}

TEST(Menus, WithoutLevelsOrFlagsNothingCanBeChosenOrWrapped) {
    HarnessOptions options;
    options.levels = HarnessOptions::Levels::None;
    options.flags = false;
    GameHarness h(options);
    ASSERT_TRUE(h.started());
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
    EXPECT_EQ(select->flagIndex, 0u);
    EXPECT_EQ(select->levelIndex, 0u);
    EXPECT_EQ(select->flagText->text, "");
    EXPECT_EQ(select->switchRequested, 0u) << "accept with nothing chosen";
    h.frames(3);

    ASSERT_TRUE(h.jumpTo(kWinScene));
    EXPECT_EQ(h.scene<MenuWin>(kWinScene)->shownFlag, nullptr);
    h.frames(3);
    ASSERT_TRUE(h.jumpTo(kGameOverScene));
    EXPECT_EQ(h.scene<MenuGameOver>(kGameOverScene)->shownFlag, nullptr);
    h.frames(3);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    EXPECT_EQ(h.scene<MenuBriefing>(kBriefingScene)->thumbRect.w, 0);
    h.frames(3);
}

TEST(Menus, BriefingPlacesPictureAndThumbnailAndNeverDividesByAMissingOne) {
    // 400 x 200 in a 150 x 90 room: scale 0.375, 150 x 75, centred on (230, 60).
    const ClipRect wide = MenuBriefing::previewPlacement(400, 200, 320, 200);
    EXPECT_EQ(wide.x, 155);
    EXPECT_EQ(wide.y, 23);
    EXPECT_EQ(wide.w, 150);
    EXPECT_EQ(wide.h, 75);
    const ClipRect tall = MenuBriefing::previewPlacement(100, 300, 320, 200);
    EXPECT_EQ(tall.w, 30);
    EXPECT_EQ(tall.h, 90);
    const ClipRect none = MenuBriefing::previewPlacement(0, 0, 320, 200);
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
    EXPECT_EQ(none.w, 0);
    EXPECT_EQ(MenuBriefing::thumbSize(40, 20).w, 40);
    EXPECT_EQ(MenuBriefing::thumbSize(30, 60).h, 40);
    EXPECT_EQ(MenuBriefing::thumbSize(30, 60).w, 20);
    EXPECT_EQ(MenuBriefing::thumbSize(0, 0).h, 0);

    GameHarness h;
    ASSERT_TRUE(h.started());
    h.progress().chooseLevel(0, 0);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    auto* briefing = h.scene<MenuBriefing>(kBriefingScene);
    EXPECT_EQ(briefing->previewRect.w, 150);
    EXPECT_EQ(briefing->thumbRect.w, 20);
    EXPECT_EQ(briefing->levelNameText->text, "Flatland");
    EXPECT_EQ(boxText(briefing->element(4)), "Time: 1 min|");
    EXPECT_EQ(boxText(briefing->element(5)), "To paint: 20%|");
    EXPECT_EQ(boxText(briefing->element(6)), "To save: 50%|");
    h.frames(2);
    // The ground of the picture (rows 150-157 of the terrain) lands at y 79-82 of the screen.
    const auto ground = GameHarness::pixel(230, 80);
    EXPECT_GT(ground[0], ground[2] + 30) << int(ground[0]) << "," << int(ground[1]) << "," << int(ground[2]);

    // A level whose terrain picture is missing: size 0 x 0, no picture, no division by it.
    h.frames(2);
    h.progress().chooseLevel(1, 0);
    h.jumpTo(kMainScene);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    EXPECT_EQ(briefing->previewRect.w, 0);
    EXPECT_EQ(briefing->previewRect.h, 0);
    EXPECT_EQ(briefing->levelNameText->text, "Nowhere");
    h.frames(3);
}

TEST(Menus, NumbersGoOnlyIntoTextBoxesAtTheirPositions) {
    GameHarness h;
    ASSERT_TRUE(h.started());
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
    ASSERT_NE(exit, nullptr);
    ASSERT_NE(exit->stateTexts[0], nullptr);
    EXPECT_EQ(exit->stateTexts[0]->text, "Exit");
    h.frames(2);
    ASSERT_TRUE(h.jumpTo(kWinScene));
    EXPECT_EQ(boxText(win->element(7)), "Flag: Spain|");
    h.frames(2);
}

TEST(Menus, WinShowsTheFlagNameWithoutItsFirstFlagWord) {
    EXPECT_EQ(MenuWin::countryOfFlag("Saint Vincent and the Grenadines Flag"),
              "Saint Vincent and the Grenadines");
    EXPECT_EQ(MenuWin::countryOfFlag("Flag Island Flag Flag"), "Flag Island Flag");
    EXPECT_EQ(MenuWin::countryOfFlag("Wales"), "Wales");
}

TEST(Menus, OptionsCancelRestoresEverythingTheyOpenedWithFullscreenIncluded) {
    HarnessOptions options;
    options.config = "LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=100\nSFXVOLUME=90\n";
    GameHarness h(options);
    ASSERT_TRUE(h.started());
    AudioSystem* audio = GameWide<AudioSystem>::get();
    EXPECT_EQ(h.progress().fullscreen, 0);
    EXPECT_EQ(audio->musicVolume.load(), 100);
    ASSERT_TRUE(h.jumpTo(kOptionsScene));
    auto* opts = h.scene<MenuOptions>(kOptionsScene);
    EXPECT_EQ(opts->focused, 0) << "the options focus widget 0 as they fade in";

    // Music slider one step left: heard at once.
    h.hold(SDL_SCANCODE_DOWN, 1);
    EXPECT_EQ(opts->focused, 1);
    h.hold(SDL_SCANCODE_LEFT, 1);
    EXPECT_EQ(audio->musicVolume.load(), 92);
    // Defaults put full screen on in the record; cancel must take that back too.
    opts->setFocus(4);
    h.tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(h.progress().fullscreen, 1);
    EXPECT_EQ(audio->musicVolume.load(), 128);
    h.tap(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(audio->musicVolume.load(), 100);
    EXPECT_EQ(audio->effectVolume.load(), 90);
    EXPECT_EQ(h.progress().fullscreen, 0);
    EXPECT_EQ(h.progress().musicVolume, 100);
    // A later accept writes what was there before.
    h.runUntil([&] { return h.currentNumber() != 2; }, 100);
    ASSERT_TRUE(h.jumpTo(kOptionsScene));
    opts->focused = 6;
    opts->onAction(0);
    EXPECT_NE(h.dir().read("config.ini").find("FULLSCREEN=NO"), std::string::npos);
    EXPECT_NE(h.dir().read("config.ini").find("BGMVOLUME=100"), std::string::npos);
}

TEST(Menus, OptionsUseWidgetsZeroToThreeOnlyOfTheirOwnKind) {
    GameHarness h;
    ASSERT_TRUE(h.started());
    AudioSystem* audio = GameWide<AudioSystem>::get();
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
    h.hold(SDL_SCANCODE_DOWN, 1);
    ASSERT_EQ(opts->focused, 1);
    h.hold(SDL_SCANCODE_RIGHT, 1);
    EXPECT_EQ(opts->widget(1)->getValue(), 1) << "the selector stepped";
    EXPECT_EQ(audio->musicVolume.load(), 128) << "a selector is not the music slider";
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
    ASSERT_TRUE(h.started());
    h.progress().chooseLevel(0, 1);
    h.progress().creaturesTotal = 2;
    h.progress().creaturesSaved = 2;
    for (uint32_t language : {0u, 6u}) {
        h.progress().language = language;
        GameWide<GameTexts>::get()->changeLanguage(language);
        for (uint32_t number : {kMainScene, kSelectScene, kBriefingScene, kPauseScene, kWinScene,
                                kGameOverScene, kOptionsScene, kHowToScene, kCreditsScene}) {
            SCOPED_TRACE("scene " + std::to_string(number) + " language " + std::to_string(language));
            ASSERT_TRUE(h.jumpTo(number));
            h.frames(90); // the credits type their lines
            auto* menu = dynamic_cast<Menu*>(h.current());
            ASSERT_NE(menu, nullptr);
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
