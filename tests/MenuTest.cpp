// The menu base without GL: the scene-file reader on bytes with stub services, the fly-in paths,
// the focus walk, the pointer, and presses from keys and clicks through a real InputState whose
// keys and mouse come from a fake source.
#include <SDL.h>
#include <array>
#include <gtest/gtest.h>
#include <map>

#include "TestSupport.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "gui/Button.h"
#include "gui/ElementServices.h"
#include "gui/Selector.h"
#include "menus/Menu.h"

namespace {
class FakeTextures final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& w, uint16_t& h) override {
        w = 100, h = 80;
        if (path.find("missing") == std::string::npos) return 4;
        w = h = 0;
        return -1;
    }
};

class FakeFiles final : public ElementFileLookup {
  public:
    bool readPackFile(const std::string& name, std::vector<uint8_t>& bytes) override {
        const auto it = pack.find(name);
        if (it == pack.end()) return false;
        bytes.assign(it->second.begin(), it->second.end());
        return true;
    }
    bool readDiskFile(const std::string&, std::vector<uint8_t>&) override { return false; }
    std::map<std::string, std::string> pack = {
        {"Assets/gui/b.btn", "button.png\n20\n10\nYES\nYES\n1\n0\n"},
        {"Assets/gui/s.sel", "selector.png\n40\n10\n5\n2\nA_A\t0,0\nB_B\t0,0\n"},
    };
};

class RecordingMenu final : public Menu {
  public:
    void onAction(int16_t code) override { actions.push_back({code, focused}); }
    void read(const std::string& text) {
        FakeFiles files;
        FakeTextures textures;
        parseSceneBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), files, textures);
    }
    std::vector<std::pair<int16_t, int16_t>> actions;
};

// Widgets 0..n-1 chained up and down.
void chain(Menu& menu) {
    const auto n = static_cast<int16_t>(menu.widgets.size());
    for (int16_t i = 0; i < n; ++i)
        menu.setNeighbours(i, static_cast<int16_t>(i - 1), static_cast<int16_t>(i + 1 < n ? i + 1 : -1), -1,
                           -1);
}
} // namespace

TEST(SceneFile, ElementsKeepTheirFileIndexAndTheirPhaseBitsAndPaths) {
    RecordingMenu menu;
    menu.read("NO_IMAGE\r\nNO\r\n5\r\n# comment lines do not count\r\n"
              "BOGUS\tanything\r\n"
              "IMAGE\tAssets/a.png\t1,2,8,9\t10,20\t5\r\n"
              "# in the place of the fly-in path: consumed as an empty one\r\n"
              "(0,0)(100,0)\t100\r\n"
              "GUI_ELEMENT\tAssets/gui/b.btn\t30,40\t0\r\n"
              "ANIMATION\tAssets/gui/missing.ani\t1,1\r\n"
              "GUI_ELEMENT\tAssets/gui/b.btn\t50,60\t6\r\n"
              "(7,8)\r\n"
              "IMAGE\tAssets/c.png\t0,0,1,1\t0,0\r\n");
    EXPECT_EQ(menu.elementCount, 5);
    ASSERT_EQ(menu.elements.size(), 5u);
    EXPECT_EQ(menu.element(0), nullptr) << "an unknown keyword uses up index 0";
    ASSERT_NE(menu.element(1), nullptr);
    EXPECT_EQ(menu.element(1)->imagePath, "Assets/a.png");
    EXPECT_EQ(menu.element(1)->source.x, 1);
    EXPECT_EQ(menu.element(1)->source.h, 9);
    EXPECT_EQ(menu.element(1)->home.x, 10);
    EXPECT_TRUE(menu.inPhase(Menu::FadeInPhase, 1));
    EXPECT_FALSE(menu.inPhase(Menu::RunningPhase, 1));
    EXPECT_TRUE(menu.inPhase(Menu::FadeOutPhase, 1));
    EXPECT_TRUE(menu.entryPaths[1].empty());
    ASSERT_EQ(menu.exitPaths[1].size(), 2u);
    EXPECT_EQ(menu.exitPaths[1][1].x, 100);
    EXPECT_EQ(menu.exitSpeeds[1], 100);

    ASSERT_NE(menu.element(2), nullptr);
    EXPECT_TRUE(menu.element(2)->isKindOf(3));
    EXPECT_EQ(menu.element(2)->x, 30);
    for (uint8_t phase : {0, 1, 2})
        EXPECT_TRUE(menu.inPhase(phase, 2)) << "phase bits 0: every phase, and no path lines";
    ASSERT_NE(menu.element(3), nullptr) << "a missing element file still gives an element";
    EXPECT_TRUE(menu.element(3)->isKindOf(24));
    ASSERT_NE(menu.element(4), nullptr);
    EXPECT_FALSE(menu.inPhase(Menu::FadeInPhase, 4));
    EXPECT_TRUE(menu.inPhase(Menu::RunningPhase, 4));
    ASSERT_EQ(menu.exitPaths[4].size(), 1u) << "bit 4 alone: the next line is the fly-out path";
    EXPECT_EQ(menu.exitPaths[4][0].y, 8);
    ASSERT_EQ(menu.widgets.size(), 2u);
    EXPECT_EQ(menu.widgets[1], menu.element(4));
    EXPECT_EQ(menu.widget(2), nullptr);
}

