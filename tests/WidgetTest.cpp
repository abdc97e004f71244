// Buttons, selectors, sliders and switches: their looks, presses, steps and values, and both file
// forms. No GL and no texts here: pictures come from a fake lookup, and text lines have no font.
#include <gtest/gtest.h>
#include <memory>

#include "Fakes.h"
#include "base/FrameClock.h"
#include "gui/Button.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"

namespace {
void tick(GUIElement& widget, int frames, uint32_t ms) {
    frameDeltaMs = ms;
    for (int i = 0; i < frames; ++i)
        widget.update();
}

template <class W> std::unique_ptr<GUIElement> make() {
    return std::make_unique<W>();
}

std::string head(const std::string& image, int32_t x, int32_t y, uint16_t w, uint16_t h) {
    return str(image) + u32(static_cast<uint32_t>(x)) + u32(static_cast<uint32_t>(y)) + u16(w) + u16(h);
}
std::string noText() {
    return textRef("NO_TEXT", 0, 0);
}
// Frame count and durations, frame, frame time, loop, vertical strip.
std::string strip(const std::string& durations, uint8_t loop, uint8_t vertical) {
    return u16(static_cast<uint16_t>(durations.size() / 2)) + durations + u16(0) + u16(0) + u8(loop) +
           u8(vertical);
}
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
} // namespace

