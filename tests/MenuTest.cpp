// The menu base without GL: the scene-file reader with fake services, the fly-in paths, the focus
// walk, the pointer, and presses from keys and clicks through a real InputState on a fake source.
#include <SDL.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <tuple>

#include "Fakes.h"
#include "TestSupport.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "gui/GUIElement.h"
#include "gui/GraphicAnimation.h"
#include "menus/Menu.h"
#include "text/TextBox.h"

namespace {
class RecordingMenu final : public Menu {
  public:
    void onAction(int16_t code) override { actions.push_back({code, focused}); }
    void read(const std::string& text) {
        FakeFiles files;
        files.files = {{"Assets/gui/b.btn", "button.png\n20\n10\nYES\nYES\n1\n0\n"},
                       {"Assets/gui/s.sel", "selector.png\n40\n10\n5\n2\nA_A\t0,0\nB_B\t0,0\n"}};
        FakeTextures textures;
        parseSceneBytes(bytesOf(text), text.size(), files, textures);
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

// One line per element index: nothing, or where it stands (w a widget, a an animation, t a text),
// its source, its phases (fade-in, running, fade-out), its paths and a text's alignment.
std::string summary(const Menu& menu) {
    std::ostringstream out;
    auto path = [&](const char* what, const std::vector<PointI32>& points, uint16_t speed) {
        if (points.empty()) return;
        out << what;
        for (const PointI32& p : points)
            out << "(" << p.x << "," << p.y << ")";
        out << "@" << speed;
    };
    for (size_t i = 0; i < menu.elements.size(); ++i) {
        const GraphicElement* e = menu.element(static_cast<int>(i));
        if (!e) {
            out << "-\n";
            continue;
        }
        const bool widget = std::find(menu.widgets.begin(), menu.widgets.end(), e) != menu.widgets.end();
        out << (widget                                     ? "w "
                : dynamic_cast<const GraphicAnimation*>(e) ? "a "
                : dynamic_cast<const TextBox*>(e)          ? "t "
                                                           : "")
            << e->x << "," << e->y << " [" << e->source.x << "," << e->source.y << "," << e->source.w << ","
            << e->source.h << "] " << menu.inPhase(0, i) << menu.inPhase(1, i) << menu.inPhase(2, i);
        path(" in ", menu.entryPaths[i], menu.entrySpeeds[i]);
        path(" out ", menu.exitPaths[i], menu.exitSpeeds[i]);
        if (const auto* box = dynamic_cast<const TextBox*>(e))
            out << " align " << box->horizontalAlign << box->verticalAlign;
        out << "\n";
    }
    return out.str();
}
} // namespace

TEST(SceneFile, ElementsKeepTheirIndexPhaseBitsAndPathsWithinBounds) {
    const struct {
        const char* what;
        std::string scene, elements;
    } cases[] = {
        {"an unknown keyword uses up its index; a comment in the place of a path is an empty path",
         "NO_IMAGE\r\nNO\r\n6\r\n# comment lines do not count\r\nBOGUS\tanything\r\n"
         "IMAGE\tAssets/a.png\t1,2,8,9\t10,20\t5\r\n# fly-in\r\n(0,0)(100,0)\t100\r\n"
         "GUI_ELEMENT\tAssets/gui/b.btn\t30,40\t0\r\nANIMATION\tAssets/gui/missing.ani\t1,1\r\n"
         "GUI_ELEMENT\tAssets/gui/b.btn\t50,60\t6\r\n(7,8)\r\nTEXT\tKEY\t0\t5,6\t0\tRIGHT_BTM\t3\t2\r\n",
         "-\n10,20 [1,2,8,9] 101 out (0,0)(100,0)@100\nw 30,40 [0,0,20,10] 111\na 1,1 [0,0,0,0] 111\n"
         "w 50,60 [0,0,20,10] 011 out (7,8)@0\nt 5,6 [0,0,0,0] 010 align 12\n"},
        {"lines past the count are not read",
         "NO_IMAGE\nNO\n2\nIMAGE\ta\t0,0,1,1\t1,0\nIMAGE\tb\t0,0,1,1\t2,0\nIMAGE\tc\t0,0,1,1\t3,0\n",
         "1,0 [0,0,1,1] 111\n2,0 [0,0,1,1] 111\n"},
        {"a widget of no known kind ends the file",
         "NO_IMAGE\nNO\n4\nGUI_ELEMENT\tAssets/gui/b.btn\t0,0\nGUI_ELEMENT\tAssets/gui/b.xyz\t0,0\t7\n"
         "(1,1)(2,2)\nIMAGE\tc\t0,0,1,1\t0,0\n",
         "w 0,0 [0,0,20,10] 111\n-\n-\n-\n"},
        {"a negative count", "NO_IMAGE\nNO\n-1\nIMAGE\ta\t0,0,1,1\t0,0\n", ""},
        {"numbers and points out of bounds",
         "NO_IMAGE\nNO\n4\nIMAGE\ta\t1,2,-5\t70000,-70000\t1\n(0, 0)(100, 0)\t9999999\n"
         "IMAGE\tb\t0,0,1,1\t5\t1\n( 1 , 2 ) (3,4)(5)(6,)\nIMAGE\tc\t0,0,1,1\t0,0\t1\n(1,2)(3,4)\t-7\n"
         "IMAGE\td\t0,0,1,1\t0,0\t1\n",
         "32767,-32768 [1,2,0,0] 100 in (0,0)(100,0)@65535\n5,0 [0,0,1,1] 100 in (1,2)(3,4)(6,0)@0\n"
         "0,0 [0,0,1,1] 100 in (1,2)(3,4)@0\n0,0 [0,0,1,1] 100\n"},
    };
    for (const auto& c : cases) {
        RecordingMenu menu;
        menu.read(c.scene);
        EXPECT_EQ(summary(menu), c.elements) << c.what;
        EXPECT_EQ(menu.elementCount, menu.elements.size()) << c.what;
    }
}

TEST(SceneFile, LayersGetOneSpeedEachAndScrollingOnesStartWrapped) {
    RecordingMenu menu;
    menu.read("a.png;missing.png;c.png\n5;0;7;9\n0\n");
    EXPECT_EQ(menu.layerSpeeds, (std::vector<int32_t>{5, 0, 7})) << "speeds past the layers are cut";
    ASSERT_EQ(menu.layerTextures.size(), 3u);
    EXPECT_EQ(std::tuple(static_cast<int32_t>(menu.layerTextures[1]), menu.layerRects[1].w),
              std::tuple(-1, 0));
    EXPECT_EQ(menu.layerY[0], 120000) << "a 100 x 80 picture anchored at the bottom right";
    EXPECT_EQ(menu.layerX[0], 20000) << "220 000 wrapped into one 100-pixel width";

    RecordingMenu padded;
    padded.read("a.png;b.png\n3\n0\n");
    EXPECT_EQ(padded.layerSpeeds, (std::vector<int32_t>{3, 0})) << "missing speeds are 0";
    EXPECT_EQ(padded.layerX[1], 220000) << "a still layer keeps its anchor";
}

TEST(MenuPaths, FlyInFollowsItsPathAndEveryElementEndsAtHome) {
    RecordingMenu menu;
    menu.read("NO_IMAGE\nNO\n2\nIMAGE\ta\t0,0,4,4\t160,90\t7\n(0,0)(100,0)\t100\n(5,5)(9,9)\t50\n"
              "IMAGE\tb\t0,0,4,4\t20,30\n");
    menu.fadeInDuration = 2000;
    menu.state = Scene::FadingIn;
    menu.placeForEntry();
    GraphicElement& flyer = *menu.element(0);
    frameDeltaMs = 10;
    std::string seen = std::to_string(menu.element(1)->x) + " ";
    for (int frames : {0, 50, 60, 1000}) {
        for (int i = 0; i < frames && menu.state == Scene::FadingIn; ++i)
            menu.updateFadeIn();
        seen += std::to_string(flyer.x) + "," + std::to_string(flyer.y) + " ";
    }
    // One pixel per 10 ms frame, then the path is done but the fade is not; at its end all are home.
    EXPECT_EQ(seen, "20 0,0 50,0 100,0 160,90 ");
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
    void frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            clock.advance(200);
            input->poll();
            menu.updateRunning();
        }
    }
    void pointAt(int logicalX, int logicalY) {
        fake->mx = logicalX * 4;
        fake->my = logicalY * 720 / 200 + 1;
    }
    FakeClock clock;
    std::unique_ptr<InputState> input;
    FakeInput* fake = nullptr;
    RecordingMenu menu;
};

