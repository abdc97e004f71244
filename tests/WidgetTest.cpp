// Buttons, selectors, sliders and switches: their looks, presses, steps and values, and both file
// forms. No GL and no texts here: pictures come from a fake lookup, and text lines have no font.
#include <gtest/gtest.h>
#include <map>

#include "base/FrameClock.h"
#include "gui/Button.h"
#include "gui/ElementServices.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"

namespace {
class FakeTextures final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& w, uint16_t& h) override {
        asked.push_back(path);
        w = width, h = 80;
        return path.find("missing") == std::string::npos ? 9 : -1;
    }
    uint16_t width = 100;
    std::vector<std::string> asked;
};

class FakeFiles final : public ElementFileLookup {
  public:
    bool readPackFile(const std::string& name, std::vector<uint8_t>& bytes) override {
        return find(pack, name, bytes);
    }
    bool readDiskFile(const std::string& path, std::vector<uint8_t>& bytes) override {
        return find(disk, path, bytes);
    }
    std::map<std::string, std::string> pack, disk;

  private:
    static bool find(const std::map<std::string, std::string>& files, const std::string& name,
                     std::vector<uint8_t>& bytes) {
        const auto it = files.find(name);
        if (it == files.end()) return false;
        bytes.assign(it->second.begin(), it->second.end());
        return true;
    }
};

template <class E> void parse(E& element, const std::string& name, const std::string& text) {
    FakeTextures textures;
    element.parseDescriptionBytes(name, reinterpret_cast<const uint8_t*>(text.data()), text.size(), textures);
}

template <class E> void readBytes(E& element, const std::string& bytes) {
    FakeTextures textures;
    MemorySource in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    element.readBinary(in, textures);
}

template <class E> std::string writeBytes(const E& element) {
    ByteSink out;
    element.writeBinary(out);
    return std::string(out.bytes.begin(), out.bytes.end());
}

// Little-endian pieces of a hand-built binary file.
std::string u8(uint8_t v) {
    return std::string(1, static_cast<char>(v));
}
std::string u16(uint16_t v) {
    return u8(v & 0xFF) + u8(v >> 8);
}
std::string u32(uint32_t v) {
    return u16(v & 0xFFFF) + u16(v >> 16);
}
std::string str(const std::string& s) {
    return u16(static_cast<uint16_t>(s.size())) + s;
}
std::string textRef(const std::string& key, uint16_t font, uint8_t colour) {
    return str(key) + u16(font) + u8(colour);
}

void tick(GUIElement& widget, int frames, uint32_t ms) {
    frameDeltaMs = ms;
    for (int i = 0; i < frames; ++i)
        widget.update();
}
} // namespace

TEST(ButtonRules, LooksLieAcrossTheStripAndPressesLast201Ms) {
    Button button;
    button.source = {0, 0, 120, 20};
    button.setState(2);
    EXPECT_EQ(button.source.x, 240) << "a vertical strip keeps its looks in columns";
    EXPECT_EQ(button.source.y, 0);
    button.verticalStrip = 0;
    button.setState(3);
    EXPECT_EQ(button.source.y, 60) << "side-by-side frames keep their looks in rows";

    button.setState(1);
    button.setState(7);
    EXPECT_EQ(button.state, 1) << "an unknown state leaves the state";
    EXPECT_EQ(button.previousState, 1);
    button.setState(-1);
    EXPECT_EQ(button.state, 1) << "a negative state would index before the texts";

    button.verticalStrip = 1;
    button.setState(2);
    tick(button, 200, 1);
    EXPECT_EQ(button.state, 2) << "still pressed after 200 ms";
    tick(button, 1, 1);
    EXPECT_EQ(button.state, 1) << "back to the focused look at 201 ms";
    EXPECT_EQ(button.source.x, 120);
    EXPECT_EQ(button.pressTimer, 0u);
}

