// Every widget kind: frames, looks, presses, steps, values and both file forms. No GL and no
// texts: pictures come from a fake lookup, and text lines have no font.
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <tuple>

#include "Fakes.h"
#include "base/FrameClock.h"
#include "gui/Button.h"
#include "gui/GraphicAnimation.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"

namespace {
template <class W> const auto make = [] { return std::unique_ptr<GUIElement>(std::make_unique<W>()); };
const auto head = [](const std::string& image, int32_t x, int32_t y, uint16_t w, uint16_t h) {
    return str(image) + u32(static_cast<uint32_t>(x)) + u32(static_cast<uint32_t>(y)) + u16(w) + u16(h);
};
const auto noText = [] { return textRef("NO_TEXT", 0, 0); };
// One frame of no time, then the loop and vertical-strip flags.
const auto strip = [](uint8_t loop, uint8_t vertical) {
    return u16(1) + u16(0) + u16(0) + u16(0) + u8(loop) + u8(vertical);
};
std::string buttonFile(int32_t x, uint16_t frame, uint16_t time) {
    return head("Assets/gui/b.png", x, -2, 120, 20) + u16(2) + u16(100) + u16(150) + u16(frame) + u16(time) +
           u8(0) + u8(1) + u16(2) + u16(0) + textRef("MENU_PLAY", 4, 1) + u16(0) + u16(0) + noText() +
           u16(0xFFFD) + u16(6) + textRef("MENU_PLAY", 5, 2) + u16(0) + u16(0) + noText() + u8(1) + u32(3);
}
const std::string kSelectorFile = head("s.png", 0, 0, 160, 20) + u16(12) + u16(16) + u16(2) + u16(3) +
                                  textRef("LANG_A", 1, 0) + u16(0) + textRef("LANG_B", 2, 1);
const std::string kSliderFile = head("v.png", 0, 8, 100, 16) + u32(10) + u32(4) + u16(8) + u16(0xFFFB) +
                                u16(80) + u16(5) + u16(3) + u32(0xFFFFFFF0) + u32(2) + u16(4) + u8(1);
std::string switchFile(uint8_t twoLabels) {
    std::string file = head("NO_IMAGE", 0, 0, 80, 20) + u8(twoLabels) + u8(1);
    for (uint16_t i = 0; i < 4; ++i)
        file += u16(i) + (i == 1 ? textRef("OPT_ON", 3, 2) : noText());
    for (int i = 0; twoLabels && i < 4; ++i)
        file += u16(0) + textRef("OPT_YES", 0, 0);
    return file;
}

// A widget loaded by name as a scene loads it (a name with ".bin" from the disk, else a description
// from the pack), then written in the binary form: the bytes the file format fixes for what was read.
struct FileCase {
    const char* what;
    std::unique_ptr<GUIElement> (*make)();
    std::string name, content, bytes; // bytes "": left as constructed; "=": the content
    int32_t texture;
};

TEST(WidgetFiles, EachFormReadsToTheBytesOfItsBinaryForm) {
    const std::string none = u16(0) + u16(0) + noText(), label = u16(0) + noText();
    const FileCase cases[] = {
        {"button description", make<Button>, "Assets/gui/ok.btn",
         "# a button\r\nbutton.png\r\n120\r\n20\r\nYES\r\nYES\r\n1\r\n0\r\n"
         "NO_TEXT\r\nMENU_OK\t4,2\t-3\tSHADOW\tLEFT\t5\r\nNO_TEXT\r\nNO_TEXT\r\n",
         head("Assets/gui/button.png", 0, 0, 120, 20) + strip(1, 1) + u16(0xFFFD) + u16(5) +
             textRef("MENU_OK", 4, 2) + none + none + none + u8(1) + u32(0),
         9},
        {"button without picture, lower-case yes", make<Button>, "Assets/gui/t.btn",
         "NO_IMAGE\n30\n10\nno\nyes\n1\n0\nKEY_ONE\t0,0\n",
         head("NO_IMAGE", 0, 0, 30, 10) + strip(0, 0) + u16(0) + u16(0) + textRef("KEY_ONE", 0, 0) + none +
             none + none + u8(0) + u32(2),
         -1},
        {"button cut short", make<Button>, "Assets/gui/s.btn", "button.png\n64\n",
         head("Assets/gui/button.png", 0, 0, 64, 0) + strip(1, 1) + none + none + none + none + u8(0) +
             u32(2),
         9},
        {"button named as a selector", make<Button>, "Assets/gui/ok.sel", "button.png\n120\n20\n", "", -1},
        {"binary button", make<Button>, "Assets/gui/b.bin.btn", buttonFile(3, 1, 7), buttonFile(0, 0, 0), 9},
        {"binary button not named .btn", make<Button>, "Assets/gui/b.bin", buttonFile(3, 1, 7), "", -1},
        {"selector description", make<Selector>, "Assets/gui/lang.sel",
         "selector.png\n160\n20\n20\n3\nLANG_A\t1,0\nLANG_B\t1,0\t2\n#\nLANG_C\t1,0\n",
         head("Assets/gui/selector.png", 0, 0, 160, 20) + u16(20) + u16(20) + u16(3) + u16(0) +
             textRef("LANG_A", 1, 0) + u16(2) + textRef("LANG_B", 1, 0) + u16(0) + textRef("LANG_C", 1, 0),
         9},
        {"selector with fewer options than its count", make<Selector>, "Assets/gui/lang.sel",
         "selector.png\n160\n20\n20\n7\nLANG_A\t1,0\n",
         head("Assets/gui/selector.png", 0, 0, 160, 20) + u16(20) + u16(20) + u16(1) + u16(0) +
             textRef("LANG_A", 1, 0),
         9},
        {"selector with more options than its count", make<Selector>, "Assets/gui/lang.sel",
         "selector.png\n160\n20\n-5\n1\nLANG_A\t1,0\nLANG_B\t1,0\n",
         head("Assets/gui/selector.png", 0, 0, 160, 20) + u16(0) + u16(33) + u16(1) + u16(0) +
             textRef("LANG_A", 1, 0),
         9},
        {"binary selector", make<Selector>, "Assets/gui/s.bin.sel", kSelectorFile, "=", 9},
        {"binary selector whose last key is missing", make<Selector>, "Assets/gui/s.bin.sel",
         kSelectorFile.substr(0, kSelectorFile.size() - 11),
         head("s.png", 0, 0, 160, 20) + u16(12) + u16(16) + u16(1) + u16(3) + textRef("LANG_A", 1, 0), 9},
        {"slider description", make<Slider>, "Assets/gui/vol.sli",
         "slider.png\n100\n16\n10,4\n8\n0,100\n10\nBOTTOM\t0,-2\t4,1\n",
         head("Assets/gui/slider.png", 0, 8, 100, 16) + u32(10) + u32(4) + u16(8) + u16(0) + u16(100) +
             u16(10) + u16(4) + u32(0) + u32(0xFFFFFFFE) + u16(4) + u8(1),
         9},
        {"binary slider", make<Slider>, "Assets/gui/v.bin.sli", kSliderFile, "=", 9},
        {"switch description, one label", make<SwitchButton>, "Assets/gui/lamp.swt",
         "switch.png\n80\n20\nno\nYES\nOPT_ON\t0,0\n",
         head("Assets/gui/switch.png", 0, 0, 80, 20) + u8(0) + u8(1) + u16(0) + textRef("OPT_ON", 0, 0) +
             label + label + label,
         9},
        {"switch description, two labels", make<SwitchButton>, "Assets/gui/full.swt",
         "switch.png\n80\n20\nYES\nno\nOPT_NO\t0,0\nOPT_YES\t0,0\t2\nNO_TEXT\nOPT_NO\t0,1\nOPT_YES\t0,1\n",
         head("Assets/gui/switch.png", 0, 0, 80, 20) + u8(1) + u8(0) + u16(0) + textRef("OPT_NO", 0, 0) +
             u16(0) + textRef("OPT_NO", 0, 1) + label + label + u16(2) + textRef("OPT_YES", 0, 0) + u16(0) +
             textRef("OPT_YES", 0, 1) + label + label,
         9},
        {"binary switch with on-labels it does not use", make<SwitchButton>, "Assets/gui/l.bin.swt",
         switchFile(0) + u16(0) + textRef("OPT_YES", 0, 0), switchFile(0), -1},
        {"binary switch, two labels", make<SwitchButton>, "Assets/gui/l.bin.swt", switchFile(1), "=", -1},
    };
    for (const FileCase& c : cases) {
        FakeFiles files;
        FakeTextures textures;
        files.files[c.name] = c.content;
        std::unique_ptr<GUIElement> widget = c.make();
        widget->loadFrom(c.name, files, textures);
        const std::string expected = c.bytes.empty()  ? writeBytes(*c.make())
                                     : c.bytes == "=" ? c.content
                                                      : c.bytes;
        EXPECT_EQ(writeBytes(*widget), expected) << c.what;
        EXPECT_EQ(widget->texture, c.texture) << c.what;
        EXPECT_TRUE(c.texture >= 0 || textures.asked.empty()) << c.what << ": no picture to fetch";
    }
}

// Blank-separated steps: sN state N, vN value N, f/b a step forward/back, tN N frames of 1 ms, pX,Y
// moved there, hX,Y a hit test ("hit"/"miss"), d drawn, c the change report taken. "." notes what a
// player sees: state=value ("*" while a change is reported) and the picture cell shown.
std::string play(GUIElement& w, const std::string& script) {
    std::string seen;
    const std::map<char, std::function<void(int32_t, int32_t)>> act = {
        {'s', [&](int32_t a, int32_t) { w.setState(a); }},
        {'v', [&](int32_t a, int32_t) { w.setValue(a); }},
        {'f', [&](int32_t, int32_t) { w.step(true); }},
        {'b', [&](int32_t, int32_t) { w.step(false); }},
        {'t',
         [&](int32_t a, int32_t) {
             for (frameDeltaMs = 1; a-- > 0;)
                 w.update();
         }},
        {'p', [&](int32_t a, int32_t b) { w.setPosition(a, b); }},
        {'h', [&](int32_t a, int32_t b) { seen += w.hitTest(a, b) ? "hit " : "miss "; }},
        {'d', [&](int32_t, int32_t) { w.draw(); }},
        {'c', [&](int32_t, int32_t) { w.changed = 0; }},
        {'.', [&](int32_t, int32_t) {
             seen += std::to_string(w.state) + "=" + std::to_string(w.getValue()) + (w.changed ? "* " : " ") +
                     std::to_string(w.source.x) + "," + std::to_string(w.source.y) + " ";
         }}};
    std::istringstream steps(script);
    for (std::string step; steps >> step;) {
        const size_t comma = step.find(',');
        act.at(step[0])(std::atoi(step.c_str() + 1),
                        comma == std::string::npos ? 0 : std::atoi(step.c_str() + comma + 1));
    }
    return seen;
}
} // namespace

