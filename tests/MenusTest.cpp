// The menus in the real game: actions, and where an empty list, a missing picture or a misshapen
// scene file must not hurt. The whole-game route walks the menus' ordinary ways.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

#include "Fakes.h"
#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "gui/Button.h"
#include "menus/MenuBriefing.h"
#include "menus/MenuGameOver.h"
#include "menus/MenuMain.h"
#include "menus/MenuOptions.h"
#include "menus/MenuSelectLevel.h"
#include "menus/MenuWin.h"
#include "persist/ProgressRecord.h"
#include "text/GameTexts.h"

namespace {
// A scene file given as text, read into `menu` with the pack's element files and the store's
// textures in place of what its own file made.
void readScene(Menu& menu, const std::string& text) {
    PackElementFiles files;
    StoreTextureLookup textures;
    menu.parseSceneBytes(bytesOf(text), text.size(), files, textures);
}
} // namespace

TEST(Menus, MainCountsTheLevelsAndFlagsStartNeeds) {
    GameHarness h;
    ASSERT_TRUE(h.jumpTo(kMainScene));
    auto* main = h.scene<MenuMain>(kMainScene);
    EXPECT_NE(main->widget(0)->state, GUIElement::Disabled);
    EXPECT_EQ(main->levelsText->text + " " + main->flagsText->text, "Countries to paint: 2 Flags: 3");
}

TEST(Menus, WithoutLevelsOrFlagsNothingCanBeChosenOrShown) {
    HarnessOptions options;
    options.levels = HarnessOptions::Levels::None;
    options.flags = false;
    GameHarness h(options);
    ASSERT_TRUE(h.jumpTo(kMainScene));
    auto* main = h.scene<MenuMain>(kMainScene);
    EXPECT_EQ(main->widget(0)->state, GUIElement::Disabled);
    EXPECT_EQ(main->levelsText->key + " " + main->flagsText->key + std::to_string(main->levelsText->colour),
              "LOADED_NOLEVELS LOADED_NOFLAGS2");
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
    EXPECT_TRUE(select->flagIndex + select->levelIndex + select->switchRequested == 0 &&
                select->flagText->text.empty())
        << "accept with nothing chosen";
    h.frames(3);
    for (uint32_t number : {kWinScene, kGameOverScene, kBriefingScene}) {
        ASSERT_TRUE(h.jumpTo(number));
        h.frames(3);
    }
    EXPECT_TRUE(!h.scene<MenuWin>(kWinScene)->shownFlag &&
                !h.scene<MenuGameOver>(kGameOverScene)->shownFlag &&
                h.scene<MenuBriefing>(kBriefingScene)->thumbRect.w == 0);
}

TEST(Menus, BriefingPlacesPictureAndThumbnailAndNeverDividesByAMissingOne) {
    // 400 x 200 in a 150 x 90 room: scale 0.375, 150 x 75, centred on (230, 60); the thumbnail's short
    // side is 20.
    for (const auto& [w, h, preview, thumb] :
         {std::tuple{400, 200, Rect4{155, 23, 150, 75}, Rect4{0, 0, 40, 20}},
          {100, 300, Rect4{215, 15, 30, 90}, Rect4{0, 0, 20, 60}},
          {0, 0, Rect4{}, Rect4{}}})
        EXPECT_EQ(std::make_pair(rectOf(MenuBriefing::previewPlacement(w, h, 320, 200)),
                                 rectOf(MenuBriefing::thumbSize(w, h))),
                  std::make_pair(preview, thumb))
            << w << " x " << h;
    // A one-pixel coast on clear air survives a shrink to a quarter, where mipmaps fade it to a tint;
    // where coast and ledge share a block the ledge shows, being brighter.
    ImageData terrain(40, 30, 4, std::make_unique<uint8_t[]>(40 * 30 * 4));
    ImageData shrunk(10, 10, 4, std::make_unique<uint8_t[]>(10 * 10 * 4));
    for (int x = 0; x < 40; ++x)
        terrain.setPixel(x, 13, 0xFF806500);
    terrain.setPixel(21, 14, 0xFF4E9E79);
    terrain.shrinkInto(shrunk, ImageData::Shrink::KeepLines);
    EXPECT_EQ((std::vector{shrunk.pixel(0, 4), shrunk.pixel(5, 4), shrunk.pixel(9, 4), shrunk.pixel(5, 3),
                           shrunk.pixel(5, 5)}),
              (std::vector<uint32_t>{0xFF806500, 0xFF4E9E79, 0xFF806500, 0, 0}));
    ImageData pair(2, 1, 4, std::unique_ptr<uint8_t[]>(new uint8_t[8]{255, 0, 0, 255, 0, 0, 255, 0}));
    ImageData mean(1, 1, 4, std::make_unique<uint8_t[]>(4));
    pair.shrinkInto(mean, ImageData::Shrink::Average);
    EXPECT_EQ(mean.pixel(0, 0), 0x7F0000FFu) << "a flag's mean: a clear pixel lends no colour";

    GameHarness h;
    h.progress().chooseLevel(0, 0);
    ASSERT_TRUE(h.jumpTo(kBriefingScene));
    auto* briefing = h.scene<MenuBriefing>(kBriefingScene);
    EXPECT_EQ(std::make_tuple(briefing->previewRect.w, briefing->thumbRect.w, briefing->levelNameText->text),
              std::make_tuple(150, 20, std::string("Flatland")));
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
    EXPECT_EQ(std::make_pair(rectOf(briefing->previewRect), briefing->levelNameText->text),
              std::make_pair(Rect4{}, std::string("Nowhere")));
    h.frames(3);
}

TEST(Menus, NumbersGoOnlyIntoTextBoxesAtTheirPositionsAndTheWinShowsTheCountry) {
    EXPECT_EQ(MenuWin::countryOfFlag("Saint Vincent and the Grenadines Flag") + "," +
                  MenuWin::countryOfFlag("Flag Island Flag Flag") + "," + MenuWin::countryOfFlag("Wales"),
              "Saint Vincent and the Grenadines,Flag Island Flag,Wales");
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
    EXPECT_EQ(std::tuple(h.progress().fullscreen, audio->musicVolume.load()), std::tuple(1, 128));
    h.keys({SDL_SCANCODE_ESCAPE});
    EXPECT_EQ(std::make_tuple(audio->musicVolume.load(), audio->effectVolume.load(), h.progress().fullscreen,
                              h.progress().musicVolume),
              std::make_tuple(100, 90, 0, 100));
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
    EXPECT_EQ(
        std::make_tuple(GameWide<AudioSystem>::get()->musicVolume.load(), opts->musicVolume, opts->language),
        std::make_tuple(128, 128, 0u))
        << "a selector is not the music slider";
    opts->focused = 6;
    opts->onAction(0);
    EXPECT_EQ(h.progress().fullscreen, 0) << "a button is not the full-screen switch";
}