TEST(ButtonFiles, DescriptionTextsCommentsAndNames) {
    Button button;
    parse(button, "Assets/gui/ok.btn",
          "# a button\r\nbutton.png\r\n120\r\n20\r\nYES\r\nYES\r\n1\r\n0\r\n"
          "NO_TEXT\r\nMENU_OK\t4,2\t-3\tSHADOW\tLEFT\t5\r\nNO_TEXT\r\nNO_TEXT\r\n");
    EXPECT_EQ(button.imagePath, "Assets/gui/button.png");
    EXPECT_EQ(button.texture, 9);
    EXPECT_EQ(button.source.w, 120);
    EXPECT_EQ(button.source.h, 20);
    ASSERT_TRUE(button.stateTexts[0]);
    EXPECT_EQ(button.stateTexts[0]->key, "MENU_OK");
    EXPECT_EQ(button.stateTexts[0]->fontIndex, 4);
    EXPECT_EQ(button.stateTexts[0]->colour, 2);
    EXPECT_FALSE(button.stateTexts[1]);
    EXPECT_FALSE(button.stateTexts[2]);
    EXPECT_FALSE(button.stateTexts[3]);
    EXPECT_EQ(button.textShadow, 1);
    EXPECT_EQ(button.textAlign, 0u);
    EXPECT_EQ(button.textOffsetsX[0], 5);
    EXPECT_EQ(button.currentText, button.stateTexts[0].get());
    // Left-aligned at x plus the x offset; the offset of -3 moves the text up.
    button.setPosition(40, 100);
    EXPECT_EQ(button.currentText->x, 45);
    EXPECT_EQ(button.currentText->y, 100 + 10 - 3);

    Button noImage;
    parse(noImage, "Assets/gui/t.btn", "NO_IMAGE\n30\n10\nno\nyes\n1\n0\nKEY_ONE\t0,0\n");
    EXPECT_EQ(noImage.imagePath, "NO_IMAGE");
    EXPECT_EQ(noImage.texture, -1);
    EXPECT_EQ(noImage.verticalStrip, 0) << "only YES in capitals is yes";
    ASSERT_TRUE(noImage.stateTexts[0]);

    Button wrongName;
    parse(wrongName, "Assets/gui/ok.sel", "button.png\n120\n20\n");
    EXPECT_EQ(wrongName.imagePath, "NULL");
    EXPECT_EQ(wrongName.source.w, 0);

    Button shortFile;
    parse(shortFile, "Assets/gui/s.btn", "button.png\n64\n");
    EXPECT_EQ(shortFile.source.w, 64);
    EXPECT_EQ(shortFile.source.h, 0);
    EXPECT_EQ(shortFile.frameCount, 1);
    EXPECT_EQ(shortFile.textAlign, 2u);
}

TEST(ButtonFiles, BinaryFormFieldByField) {
    const std::string file = str("Assets/gui/b.png") + u32(3) + u32(0xFFFFFFFE) + u16(120) + u16(20) +
                             u16(2) + u16(100) + u16(150) + u16(1) + u16(7) + u8(0) + u8(1) + u16(2) +
                             u16(0) + textRef("MENU_PLAY", 4, 1) +               //
                             u16(0) + u16(0) + textRef("NO_TEXT", 0, 0) +        //
                             u16(0xFFFD) + u16(6) + textRef("MENU_PLAY", 5, 2) + //
                             u16(0) + u16(0) + textRef("NO_TEXT", 0, 0) + u8(1) + u32(3);
    Button button;
    readBytes(button, file);
    EXPECT_EQ(button.imagePath, "Assets/gui/b.png");
    EXPECT_EQ(button.texture, 9);
    EXPECT_EQ(button.source.w, 120);
    EXPECT_EQ(button.frameCount, 2);
    EXPECT_EQ(button.frameDurations, (std::vector<uint16_t>{100, 150}));
    EXPECT_EQ(button.loop, 0);
    ASSERT_TRUE(button.stateTexts[0]);
    EXPECT_EQ(button.stateTexts[0]->key, "MENU_PLAY");
    EXPECT_FALSE(button.stateTexts[1]);
    ASSERT_TRUE(button.stateTexts[2]);
    EXPECT_EQ(button.stateTexts[2]->fontIndex, 5);
    EXPECT_EQ(button.textOffsetsY[2], 0xFFFD);
    EXPECT_EQ(button.textShadow, 1);
    EXPECT_EQ(button.textAlign, 3u);
    // The reader ends in the normal look, which moves the source to that cell: the writer then
    // writes what the button holds, not what the file held.
    EXPECT_EQ(button.source.x, 0);
    EXPECT_EQ(writeBytes(button), file.substr(0, 18) + u32(0) + file.substr(22));

    Button missing;
    missing.imagePath = "x";
    FakeFiles files;
    FakeTextures textures;
    files.disk["Assets/gui/b.bin"] = file;
    missing.loadFrom("Assets/gui/b.bin", files, textures);
    EXPECT_EQ(missing.imagePath, "x") << "a binary file not named .btn is not read";
    files.disk["Assets/gui/b.bin.btn"] = file;
    missing.loadFrom("Assets/gui/b.bin.btn", files, textures);
    EXPECT_EQ(missing.imagePath, "Assets/gui/b.png");

    Button noImage;
    textures.asked.clear();
    const std::string bytes = str("NO_IMAGE");
    MemorySource in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    noImage.readBinary(in, textures);
    EXPECT_EQ(noImage.texture, -1);
    EXPECT_TRUE(textures.asked.empty()) << "NO_IMAGE is no picture to fetch";
}