TEST(SceneFile, DeclaredCountAgainstCreatedAndAnEarlyEnd) {
    RecordingMenu three;
    three.read("NO_IMAGE\nNO\n2\nIMAGE\ta\t0,0,1,1\t0,0\nIMAGE\tb\t0,0,1,1\t0,0\nIMAGE\tc\t0,0,1,1\t0,0\n");
    ASSERT_EQ(three.elements.size(), 2u);
    EXPECT_EQ(three.element(1)->imagePath, "b");
    EXPECT_EQ(three.element(2), nullptr) << "the third line is past the count";

    RecordingMenu early;
    early.read("NO_IMAGE\nNO\n4\nGUI_ELEMENT\tAssets/gui/b.btn\t0,0\nGUI_ELEMENT\tAssets/gui/b.xyz\t0,0\t7\n"
               "(1,1)(2,2)\nIMAGE\tc\t0,0,1,1\t0,0\n");
    EXPECT_EQ(early.elementCount, 4);
    ASSERT_NE(early.element(0), nullptr);
    EXPECT_EQ(early.element(1), nullptr) << "a widget of no known kind ends the file";
    EXPECT_EQ(early.element(2), nullptr);
    EXPECT_EQ(early.widgets.size(), 1u);
    // Every per-element loop copes with the indices the file left empty.
    early.placeForEntry();
    frameDeltaMs = 10;
    early.updateFadeIn();
    early.updateRunning();
    early.updateFadeOut();
    early.refreshTexts();
    chain(early);
    early.setFocus(0);
    early.moveFocus(Menu::Down, 3);
    EXPECT_EQ(early.focused, 0);
}

TEST(SceneFile, NumbersAndPointsAreBounded) {
    RecordingMenu negative;
    negative.read("NO_IMAGE\nNO\n-1\nIMAGE\ta\t0,0,1,1\t0,0\n");
    EXPECT_EQ(negative.elementCount, 0);
    EXPECT_TRUE(negative.elements.empty());

    RecordingMenu huge;
    huge.read("NO_IMAGE\nNO\n99999999999\n");
    EXPECT_EQ(huge.elementCount, 32767);
    EXPECT_EQ(huge.elements.size(), 32767u);
    EXPECT_EQ(huge.entryPaths.size(), 32767u);

    RecordingMenu far;
    far.read("NO_IMAGE\nNO\n4\n"
             "IMAGE\ta\t1,2,-5\t70000,-70000\t1\n(0, 0)(100, 0)\t9999999\n"
             "IMAGE\tb\t0,0,1,1\t5\t1\n( 1 , 2 ) (3,4)(5)(6,)\n"
             "IMAGE\tc\t0,0,1,1\t0,0\t1\n(1,2)(3,4)\t-7\n"
             "IMAGE\td\t0,0,1,1\t0,0\t1\n");
    ASSERT_NE(far.element(0), nullptr);
    EXPECT_EQ(far.element(0)->x, 32767);
    EXPECT_EQ(far.element(0)->y, -32768);
    EXPECT_EQ(far.element(0)->source.w, 0) << "a negative size is 0";
    EXPECT_EQ(far.element(0)->source.h, 0) << "a missing number is 0";
    ASSERT_EQ(far.entryPaths[0].size(), 2u) << "blanks inside the points are ignored";
    EXPECT_EQ(far.entryPaths[0][1].x, 100);
    EXPECT_EQ(far.entryPaths[0][1].y, 0);
    EXPECT_EQ(far.entrySpeeds[0], 65535);
    EXPECT_EQ(far.element(1)->x, 5);
    EXPECT_EQ(far.element(1)->y, 0) << "a position with one number";
    ASSERT_EQ(far.entryPaths[1].size(), 3u) << "the piece without two numbers is skipped";
    EXPECT_EQ(far.entryPaths[1][0].x, 1);
    EXPECT_EQ(far.entryPaths[1][0].y, 2);
    EXPECT_EQ(far.entryPaths[1][2].x, 6);
    EXPECT_EQ(far.entryPaths[1][2].y, 0);
    ASSERT_EQ(far.entryPaths[2].size(), 2u);
    EXPECT_EQ(far.entryPaths[2][1].x, 3);
    EXPECT_EQ(far.entryPaths[2][1].y, 4);
    EXPECT_EQ(far.entrySpeeds[2], 0);
    EXPECT_TRUE(far.entryPaths[3].empty()) << "no line left for the path";
}

