// Menus and text drawn for real, read back pixel by pixel: every widget in every look, the button
// tips' icons from both rows of their sheet, their places and language; boxes in the pack's fonts.
#include <algorithm>
#include <functional>
#include <glad/gl.h>
#include <gtest/gtest.h>
#include <tuple>

#include "Fakes.h"
#include "GlFixture.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/Scene.h"
#include "gui/ElementServices.h"
#include "gui/GUIElement.h"
#include "menus/Menu.h"
#include "render/Renderer.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
const auto rgb = [](const std::array<uint8_t, 4>& p) {
    return static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
};

// Palette colours the widget pictures are drawn in.
constexpr uint32_t kSlate = 0x476580, kVermilion = 0xde5d3a, kMaroon = 0x6e2630, kStone = 0x76625e;
constexpr uint32_t kButter = 0xfce38c, kAmber = 0xf7bd4f, kOrange = 0xf08d45, kPebble = 0x9a8780;
constexpr uint32_t kSky = 0x7ea6b0, kNight = 0x2b1f24, kLeaf = 0x657d3a, kRed = 0xb23a35;
constexpr uint32_t kMist = 0xe8e0d6, kInk = 0x1a1216, kClear = 0x102030, kLabel = 0xfbf3e4;

struct Seen {
    int count = 0, minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
};

class MenuGL : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GlFixture::get().ready());
        GameWide<GameTexts>::set(&texts);
        texts.loadLanguage(0, "Assets/");
        ASSERT_GE(texts.fontCount(), 6u);
        input = std::make_unique<InputState>();
        GameWide<InputState>::set(input.get());
    }
    void TearDown() override {
        GameWide<InputState>::set(nullptr);
        GameWide<GameTexts>::set(nullptr);
    }

    // Draws into the cleared game screen and reports where each colour of `colours` shows.
    static std::vector<Seen> shot(const std::function<void()>& draw, const std::vector<uint32_t>& colours) {
        Renderer::instance()->bindGameScreen();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        std::vector<uint8_t> pixels(320 * 200 * 4);
        glReadPixels(0, 0, 320, 200, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        std::vector<Seen> seen(colours.size());
        for (int i = 0; i < 320 * 200; ++i) {
            const uint8_t* p = &pixels[static_cast<size_t>(i) * 4];
            const auto it =
                std::find(colours.begin(), colours.end(), uint32_t(p[0]) << 16 | p[1] << 8 | p[2]);
            if (it == colours.end()) continue;
            Seen& s = seen[it - colours.begin()];
            s = {s.count + 1, std::min(s.minX, i % 320), std::max(s.maxX, i % 320), std::min(s.minY, i / 320),
                 std::max(s.maxY, i / 320)};
        }
        return seen;
    }
    GameTexts texts;
    std::unique_ptr<InputState> input;
};

} // namespace