TEST_F(MenuInput, ClicksAndReturnPressOnceWhatTheyShould) {
    enum How { HeldClick, QuickClick, Return };
    struct Case {
        const char* what;
        int x, y;
        bool keyboardFirst;
        How how;
        int16_t pressed; // -1: nothing
    };
    const Case cases[] = {
        {"a click held for half a second", 15, 45, false, HeldClick, 2},
        {"down and up between two frames", 15, 45, false, QuickClick, 2},
        {"on the edge two buttons share: the later one", 30, 15, false, HeldClick, 1},
        {"a pixel left of that edge", 29, 15, false, HeldClick, 0},
        {"on empty space, not what the keyboard focused", 300, 190, true, HeldClick, -1},
        {"Return, the pointer resting away from the focus", 300, 190, true, Return, 0},
    };
    for (const Case& c : cases) {
        menu.actions.clear();
        menu.setFocus(-1);
        pointAt(c.x, c.y);
        frame();
        if (c.keyboardFirst) {
            fake->keys[SDL_SCANCODE_DOWN] = 1;
            frame();
            fake->keys[SDL_SCANCODE_DOWN] = 0;
        }
        frame(5);
        if (c.how == Return) {
            pushKey(SDL_SCANCODE_RETURN);
        } else {
            pushButton(SDL_BUTTON_LEFT, true);
            if (c.how == QuickClick) pushButton(SDL_BUTTON_LEFT, false);
            if (c.how == HeldClick) fake->buttons = SDL_BUTTON_LMASK;
        }
        frame(50);
        fake->buttons = 0;
        pushButton(SDL_BUTTON_LEFT, false);
        frame(25);
        std::vector<std::pair<int16_t, int16_t>> want;
        if (c.pressed >= 0) want.push_back({0, c.pressed});
        EXPECT_EQ(menu.actions, want) << c.what;
    }
}