TEST(SelectorRules, WrapsStepsAndPressesTowardTheArrowUnderThePointer) {
    Selector selector;
    parse(selector, "Assets/gui/lang.sel",
          "selector.png\n160\n20\n20\n3\nLANG_A\t1,0\nLANG_B\t1,0\t2\n#\nLANG_C\t1,0\n");
    EXPECT_EQ(selector.arrowRect.w, 20);
    EXPECT_EQ(selector.pieceRect.w, 20) << "(100 - 2 x 20) / 3";
    EXPECT_EQ(selector.arrowRect.h, 20);
    ASSERT_EQ(selector.options.size(), 3u);
    EXPECT_EQ(selector.optionOffsetsY[1], 2);
    EXPECT_EQ(selector.options[2]->key, "LANG_C");

    selector.setValue(2);
    selector.step(true);
    EXPECT_EQ(selector.getValue(), 0);
    EXPECT_EQ(selector.changed, 1);
    selector.step(false);
    EXPECT_EQ(selector.getValue(), 2);
    EXPECT_EQ(selector.state, 4);
    EXPECT_EQ(selector.previousState, 1);
    EXPECT_EQ(selector.pieceRect.y, 40) << "the bar shows the pressed row";
    tick(selector, 201, 1);
    EXPECT_EQ(selector.state, 1);
    EXPECT_EQ(selector.changed, 0);

    selector.setPosition(10, 50);
    selector.setValue(1);
    ASSERT_TRUE(selector.hitTest(12, 55)) << "left arrow";
    EXPECT_EQ(selector.leftArrowHit, 1);
    selector.setState(2);
    EXPECT_EQ(selector.getValue(), 0) << "a press on the left arrow goes back";
    EXPECT_EQ(selector.state, 4);
    tick(selector, 201, 1);
    ASSERT_TRUE(selector.hitTest(90, 55)) << "the bar, not an arrow";
    EXPECT_EQ(selector.leftArrowHit + selector.rightArrowHit, 0);
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
}