TEST(WidgetRules, PressesStepsAndLooks) {
    const struct {
        const char* what;
        std::unique_ptr<GUIElement> (*make)();
        std::string name, description;
        const char *script, *seen;
    } cases[] = {
        {"hits include both edges; a vertical strip keeps its looks in columns; a press lasts 201 ms; "
         "unknown "
         "states are refused",
         make<Button>, "b.btn", "button.png\n120\n20\nYES\nYES\n1\n0\n",
         "p10,10 h10,10 h130,30 h131,30 h10,9 s1 s7 s-1 . s2 . t200 . t1 .",
         "hit hit miss miss 1=0 120,0 2=0 240,0 2=0 240,0 1=0 120,0 "},
        {"side-by-side frames keep their looks in rows", make<Button>, "b.btn",
         "button.png\n120\n20\nYES\nno\n1\n0\n", "s3 .", "3=0 0,60 "},
        {"a selector wraps both ways; the left arrow goes back, the bar and the right arrow forward",
         make<Selector>, "s.sel", "selector.png\n160\n20\n20\n3\nA\t1,0\nB\t1,0\nC\t1,0\n",
         "p10,50 v2 f . b . t201 . v1 h12,55 s2 . t201 h90,55 s2 . t201 h170,70 s2 .",
         "5=0* 0,0 4=2* 0,0 1=2 0,0 hit 4=0* 0,0 hit 5=1* 0,0 hit 5=2* 0,0 "},
        {"no options, nothing selected", make<Selector>, "s.sel", "selector.png\n160\n20\n20\n0\n",
         "f v0 d .", "5=-1 0,0 "},
        {"a slider starts at its maximum; at its limit it reports no change; a keyboard press goes from the "
         "minimum to the maximum, from anywhere else to the minimum",
         make<Slider>, "l.sli", "slider.png\n100\n16\n10,4\n8\n0,100\n10\n", "c f . v300 c . s2 . s2 .",
         "5=100 0,8 5=100 0,8 2=0* 0,8 2=100* 0,8 "},
        {"a pointer press takes the value under the pointer: 30 pixels into a 100-wide bar with margin 10 "
         "and "
         "range 0..80 is 20; past the end, the maximum",
         make<Slider>, "l.sli", "slider.png\n100\n16\n10,4\n8\n0,80\n1\n",
         "p50,50 v40 h80,55 s2 . t201 h150,55 s2 .", "hit 2=20* 0,8 hit 2=80* 0,8 "},
        {"a switch turns on, showing the old half while pressed; a stay-on switch stays on",
         make<SwitchButton>, "w.swt", "switch.png\n80\n20\nno\nYES\n", "s1 s2 . t201 . s2 .",
         "2=1 0,40 1=1 80,20 2=1 80,40 "},
        {"the shared middle belongs to the left half", make<SwitchButton>, "w.swt",
         "switch.png\n80\n20\nYES\nno\n", "p0,0 v1 h40,10 s1 s2 . h41,10 s2 .",
         "hit 2=0* 0,40 hit 2=1* 80,40 "},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        FakeTextures textures;
        files.everyFile = &c.description;
        std::unique_ptr<GUIElement> widget = c.make();
        widget->loadFrom("Assets/gui/" + c.name, files, textures);
        EXPECT_EQ(play(*widget, c.script), c.seen) << c.what;
    }
}