TEST(WidgetFiles, EachFormReadsToTheBytesOfItsBinaryForm) {
    const std::string none = u16(0) + u16(0) + noText(), label = u16(0) + noText();
    const FileCase cases[] = {
        {"button description", make<Button>, "Assets/gui/ok.btn",
         "# a button\r\nbutton.png\r\n120\r\n20\r\nYES\r\nYES\r\n1\r\n0\r\n"
         "NO_TEXT\r\nMENU_OK\t4,2\t-3\tSHADOW\tLEFT\t5\r\nNO_TEXT\r\nNO_TEXT\r\n",
         head("Assets/gui/button.png", 0, 0, 120, 20) + strip(u16(0), 1, 1) + u16(0xFFFD) + u16(5) +
             textRef("MENU_OK", 4, 2) + none + none + none + u8(1) + u32(0),
         9},
        {"button without picture, lower-case yes", make<Button>, "Assets/gui/t.btn",
         "NO_IMAGE\n30\n10\nno\nyes\n1\n0\nKEY_ONE\t0,0\n",
         head("NO_IMAGE", 0, 0, 30, 10) + strip(u16(0), 0, 0) + u16(0) + u16(0) + textRef("KEY_ONE", 0, 0) +
             none + none + none + u8(0) + u32(2),
         -1},
        {"button cut short", make<Button>, "Assets/gui/s.btn", "button.png\n64\n",
         head("Assets/gui/button.png", 0, 0, 64, 0) + strip(u16(0), 1, 1) + none + none + none + none +
             u8(0) + u32(2),
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
        files.pack[c.name] = files.disk[c.name] = c.content;
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

TEST(ButtonRules, LooksLieAcrossTheStripAndPressesLast201Ms) {
    Button button;
    parseText(button, "Assets/gui/ok.btn",
              "button.png\n120\n20\nYES\nYES\n1\n0\nMENU_OK\t4,2\t-3\t\tLEFT\t5\n");
    button.setState(2);
    EXPECT_EQ(button.source.x, 240) << "a vertical strip keeps its looks in columns";
    EXPECT_EQ(button.source.y, 0);
    button.verticalStrip = 0;
    button.setState(3);
    EXPECT_EQ(button.source.y, 60) << "side-by-side frames keep their looks in rows";
    button.setState(1);
    for (int unknown : {7, -1}) {
        button.setState(unknown);
        EXPECT_EQ(button.state, 1) << "a negative state would index before the texts: " << unknown;
    }

    button.verticalStrip = 1;
    button.setState(2);
    tick(button, 200, 1);
    EXPECT_EQ(button.state, 2) << "still pressed after 200 ms";
    tick(button, 1, 1);
    EXPECT_EQ(button.state, 1) << "back to the focused look at 201 ms";
    EXPECT_EQ(button.source.x, 120);

    // Left-aligned at x plus the x offset; the offset of -3 moves the text up.
    button.setState(0);
    button.setPosition(40, 100);
    ASSERT_TRUE(button.currentText);
    EXPECT_EQ(button.currentText->x, 45);
    EXPECT_EQ(button.currentText->y, 100 + 10 - 3);
}

TEST(SelectorRules, WrapsStepsAndPressesTowardTheArrowUnderThePointer) {
    Selector selector;
    parseText(selector, "Assets/gui/lang.sel", "selector.png\n160\n20\n20\n3\nA\t1,0\nB\t1,0\nC\t1,0\n");
    Selector binary;
    readBytes(binary, kSelectorFile);
    for (const Selector* s : {&selector, &binary})
        EXPECT_TRUE(s->arrowRect.h == 20 && s->pieceRect.h == 20)
            << "arrows and pieces are as high as the bar";
    selector.setValue(2);
    selector.step(true);
    EXPECT_EQ(selector.getValue(), 0);
    EXPECT_EQ(selector.changed, 1);
    selector.step(false);
    EXPECT_EQ(selector.getValue(), 2);
    EXPECT_EQ(selector.state, 4);
    EXPECT_EQ(selector.previousState, 1);
    tick(selector, 201, 1);
    EXPECT_EQ(selector.state, 1);
    EXPECT_EQ(selector.changed, 0);

    selector.setPosition(10, 50);
    selector.setValue(1);
    ASSERT_TRUE(selector.hitTest(12, 55)) << "left arrow";
    selector.setState(2);
    EXPECT_EQ(selector.getValue(), 0) << "a press on the left arrow goes back";
    EXPECT_EQ(selector.state, 4);
    tick(selector, 201, 1);
    ASSERT_TRUE(selector.hitTest(90, 55)) << "the bar, not an arrow";
    selector.setState(2);
    EXPECT_EQ(selector.getValue(), 1) << "anywhere else goes forward";
    EXPECT_EQ(selector.state, 5);
    ASSERT_TRUE(selector.hitTest(170, 70)) << "right arrow, both far edges inside";
    EXPECT_EQ(selector.rightArrowHit, 1);

    selector.wrap = 0;
    selector.setValue(2);
    selector.step(true);
    EXPECT_EQ(selector.getValue(), 2) << "without wrap the last option stays";
    selector.setValue(5);
    EXPECT_EQ(selector.getValue(), 2) << "an index past the options is refused";

    Selector empty;
    parseText(empty, "Assets/gui/e.sel", "selector.png\n160\n20\n20\n0\n");
    empty.step(true);
    empty.setValue(0);
    empty.draw();
    EXPECT_EQ(empty.getValue(), -1) << "no options, nothing selected";
    EXPECT_EQ(empty.changed, 0);
    // A picture narrower than two arrows has no pieces, and draws no middle tiles rather than
    // stepping by 0 for ever.
    Selector narrow;
    parseText(narrow, "n.sel", "selector.png\n160\n20\n20\n0\n", 30);
    EXPECT_EQ(narrow.pieceRect.w, 0);
    narrow.draw();
}

TEST(SliderRules, StepsPressesAndTheValueText) {
    Slider slider;
    parseText(slider, "Assets/gui/vol.sli", "slider.png\n100\n16\n10,4\n8\n0,100\n10\nCENTER\t0,-2\t4,1\n");
    EXPECT_EQ(slider.value, 100) << "starts at its maximum";
    ASSERT_TRUE(slider.valueText);
    EXPECT_EQ(slider.valueText->text, "100");
    Slider binary;
    readBytes(binary, kSliderFile);
    ASSERT_TRUE(binary.valueText);
    EXPECT_EQ(binary.valueText->text, "000") << "a binary slider shows its value from construction";
    slider.changed = 0;
    slider.step(true);
    EXPECT_EQ(slider.value, 100);
    EXPECT_EQ(slider.changed, 0) << "at its limit a slider reports no change";
    slider.setValue(5);
    EXPECT_EQ(slider.valueText->text, "005");
    slider.setValue(300);
    EXPECT_EQ(slider.value, 100);

    // Keyboard presses: at the minimum to the maximum, from anywhere else to the minimum.
    slider.setState(2);
    EXPECT_EQ(slider.value, 0);
    slider.setState(2);
    EXPECT_EQ(slider.value, 100);

    // Held Right (or Left) steps frame after frame: every pressed look must still end.
    for (int pressed : {2, 4, 5}) {
        slider.setValue(50);
        slider.setState(1);
        slider.pressTimer = 150;
        slider.setState(pressed);
        slider.setState(pressed);
        EXPECT_EQ(slider.pressTimer, 0u) << pressed;
        EXPECT_EQ(slider.fillRect.x, 20) << pressed;
        EXPECT_EQ(slider.highlightY, 2 * 16 + 8) << pressed;
        tick(slider, 201, 1);
        EXPECT_EQ(slider.state, 1) << "held Right must not leave the slider pressed: " << pressed;
    }
}

TEST(SliderRules, PointerValueAndEmptyRanges) {
    Slider slider;
    parseText(slider, "Assets/gui/vol.sli", "slider.png\n100\n16\n10,4\n8\n0,80\n1\nNO_TEXT\n");
    EXPECT_FALSE(slider.valueText);
    slider.setPosition(50, 50);
    slider.setValue(40);
    slider.draw();
    ASSERT_TRUE(slider.hitTest(80, 55));
    EXPECT_EQ(slider.pointerValue, 20u) << "30 pixels into a 100-wide bar with margin 10, range 0..80";
    slider.setState(2);
    EXPECT_EQ(slider.value, 20) << "a pointer press takes the value under the pointer";
    EXPECT_EQ(slider.fillLength(), 20);
    ASSERT_TRUE(slider.hitTest(150, 55));
    EXPECT_EQ(slider.pointerValue, 80u) << "limited to the maximum";

    // No range, or no bar inside the margins: no fill and no pointer value, and no division by 0.
    for (const char* text :
         {"slider.png\n100\n16\n10,4\n8\n50,10\n1\n", "slider.png\n100\n16\n10,4\n8\n50,50\n1\n",
          "slider.png\n20\n16\n10\n8\n0,100\n1\n"}) {
        Slider empty;
        parseText(empty, "e.sli", text);
        empty.setValue(30);
        empty.setState(2);
        empty.step(true);
        EXPECT_TRUE(empty.emptyRange()) << text;
        EXPECT_EQ(empty.fillLength(), 0) << text;
        EXPECT_TRUE(empty.hitTest(5, 5));
        EXPECT_EQ(empty.pointerValue, 0u) << text;
    }
    Slider wideFill;
    parseText(wideFill, "w.sli", "slider.png\n120\n16\n-300000000,4\n8\n0,100\n1\n");
    EXPECT_EQ(wideFill.fillLength(), 120) << "a negative margin fills no more than the bar";
    Slider thin;
    parseText(thin, "t.sli", "slider.png\n100\n16\n10,4\n8\n0,100\n1\n", 2);
    thin.draw(); // a picture under three pixels wide has no piece to step by
}

TEST(SwitchRules, PressesHalvesAndStayOn) {
    SwitchButton lamp;
    parseText(lamp, "Assets/gui/lamp.swt", "switch.png\n80\n20\nno\nYES\nOPT_ON\t0,0\n");
    lamp.setState(1);
    lamp.setState(2);
    EXPECT_EQ(lamp.value, 1u) << "off turns on";
    EXPECT_EQ(lamp.source.x, 0) << "showing the old position while pressed";
    tick(lamp, 201, 1);
    EXPECT_EQ(lamp.state, 1);
    EXPECT_EQ(lamp.source.x, 80);
    lamp.setState(2);
    EXPECT_EQ(lamp.value, 1u) << "a stay-on switch stays on";

    SwitchButton full;
    parseText(full, "Assets/gui/full.swt", "switch.png\n80\n20\nYES\nno\n");
    full.setPosition(0, 0);
    full.setValue(1);
    ASSERT_TRUE(full.hitTest(40, 10)) << "the shared middle belongs to the left half";
    full.setState(1);
    full.setState(2);
    EXPECT_EQ(full.value, 0u);
    EXPECT_EQ(full.source.x, 0);
    ASSERT_TRUE(full.hitTest(41, 10));
    full.setState(2);
    EXPECT_EQ(full.value, 1u);
    EXPECT_EQ(full.source.x, 80);
}