TEST(SelectorRules, ShortOrEmptyOptionListsHoldNoEmptyEntries) {
    Selector shortFile;
    parse(shortFile, "Assets/gui/lang.sel", "selector.png\n160\n20\n20\n7\nLANG_A\t1,0\nLANG_B\t1,0\n");
    ASSERT_EQ(shortFile.options.size(), 2u) << "cut to the lines read";
    ASSERT_EQ(shortFile.optionOffsetsY.size(), 2u);
    for (int i = 0; i < 5; ++i)
        shortFile.step(false);
    EXPECT_EQ(shortFile.getValue(), 1);

    Selector longFile;
    parse(longFile, "Assets/gui/lang.sel", "selector.png\n160\n20\n20\n1\nLANG_A\t1,0\nLANG_B\t1,0\n");
    EXPECT_EQ(longFile.options.size(), 1u) << "lines past the count are not options";

    Selector empty;
    parse(empty, "Assets/gui/e.sel", "selector.png\n160\n20\n20\n0\n");
    empty.step(true);
    empty.step(false);
    empty.setValue(0);
    empty.draw();
    EXPECT_EQ(empty.getValue(), -1) << "no options, nothing selected";
    EXPECT_EQ(empty.changed, 0);

    Selector narrow;
    FakeTextures slim;
    slim.width = 30;
    const std::string text = "selector.png\n160\n20\n20\n0\n";
    narrow.parseDescriptionBytes("n.sel", reinterpret_cast<const uint8_t*>(text.data()), text.size(), slim);
    EXPECT_EQ(narrow.pieceRect.w, 0) << "a picture narrower than two arrows has no pieces";
    narrow.draw(); // and draws no middle tiles rather than stepping by 0 for ever
}

TEST(SelectorFiles, BinaryFormFieldByField) {
    const std::string file = str("s.png") + u32(0) + u32(0) + u16(160) + u16(20) + u16(12) + u16(16) +
                             u16(2) + u16(3) + textRef("LANG_A", 1, 0) + u16(0) + textRef("LANG_B", 2, 1);
    Selector selector;
    readBytes(selector, file);
    EXPECT_EQ(selector.arrowRect.w, 12);
    EXPECT_EQ(selector.pieceRect.w, 16);
    EXPECT_EQ(selector.arrowRect.h, 20);
    EXPECT_EQ(selector.pieceRect.h, 20);
    ASSERT_EQ(selector.options.size(), 2u);
    EXPECT_EQ(selector.optionOffsetsY[0], 3);
    EXPECT_EQ(selector.options[1]->fontIndex, 2);
    EXPECT_EQ(writeBytes(selector), file);

    Selector cut;
    readBytes(cut, file.substr(0, file.size() - 14));
    EXPECT_EQ(cut.options.size(), 1u) << "an option whose key is missing is not made";
}

TEST(SliderRules, StepsPressesAndTheValueText) {
    Slider slider;
    parse(slider, "Assets/gui/vol.sli", "slider.png\n100\n16\n10,4\n8\n0,100\n10\nCENTER\t0,-2\t4,1\n");
    EXPECT_EQ(slider.value, 100) << "starts at its maximum";
    EXPECT_EQ(slider.source.y, 8);
    EXPECT_EQ(slider.fillMargin, 10);
    EXPECT_EQ(slider.fillY, 4);
    ASSERT_TRUE(slider.valueText);
    EXPECT_EQ(slider.valueText->text, "100");
    EXPECT_EQ(slider.valueText->fontIndex, 4);

    slider.changed = 0;
    slider.step(true);
    EXPECT_EQ(slider.value, 100);
    EXPECT_EQ(slider.changed, 0) << "at its limit a slider reports no change";
    slider.setValue(5);
    EXPECT_EQ(slider.valueText->text, "005");
    slider.setValue(300);
    EXPECT_EQ(slider.value, 100);
    slider.setValue(0);
    slider.step(false);
    EXPECT_EQ(slider.changed, 1) << "set by setValue, and the step at 0 changes nothing more";
    EXPECT_EQ(slider.value, 0);

    // Keyboard presses: at the minimum to the maximum, from anywhere else to the minimum.
    slider.setState(2);
    EXPECT_EQ(slider.value, 100);
    slider.setState(2);
    EXPECT_EQ(slider.value, 0);
    slider.setState(2);
    EXPECT_EQ(slider.value, 100);
}

TEST(SliderRules, EveryPressedLookReturnsToFocus) {
    for (int pressed : {2, 4, 5}) {
        Slider slider;
        parse(slider, "v.sli", "slider.png\n100\n16\n10,4\n8\n0,100\n10\n");
        slider.setValue(50);
        slider.setState(1);
        slider.pressTimer = 150;
        // Held Right (or Left) steps frame after frame: the press look must still end.
        slider.setState(pressed);
        slider.setState(pressed);
        EXPECT_EQ(slider.previousState, 1) << pressed;
        EXPECT_EQ(slider.pressTimer, 0u) << pressed;
        EXPECT_EQ(slider.fillRect.x, 20) << pressed;
        EXPECT_EQ(slider.highlightY, 2 * 16 + 8) << pressed;
        tick(slider, 201, 1);
        EXPECT_EQ(slider.state, 1) << "held Right must not leave the slider pressed: " << pressed;
    }
}