TEST_F(MenuInput, FocusWalkPassesDisabledAndHiddenWidgetsAndEndsOnARing) {
    auto walk = [&](int16_t from) {
        menu.focused = from;
        menu.moveFocus(Menu::Down, 1);
        return menu.focused;
    };
    menu.widget(2)->setState(GUIElement::Disabled);
    menu.setFocus(1);
    EXPECT_EQ(walk(1), 3) << "down from 1 passes the disabled 2";
    EXPECT_EQ(menu.widget(3)->state * 10 + menu.widget(1)->state, 10) << "the focus look moves along";
    menu.widget(3)->visible = 0;
    EXPECT_EQ(walk(1), 4) << "hidden 3 is passed too";
    // 2 and 3 point at each other: a walk into them must end, leaving the focus where it was.
    menu.widget(3)->visible = 1;
    menu.widget(3)->setState(GUIElement::Disabled);
    menu.setNeighbours(2, 1, 3, -1, -1);
    menu.setNeighbours(3, 2, 2, -1, -1);
    EXPECT_EQ(walk(1), 1);

    // With nothing usable the focus stays away and no state changes.
    for (GUIElement* w : menu.widgets)
        w->setState(GUIElement::Disabled);
    EXPECT_EQ(walk(-1), -1);
    menu.navigate(Menu::Up);
    EXPECT_EQ(menu.focused, -1);
    for (GUIElement* w : menu.widgets)
        EXPECT_EQ(w->state, GUIElement::Disabled);
    // A focus left past the widgets (a file that made fewer) is brought back to the last one.
    menu.widget(4)->setState(GUIElement::Normal);
    EXPECT_EQ(walk(9), 4);
}

TEST_F(MenuInput, APressShowsFor200MsIgnoringDirectionsAndEnterStartsTheFlyIn) {
    menu.setFocus(3);
    const int32_t before = menu.widget(3)->getValue();
    pushKey(SDL_SCANCODE_RETURN);
    frame();
    ASSERT_EQ(menu.pressPending, 1);
    const int32_t pressedValue = menu.widget(3)->getValue();
    EXPECT_NE(pressedValue, before) << "a pressed selector steps";
    fake->keys[SDL_SCANCODE_RIGHT] = fake->keys[SDL_SCANCODE_DOWN] = 1;
    frame(19);
    EXPECT_TRUE(menu.actions.empty()) << "200 ms have not passed";
    EXPECT_EQ(std::make_tuple(menu.focused, menu.widget(3)->getValue()),
              std::make_tuple(int16_t{3}, pressedValue));
    fake->keys[SDL_SCANCODE_RIGHT] = fake->keys[SDL_SCANCODE_DOWN] = 0;
    frame();
    EXPECT_EQ(menu.actions.size(), 1u);

    // Entering starts the fly-in with no focus and the input locked.
    input->inputLockEnabled = 0;
    menu.enter();
    EXPECT_EQ(std::make_tuple(menu.state, menu.focused, menu.widget(3)->state, input->inputLockEnabled,
                              input->inputLockMs),
              std::make_tuple(uint32_t{Scene::FadingIn}, int16_t{-1}, 0, uint8_t{1}, 150u));
    // Without the pointer, the fly-in gives the keyboard its first widget.
    menu.mouseEnabled = 0;
    menu.updateFadeIn();
    EXPECT_EQ(menu.focused, 0);
    menu.reset(); // its scene file is "none": nothing comes back
    EXPECT_TRUE(menu.elements.empty() && !menu.widget(0));
}