TEST(SceneFile, LayersGetOneSpeedEachAndScrollingOnesStartWrapped) {
    RecordingMenu menu;
    menu.read("a.png;missing.png;c.png\n5;0;7;9\n0\n");
    ASSERT_EQ(menu.layerSpeeds.size(), 3u) << "speeds past the layers are cut";
    EXPECT_EQ(menu.layerSpeeds, (std::vector<int32_t>{5, 0, 7}));
    ASSERT_EQ(menu.layerTextures.size(), 3u);
    EXPECT_EQ(static_cast<int32_t>(menu.layerTextures[1]), -1);
    EXPECT_EQ(menu.layerRects[1].w, 0);
    EXPECT_EQ(menu.layerRects[0].w, 100);
    EXPECT_EQ(menu.layerY[0], 120000) << "anchored at the bottom right";
    EXPECT_EQ(menu.layerX[0], 20000) << "220 000 wrapped into one 100-pixel width";
    EXPECT_EQ(menu.layerX[2], 20000);

    RecordingMenu padded;
    padded.read("a.png;b.png\n3\n0\n");
    EXPECT_EQ(padded.layerSpeeds, (std::vector<int32_t>{3, 0})) << "missing speeds are 0";
    EXPECT_EQ(padded.layerX[1], 220000) << "a still layer keeps its anchor";

    RecordingMenu none;
    none.read("NO_IMAGE\nNO\n0\n");
    ASSERT_EQ(none.layerSpeeds.size(), 1u);
    EXPECT_EQ(static_cast<int32_t>(none.layerTextures[0]), -1);
}

TEST(MenuPaths, FlyInFollowsItsPathAndEveryElementEndsAtHome) {
    RecordingMenu menu;
    menu.read("NO_IMAGE\nNO\n2\nIMAGE\ta\t0,0,4,4\t160,90\t7\n(0,0)(100,0)\t100\n(5,5)(9,9)\t50\n"
              "IMAGE\tb\t0,0,4,4\t20,30\n");
    menu.fadeInDuration = 2000;
    menu.state = Scene::FadingIn;
    menu.placeForEntry();
    GraphicElement& flyer = *menu.element(0);
    EXPECT_EQ(flyer.x, 0);
    EXPECT_EQ(flyer.target.x, 100);
    EXPECT_EQ(menu.element(1)->x, 20);
    frameDeltaMs = 10;
    for (int i = 0; i < 50; ++i)
        menu.updateFadeIn();
    EXPECT_EQ(flyer.x, 50) << "one pixel per 10 ms frame";
    for (int i = 0; i < 50; ++i)
        menu.updateFadeIn();
    EXPECT_EQ(flyer.x, 100);
    for (int i = 0; i < 10; ++i)
        menu.updateFadeIn();
    EXPECT_EQ(flyer.x, 100) << "the path is done";
    EXPECT_EQ(menu.state, static_cast<uint32_t>(Scene::FadingIn));
    while (menu.state == Scene::FadingIn)
        menu.updateFadeIn();
    EXPECT_EQ(flyer.x, 160);
    EXPECT_EQ(flyer.y, 90);

    menu.state = Scene::FadingOut;
    menu.fadeOutDuration = 100;
    menu.updateFadeOut();
    EXPECT_EQ(flyer.target.x, 9) << "the fly-out starts at its first point, heading for the second";
}