TEST(SliderRules, PointerValueAndEmptyRanges) {
    Slider slider;
    parse(slider, "Assets/gui/vol.sli", "slider.png\n100\n16\n10,4\n8\n0,80\n1\nNO_TEXT\n");
    EXPECT_FALSE(slider.valueText);
    slider.setPosition(50, 50);
    slider.setValue(40);
    slider.draw();
    ASSERT_TRUE(slider.hitTest(80, 55));
    EXPECT_EQ(slider.pointerValue, 20u) << "30 pixels into a 100-wide bar with margin 10, range 0..80";
    slider.setState(2);
    EXPECT_EQ(slider.value, 20) << "a pointer press takes the value under the pointer";
    EXPECT_EQ(slider.hovered, 0);
    EXPECT_EQ(slider.fillLength(), 20);
    ASSERT_TRUE(slider.hitTest(150, 55));
    EXPECT_EQ(slider.pointerValue, 80u) << "limited to the maximum";

    Slider upsideDown;
    parse(upsideDown, "u.sli", "slider.png\n100\n16\n10,4\n8\n50,10\n1\n");
    upsideDown.setValue(30);
    upsideDown.setState(2);
    upsideDown.step(true);
    upsideDown.step(false);
    EXPECT_TRUE(upsideDown.emptyRange());
    EXPECT_EQ(upsideDown.fillLength(), 0);
    upsideDown.hitTest(20, 5);

    Slider flat;
    parse(flat, "f.sli", "slider.png\n100\n16\n10,4\n8\n50,50\n1\n");
    flat.setValue(50);
    flat.hitTest(30, 5);
    EXPECT_TRUE(flat.emptyRange()) << "min equal to max";
    EXPECT_EQ(flat.fillLength(), 0);

    Slider thin;
    FakeTextures sliver;
    sliver.width = 2;
    const std::string thinText = "slider.png\n100\n16\n10,4\n8\n0,100\n1\n";
    thin.parseDescriptionBytes("t.sli", reinterpret_cast<const uint8_t*>(thinText.data()), thinText.size(),
                               sliver);
    thin.draw(); // a picture under three pixels wide has no piece to step by

    Slider wideFill;
    parse(wideFill, "w.sli", "slider.png\n120\n16\n-300000000,4\n8\n0,100\n1\n");
    EXPECT_EQ(wideFill.fillLength(), 120) << "a negative margin fills no more than the bar";

    Slider narrow;
    parse(narrow, "n.sli", "slider.png\n20\n16\n10\n8\n0,100\n1\n");
    EXPECT_EQ(narrow.fillY, 0) << "one number in a two-number field: the second reads 0";
    narrow.setValue(50);
    EXPECT_TRUE(narrow.emptyRange()) << "no bar inside the margins";
    EXPECT_EQ(narrow.fillLength(), 0);
    EXPECT_TRUE(narrow.hitTest(5, 5));
    EXPECT_EQ(narrow.pointerValue, 0u);
}

TEST(SliderFiles, BinaryFormFieldByField) {
    const std::string file = str("v.png") + u32(0) + u32(8) + u16(100) + u16(16) + u32(10) + u32(4) + u16(8) +
                             u16(0xFFFB) + u16(80) + u16(5) + u16(3) + u32(0xFFFFFFF0) + u32(2) + u16(4) +
                             u8(1);
    Slider slider;
    readBytes(slider, file);
    EXPECT_EQ(slider.fillMargin, 10);
    EXPECT_EQ(slider.fillHeight, 8);
    EXPECT_EQ(slider.minValue, -5);
    EXPECT_EQ(slider.maxValue, 80);
    EXPECT_EQ(slider.stepSize, 5);
    EXPECT_EQ(slider.textPlacement, 3);
    EXPECT_EQ(slider.textOffsetX, -16);
    ASSERT_TRUE(slider.valueText);
    EXPECT_EQ(slider.valueText->text, "000") << "the value after construction, as three digits";
    EXPECT_EQ(writeBytes(slider), file);
}