TEST_F(MenuGL, EveryWidgetInEveryLookDrawsItsPicture) {
    // Element descriptions of this test only; the pictures are the game's own, from the pack.
    FakeFiles files;
    const std::string label = "PAUSE_BACK\t4,0\n";
    files.files = {
        {"Assets/gui/t.btn", "button_small.png\n64\n16\nYES\nYES\n1\n0\n" + label + label + label + label},
        {"Assets/gui/t.sel", "selector.png\n96\n20\n12\n2\nOPT_START\t4,0\nPAUSE_BACK\t4,0\n"},
        {"Assets/gui/t.sli", "slider.png\n96\n16\n4,4\n8\n0,100\n10\nNO_TEXT\n"},
        {"Assets/gui/t.swt", "switch.png\n80\n20\nYES\nNO\nNO_TEXT\n"}};
    // Rows: 4 buttons, 5 selectors, 6 sliders, 8 switches.
    std::string scene = "NO_IMAGE\nNO\n23\n";
    for (const auto& [file, count, left, top, dx, dy, perRow] : {std::tuple{"t.btn", 4, 4, 4, 78, 0, 4},
                                                                 {"t.sel", 5, 4, 26, 104, 24, 3},
                                                                 {"t.sli", 6, 4, 76, 104, 20, 3},
                                                                 {"t.swt", 8, 0, 120, 80, 24, 4}})
        for (int i = 0; i < count; ++i)
            scene += "GUI_ELEMENT\tAssets/gui/" + std::string(file) + "\t" +
                     std::to_string(left + dx * (i % perRow)) + "," +
                     std::to_string(top + dy * (i / perRow)) + "\n";
    Menu menu;
    StoreTextureLookup textures;
    menu.parseSceneBytes(bytesOf(scene), scene.size(), files, textures);
    ASSERT_EQ(menu.widgets.size(), 23u);
    for (GUIElement* w : menu.widgets)
        ASSERT_GE(w->texture, 0) << w->imagePath;

    // Looks: buttons 0-3; selectors 0, 1, 3, 4, 5; sliders 0-5 at 50 (set after the look, which a
    // keyboard press changes); switches off then on in looks 0-3.
    const char looks[] = "0123"
                         "01345"
                         "012345"
                         "01230123";
    for (int i = 0; i < 23; ++i) {
        if (i >= 15) menu.widget(i)->setValue(i >= 19);
        menu.widget(i)->setState(looks[i] - '0');
        if (i >= 9 && i < 15) menu.widget(i)->setValue(50);
    }

    // The scene's render leaves the window bound: the menu must still draw into the game screen.
    GlFixture::clearAll(0xFF000000);
    Renderer::instance()->bindTarget(Renderer::Window, -1);
    menu.clearGameScreen(0xFF000000 | kClear);
    menu.drawRunning();

    // The colour `dx, dy` into widget `i`'s place.
    auto at = [&](int i, int dx, int dy) {
        return rgb(GlFixture::gameScreenPixel(menu.widget(i)->x + dx, menu.widget(i)->y + dy));
    };
    // Buttons: the body of each look; the normal look's light edge, and the rim only focus and press have.
    const uint32_t bodies[] = {kSlate, kVermilion, kMaroon, kStone};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(at(i, 4, 4), bodies[i]) << "button look " << i;
    int cream = 0; // the label's glyphs
    for (int x = 0; x < 64; ++x)
        cream += at(0, x, 8) == kLabel;
    EXPECT_GT(cream, 3);
    EXPECT_EQ((std::array{at(0, 1, 8), at(1, 1, 8), at(2, 1, 8)}), (std::array{kSky, kButter, kAmber}));
    // Selectors: arrows (a pressed side arrow in looks 4 and 5) and the bar's top edge.
    const std::array<uint32_t, 3> selectors[] = {{kSlate, kSlate, kSky},
                                                 {kButter, kButter, kButter},
                                                 {kStone, kStone, kPebble},
                                                 {kAmber, kButter, kAmber},
                                                 {kButter, kAmber, kAmber}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ((std::array{at(4 + i, 2, 3), at(4 + i, 96 - 12 + 9, 3), at(4 + i, 40, 1)}), selectors[i])
            << "selector " << i;
    // Sliders at 50: the fill's colour per look up to 4 + 88 / 2, the empty trough, the focus and press rims.
    const uint32_t fills[] = {kAmber, kButter, kOrange, kPebble, kOrange, kOrange};
    const uint32_t rims[] = {0, kButter, kOrange, 0, kOrange, kOrange};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ((std::array{at(9 + i, 10, 6), at(9 + i, 47, 6), at(9 + i, 49, 6),
                              rims[i] ? at(9 + i, 1, 8) : 0u}),
                  (std::array{fills[i], fills[i], kNight, rims[i]}))
            << "slider look " << i;
    // Switches: the lit half is the value's, in the look's body colour; the other half dark.
    for (int i = 0; i < 8; ++i) {
        const bool on = i >= 4;
        EXPECT_EQ(at(15 + i, on ? 60 : 20, 10), bodies[i % 4]) << "switch " << i;
        EXPECT_EQ(at(15 + i, on ? 20 : 60, 10), i % 4 == 3 ? 0x574447u : kNight) << "switch " << i;
    }

    // A menu that does not draw disabled widgets leaves their place empty.
    menu.drawDisabled = 0;
    Renderer::instance()->bindTarget(Renderer::Window, -1);
    menu.clearGameScreen(0xFF000000 | kClear);
    menu.drawRunning();
    EXPECT_EQ((std::array{at(3, 4, 4), at(2, 4, 4)}), (std::array{kClear, kMaroon}));
}

TEST_F(MenuGL, ButtonTipIconsComeFromThePadRowOrTheKeyboardRow) {
    Menu menu;
    menu.setButtonTips(0); // back and accept, each with its icon
    ASSERT_TRUE(menu.tipLines.size() == 3u && menu.padButtonsTexture >= 0);
    const TextLine &back = *menu.tipLines[1], &accept = *menu.tipLines[2];
    // A cell's pixel (cx, cy) lands at (drawX - 36 + cx, drawY - 8 + cy).
    auto iconPixel = [](const TextLine& tip, int cx, int cy) {
        return rgb(GlFixture::windowPixel(tip.drawX - 36 + cx, tip.drawY - 8 + cy));
    };
    auto drawTips = [&](const char* device) {
        input->deviceName = device;
        Renderer::instance()->clearTarget(0xFF000000, Renderer::Window);
        menu.drawButtonTips();
    };
    drawTips("Xbox 360 Controller");
    // The pad's A and B buttons; the back glyph leaves the accept text room; nothing left of x 12 in a cell.
    EXPECT_EQ((std::array{iconPixel(accept, 15, 16), iconPixel(back, 15, 16), iconPixel(back, 13, 16),
                          iconPixel(accept, 5, 16)}),
              (std::array{kLeaf, kRed, 0u, 0u}));
    drawTips("None");
    // A key cap, the Return key's arrow, the E of ESC and its cap; the back glyph leaves the accept text
    // room.
    EXPECT_EQ((std::array{iconPixel(accept, 14, 8), iconPixel(accept, 25, 12), iconPixel(back, 15, 11),
                          iconPixel(back, 17, 16), iconPixel(back, 13, 16)}),
              (std::array{kMist, kInk, kInk, kMist, 0u}));
}

TEST_F(MenuGL, TipsStandRightToLeftTheNoticeBottomLeftAndALanguageChangeRereadsThem) {
    Scene scene;
    scene.setButtonTips(7); // any other layout: mouse, back, accept
    ASSERT_EQ(scene.tipLines.size(), 3u);
    EXPECT_EQ(scene.tipIcons, (std::vector<uint16_t>{Scene::kNoIcon, 1, 0}));
    const auto& tips = scene.tipLines;
    // Right-aligned at 40 from the window's right edge; the next tip ends where the first begins,
    // and the one after the back tip leaves 24 pixels for the back tip's icon.
    EXPECT_EQ((std::array<int, 3>{tips[0]->drawX + tips[0]->width, tips[1]->drawX + tips[1]->width,
                                  tips[2]->drawX + tips[2]->width}),
              (std::array<int, 3>{scene.windowWidth - 40, tips[0]->drawX, tips[1]->drawX - 24}));
    scene.showNotice("GEN_BACK");
    EXPECT_EQ(std::make_tuple(tips[0]->y, tips[2]->y, scene.noticeTime, scene.noticeLine->text,
                              scene.noticeLine->x, scene.noticeLine->y),
              std::make_tuple(720 - 40, 720 - 40, 3000, std::string("Back"), 40, 720 - 40));

    // A language change re-reads every box, and the tips keep their layout (six, the level's).
    auto box = std::make_unique<TextBox>();
    box->setText("OPT_START", 10, 10);
    TextBox* shown = box.get();
    scene.elements.push_back(std::move(box));
    scene.elements.push_back(std::make_unique<GraphicElement>());
    scene.setButtonTips(2);
    const std::string english = texts.getText("OPT_START"), englishWalk = scene.tipLines[1]->text;
    ASSERT_EQ(shown->lines.front()->text, english);
    texts.changeLanguage(1);
    ASSERT_NE(texts.getText("OPT_START"), english);
    scene.refreshTexts();
    EXPECT_EQ(shown->lines.front()->text, texts.getText("OPT_START"));
    ASSERT_EQ(scene.tipLines.size(), 6u);
    EXPECT_EQ(std::tuple(scene.tipLayout, scene.tipLines[1]->text),
              std::tuple(2, texts.getText("BUTTONTIP_WALK")));
    EXPECT_NE(scene.tipLines[1]->text, englishWalk);

    scene.hoveredElement = 0;
    scene.reset();
    EXPECT_TRUE(scene.elements.empty() && scene.hoveredElement == -1 && scene.fadeTexture >= 0);
}

// A box draws the page it is on: the second page holds lines 5 and 6, in the box's band.
TEST_F(MenuGL, ABoxDrawsItsLaterPages) {
    TextBox box(0, 0);
    box.setRawText("Vov|Vov|Vov|Vov|Aruz|Aruz", 40, 50);
    ASSERT_EQ(box.lineCount, 6);
    const int size = texts.font(0)->size;
    const Seen first = shot([&] { box.draw(); }, {kLabel})[0];
    EXPECT_GT(first.maxY - first.minY, 3 * size);
    box.pageStart = 4;
    const Seen second = shot([&] { box.draw(); }, {kLabel})[0];
    EXPECT_TRUE(second.count > 20 && second.minX >= 40 && second.maxX < 40 + box.maxWidth &&
                second.maxY - second.minY < 2 * size);
    EXPECT_GT(shot([&] { box.drawInBand(2, 1, 1); }, {kVermilion})[0].count, 20);
}