class MenuInput : public testing::Test {
  protected:
    MenuInput() {
        SDL_Init(SDL_INIT_EVENTS);
        input = std::make_unique<InputState>();
        auto source = std::make_unique<FakeInput>();
        fake = source.get();
        input->setSource(std::move(source));
        GameWide<InputState>::set(input.get());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        // Two buttons side by side sharing the edge x = 30 (window x 120), then three below.
        menu.read(
            "NO_IMAGE\nNO\n5\nGUI_ELEMENT\tAssets/gui/b.btn\t10,10\nGUI_ELEMENT\tAssets/gui/b.btn\t30,10\n"
            "GUI_ELEMENT\tAssets/gui/b.btn\t10,40\nGUI_ELEMENT\tAssets/gui/s.sel\t10,60\n"
            "GUI_ELEMENT\tAssets/gui/b.btn\t10,80\n");
        chain(menu);
        menu.mouseEnabled = 1;
        menu.state = Scene::Running;
        frameDeltaMs = 10;
    }
    ~MenuInput() override {
        GameWide<InputState>::set(nullptr);
        input.reset();
        SDL_Quit();
    }
    // One frame: past the input lock, poll, then the menu's running step.
    void frame() {
        clock.advance(200);
        input->poll();
        menu.updateRunning();
    }
    void pointAt(int logicalX, int logicalY) {
        fake->mx = logicalX * 4;
        fake->my = logicalY * 720 / 200 + 1;
    }
    static void pushButton(uint32_t type) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
    static void pushReturn() {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.scancode = SDL_SCANCODE_RETURN;
        SDL_PushEvent(&event);
    }

    FakeClock clock;
    std::unique_ptr<InputState> input;
    FakeInput* fake = nullptr;
    RecordingMenu menu;
};

TEST_F(MenuInput, FocusWalkPassesDisabledAndHiddenWidgetsAndEndsOnARing) {
    menu.widget(2)->setState(GUIElement::Disabled);
    menu.setFocus(1);
    menu.moveFocus(Menu::Down, 1);
    EXPECT_EQ(menu.focused, 3) << "down from 1 passes the disabled 2";
    EXPECT_EQ(menu.widget(3)->state, 1);
    EXPECT_EQ(menu.widget(1)->state, 0);
    menu.widget(3)->visible = 0;
    menu.setFocus(1);
    menu.moveFocus(Menu::Down, 1);
    EXPECT_EQ(menu.focused, 4) << "hidden 3 is passed too";

    // 2 and 3 point at each other: a walk into them must end, leaving the focus where it was.
    menu.widget(3)->visible = 1;
    menu.widget(3)->setState(GUIElement::Disabled);
    menu.setNeighbours(2, 1, 3, -1, -1);
    menu.setNeighbours(3, 2, 2, -1, -1);
    menu.setFocus(1);
    menu.moveFocus(Menu::Down, 1);
    EXPECT_EQ(menu.focused, 1);
    EXPECT_EQ(menu.widget(1)->state, 1);
}

TEST_F(MenuInput, NoUsableWidgetLeavesNoFocusAndTouchesNothing) {
    for (GUIElement* w : menu.widgets)
        w->setState(GUIElement::Disabled);
    menu.focused = -1;
    menu.moveFocus(Menu::Down, 1);
    EXPECT_EQ(menu.focused, -1);
    menu.navigate(Menu::Up);
    EXPECT_EQ(menu.focused, -1);
    for (GUIElement* w : menu.widgets)
        EXPECT_EQ(w->state, 3);

    RecordingMenu empty;
    empty.read("NO_IMAGE\nNO\n0\n");
    empty.moveFocus(Menu::Down, 1);
    empty.navigate(Menu::Right);
    empty.hoverFocus();
    empty.pressFocused();
    EXPECT_EQ(empty.focused, -1);

    // A focus left past the widgets (a file that made fewer) is brought back to the last one.
    menu.widget(4)->setState(GUIElement::Normal);
    menu.focused = 9;
    menu.moveFocus(Menu::Down, 1);
    EXPECT_EQ(menu.focused, 4);
}

TEST_F(MenuInput, PointerOnASharedEdgeFocusesTheLaterWidget) {
    menu.mouseX = 30;
    menu.mouseY = 15;
    menu.hoverFocus();
    EXPECT_EQ(menu.focused, 1);
    EXPECT_EQ(menu.widget(0)->state, 0);
    menu.mouseX = 29;
    menu.hoverFocus();
    EXPECT_EQ(menu.focused, 0);
}

TEST_F(MenuInput, HeldClickPressesTheWidgetUnderThePointer) {
    pointAt(15, 45);
    frame();
    EXPECT_EQ(menu.focused, 2);
    pushButton(SDL_MOUSEBUTTONDOWN);
    fake->buttons = SDL_BUTTON_LMASK;
    frame();
    EXPECT_EQ(menu.pressPending, 1);
    EXPECT_EQ(menu.widget(2)->state, 2);
    // Held for half a second: one press, one action, however many frames see it held.
    for (int i = 0; i < 50; ++i)
        frame();
    fake->buttons = 0;
    pushButton(SDL_MOUSEBUTTONUP);
    frame();
    ASSERT_EQ(menu.actions.size(), 1u);
    EXPECT_EQ(menu.actions[0].second, 2);
    EXPECT_EQ(menu.pressPending, 0);
}