TEST(SwitchRules, PressesHalvesAndStayOn) {
    SwitchButton lamp;
    parse(lamp, "Assets/gui/lamp.swt", "switch.png\n80\n20\nno\nYES\nOPT_ON\t0,0\n");
    EXPECT_EQ(lamp.stayOn, 1);
    EXPECT_EQ(lamp.twoLabels, 0);
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
    parse(full, "Assets/gui/full.swt",
          "switch.png\n80\n20\nYES\nno\nOPT_NO\t0,0\nOPT_YES\t0,0\t2\nNO_TEXT\nOPT_NO\t0,1\nOPT_YES\t0,1\n");
    ASSERT_TRUE(full.offLabels[0] && full.onLabels[0] && full.offLabels[1] && full.onLabels[1]);
    EXPECT_EQ(full.onLabels[0]->key, "OPT_YES");
    EXPECT_EQ(full.onLabelOffsetsY[0], 2);
    EXPECT_EQ(full.offLabels[1]->colour, 1);
    EXPECT_FALSE(full.offLabels[2]);
    full.setPosition(0, 0);
    full.setValue(1);
    ASSERT_TRUE(full.hitTest(40, 10)) << "the shared middle belongs to the left half";
    EXPECT_EQ(full.offHalfHit, 1);
    full.setState(1);
    full.setState(2);
    EXPECT_EQ(full.value, 0u);
    EXPECT_EQ(full.source.x, 0);
    ASSERT_TRUE(full.hitTest(41, 10));
    EXPECT_EQ(full.onHalfHit, 1);
    full.setState(2);
    EXPECT_EQ(full.value, 1u);
    EXPECT_EQ(full.source.x, 80);
}

TEST(SwitchFiles, BinaryFormCarriesOnLabelsOnlyInTwoLabelMode) {
    std::string single = str("NO_IMAGE") + u32(0) + u32(0) + u16(80) + u16(20) + u8(0) + u8(1);
    for (int i = 0; i < 4; ++i)
        single +=
            u16(static_cast<uint16_t>(i)) + (i == 1 ? textRef("OPT_ON", 3, 2) : textRef("NO_TEXT", 0, 0));
    SwitchButton lamp;
    readBytes(lamp, single + u16(0) + textRef("OPT_YES", 0, 0));
    EXPECT_FALSE(lamp.onLabels[0]) << "a one-label file carries no on-labels";
    EXPECT_EQ(lamp.texture, -1);
    ASSERT_TRUE(lamp.offLabels[1]);
    EXPECT_EQ(lamp.offLabels[1]->fontIndex, 3);
    EXPECT_EQ(lamp.offLabelOffsetsY[3], 3);
    EXPECT_EQ(writeBytes(lamp), single);

    std::string both = single;
    both[22] = 1; // the two-label byte, after the 22-byte head
    for (int i = 0; i < 4; ++i)
        both += u16(0) + textRef("OPT_YES", 0, 0);
    SwitchButton full;
    readBytes(full, both);
    EXPECT_EQ(full.twoLabels, 1);
    ASSERT_TRUE(full.onLabels[3]);
    EXPECT_EQ(full.onLabels[3]->key, "OPT_YES");
    EXPECT_EQ(writeBytes(full), both);
}

TEST(TextLineKeys, KeyPlaceAndAlignmentAreKeptWithoutALanguage) {
    TextLine line(3, 1);
    line.setKey(12, 34, "MENU_PLAY", TextLine::Right);
    EXPECT_EQ(line.key, "MENU_PLAY");
    EXPECT_EQ(line.x, 12);
    EXPECT_EQ(line.y, 34);
    EXPECT_EQ(line.align, TextLine::Right);
    EXPECT_EQ(line.fontIndex, 3);
}