TEST(WidgetRules, TextPlacesArrowsAndSelectorsWithoutWrap) {
    // Left-aligned at x plus the x offset; the offset of -3 moves the text up.
    Button button;
    parseText(button, "Assets/gui/ok.btn",
              "button.png\n120\n20\nYES\nYES\n1\n0\nMENU_OK\t4,2\t-3\t\tLEFT\t5\n");
    button.setPosition(40, 100);
    ASSERT_TRUE(button.currentText);
    EXPECT_EQ(std::make_tuple(button.currentText->x, button.currentText->y),
              std::make_tuple(45, 100 + 10 - 3));

    Selector selector, binary;
    parseText(selector, "Assets/gui/lang.sel", "selector.png\n160\n20\n20\n3\nA\t1,0\nB\t1,0\nC\t1,0\n");
    readBytes(binary, kSelectorFile);
    for (const Selector* s : {&selector, &binary})
        EXPECT_TRUE(s->arrowRect.h == 20 && s->pieceRect.h == 20)
            << "arrows and pieces are as high as the bar";
    selector.wrap = 0;
    EXPECT_EQ(play(selector, "v2 f v5 c ."), "5=2 0,0 ")
        << "the last option stays; an index past the options is refused";
}

TEST(SliderRules, ValueTextHeldPressesAndWideMargins) {
    Slider slider, binary;
    parseText(slider, "Assets/gui/vol.sli", "slider.png\n100\n16\n10,4\n8\n0,100\n10\nCENTER\t0,-2\t4,1\n");
    readBytes(binary, kSliderFile);
    ASSERT_TRUE(slider.valueText && binary.valueText);
    slider.setValue(5);
    EXPECT_EQ(slider.valueText->text + binary.valueText->text, "005000")
        << "a binary slider shows its value from construction";
    // Held Right (or Left) steps frame after frame: every pressed look must still end.
    for (int pressed : {2, 4, 5}) {
        slider.setValue(50);
        slider.setState(1);
        slider.pressTimer = 150;
        slider.setState(pressed);
        slider.setState(pressed);
        EXPECT_EQ(std::make_tuple(slider.pressTimer, slider.fillRect.x, slider.highlightY),
                  std::make_tuple(0u, 20, uint16_t{2 * 16 + 8}))
            << pressed;
        play(slider, "t201");
        EXPECT_EQ(slider.state, 1) << "held Right must not leave the slider pressed: " << pressed;
    }
    Slider wideFill;
    parseText(wideFill, "w.sli", "slider.png\n120\n16\n-300000000,4\n8\n0,100\n1\n");
    EXPECT_EQ(wideFill.fillLength(), 120) << "a negative margin fills no more than the bar";
}