TEST_F(MenuInput, QuickClickBetweenTwoFramesStillPresses) {
    pointAt(15, 45);
    frame();
    pushButton(SDL_MOUSEBUTTONDOWN);
    pushButton(SDL_MOUSEBUTTONUP);
    frame();
    EXPECT_EQ(menu.pressPending, 1) << "the button went down and up between two frames";
    EXPECT_EQ(menu.widget(2)->state, 2);
}

TEST_F(MenuInput, ClickOnEmptySpacePressesNothingTheKeyboardFocused) {
    pointAt(300, 190);
    frame();
    fake->keys[SDL_SCANCODE_DOWN] = 1;
    frame();
    fake->keys[SDL_SCANCODE_DOWN] = 0;
    ASSERT_GE(menu.focused, 0);
    pushButton(SDL_MOUSEBUTTONDOWN);
    fake->buttons = SDL_BUTTON_LMASK;
    frame();
    EXPECT_EQ(menu.pressPending, 0);
    for (GUIElement* w : menu.widgets)
        EXPECT_NE(w->state, 2);
}

TEST_F(MenuInput, ARestingPointerKeepsTheKeyboardFocusAndReturnPresses) {
    pointAt(300, 190);
    frame();
    fake->keys[SDL_SCANCODE_DOWN] = 1;
    frame();
    fake->keys[SDL_SCANCODE_DOWN] = 0;
    const int16_t chosen = menu.focused;
    ASSERT_GE(chosen, 0);
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(menu.focused, chosen) << "a pointer that does not move takes no focus away";
    pushReturn();
    frame();
    EXPECT_EQ(menu.pressPending, 1);
}

TEST_F(MenuInput, APressShowsFor200MsAndIgnoresDirectionsMeanwhile) {
    menu.setFocus(3);
    const int32_t before = menu.widget(3)->getValue();
    pushReturn();
    frame();
    ASSERT_EQ(menu.pressPending, 1);
    EXPECT_NE(menu.widget(3)->getValue(), before) << "a pressed selector steps";
    const int32_t pressedValue = menu.widget(3)->getValue();
    fake->keys[SDL_SCANCODE_RIGHT] = 1;
    fake->keys[SDL_SCANCODE_DOWN] = 1;
    for (int i = 0; i < 19; ++i)
        frame();
    EXPECT_TRUE(menu.actions.empty()) << "200 ms have not passed";
    EXPECT_EQ(menu.focused, 3);
    EXPECT_EQ(menu.widget(3)->getValue(), pressedValue);
    fake->keys[SDL_SCANCODE_RIGHT] = 0;
    fake->keys[SDL_SCANCODE_DOWN] = 0;
    frame();
    ASSERT_EQ(menu.actions.size(), 1u);
    EXPECT_EQ(menu.actions[0], std::make_pair(int16_t{0}, int16_t{3}));

    // Left and right step a focused selector instead of moving the focus.
    frame();
    fake->keys[SDL_SCANCODE_LEFT] = 1;
    frame();
    EXPECT_EQ(menu.focused, 3);
    EXPECT_EQ(menu.widget(3)->getValue(), before);
}

TEST_F(MenuInput, EnterStartsTheFlyInWithNoFocusAndResetEmptiesTheMenu) {
    menu.setFocus(2);
    input->inputLockEnabled = 0;
    menu.enter();
    EXPECT_EQ(menu.state, static_cast<uint32_t>(Scene::FadingIn));
    EXPECT_EQ(menu.focused, -1);
    for (GUIElement* w : menu.widgets)
        EXPECT_EQ(w->state, 0);
    EXPECT_EQ(input->inputLockEnabled, 1);
    EXPECT_EQ(input->inputLockMs, 150u);
    // Without the pointer, the fly-in gives the keyboard its first widget.
    menu.mouseEnabled = 0;
    menu.updateFadeIn();
    EXPECT_EQ(menu.focused, 0);

    menu.reset(); // its scene file is "none": nothing comes back
    EXPECT_TRUE(menu.elements.empty());
    EXPECT_TRUE(menu.widgets.empty());
    EXPECT_EQ(menu.widget(0), nullptr);
    EXPECT_EQ(menu.drawDisabled, 1);
}