TEST(GraphicElementTiming, FramesAdvanceOncePerTickAndStopWithoutLoop) {
    GraphicElement strip;
    parseText(strip, "s.gfx", "s.png\n10\n20\nno\nYES\n3\n100\n100\n100\n");
    strip.animated = 1;
    frameDeltaMs = 18;
    std::vector<uint16_t> seen;
    for (int i = 0; i < 40; ++i) {
        strip.update();
        if (seen.empty() || seen.back() != strip.frame) seen.push_back(strip.frame);
    }
    EXPECT_EQ(std::tuple(seen, strip.source.y), std::tuple(std::vector<uint16_t>{0, 1, 2}, 40));

    // 18 ms is not above 18; a frame of 0 ms still lasts one tick; side-by-side frames step across.
    strip.frameDurations = {18, 0, 0};
    strip.frame = strip.frameTime = 0;
    strip.loop = 1;
    strip.verticalStrip = 0;
    std::string shown;
    for (int i = 0; i < 4; ++i) {
        strip.update();
        shown += std::to_string(strip.frame) + "@" + std::to_string(strip.source.x) + " ";
    }
    EXPECT_EQ(shown, "0@0 1@10 2@20 0@0 ");
}

// The glide itself, a pixel per 10 ms at speed 100, is walked by the menus' fly-in.
TEST(GraphicElementMovement, SnapsAtATargetItWouldPass) {
    GraphicElement e;
    e.target = {-5, 7};
    frameDeltaMs = 18;
    e.moveTowardTarget(50000);
    EXPECT_EQ((std::array<int32_t, 3>{e.x, e.y, e.yMilli}), (std::array<int32_t, 3>{-5, 7, 7000}));
}

TEST(GraphicElementFiles, DescriptionsReadLinesByRule) {
    // Negative sizes read as 0, only YES is yes, an empty line is a line (a duration of 0), missing
    // durations are 0.
    GraphicElement e;
    parseText(e, "Assets/gui/logo.gfx", "# made by hand\r\nlogo.png\r\n32\n-4\nyes\nYES\n3\n\r\n60\n");
    EXPECT_EQ(writeBytes(e), str("Assets/gui/logo.png") + u32(0) + u32(0) + u16(32) + u16(0) + u16(3) +
                                 u16(0) + u16(60) + u16(0) + u16(0) + u16(0) + u8(0) + u8(1));

    // A 100 x 80 picture in 4 x 2 cells: cell 6 is the second of the second row; missing fields are
    // 0; the first frame shows at once.
    GraphicAnimation a;
    parseText(a, "anim.ani", "sheet.png\n4\n2\nYES\n3\n100\t6\t3,-2\n40\t1,2,3,4\n7\n");
    const std::string cell6 = u32(25) + u32(40) + u16(25) + u16(40), none = u32(0) + u32(0);
    EXPECT_EQ(writeBytes(a), str("sheet.png") + u16(4) + u16(2) + cell6 + u16(3) + u16(100) + cell6 + u32(3) +
                                 u32(-2) + u16(40) + u32(1) + u32(2) + u16(3) + u16(4) + none + u16(7) +
                                 none + u32(0) + none + u16(0) + u16(0) + u8(1) + u8(1));
}

// The binary forms against their bytes: little-endian, packed, fields in the fixed order.
TEST(GraphicElementFiles, BinaryFormsHoldTheirFieldsInOrder) {
    const std::string element = str("a.png") + u32(-3) + u32(4) + u16(50) + u16(60) // source
                                + u16(2) + u16(11) + u16(22)                        // durations
                                + u16(1) + u16(9) + u8(1) + u8(0); // frame, time, loop, strip
    GraphicElement e;
    readBytes(e, element);
    EXPECT_EQ(writeBytes(e), element);

    // The animation's grid sits between its path and its source rectangle.
    const std::string animation = str("b.png") + u16(3) + u16(2) + u32(0) + u32(0) + u16(8) + u16(4) +
                                  u16(1) + u16(5) + u32(1) + u32(2) + u16(3) + u16(4) // 5 ms, rect
                                  + u32(-1) + u32(9) + u16(0) + u16(6) + u8(0) + u8(1);
    GraphicAnimation a;
    readBytes(a, animation);
    EXPECT_EQ(writeBytes(a), animation);

    // A file cut short keeps what could not be read: the strip flag stays 1, not the file's 0.
    GraphicElement cut;
    readBytes(cut, element.substr(0, element.size() - 1));
    EXPECT_EQ(cut.frameTime * 10 + cut.verticalStrip, 91);
}
