#pragma once
// Slider — a bar with a fill that shows a number between a minimum and a maximum, and the number
// as three digits. Picture: the fill strip on top (10-pixel columns per look: normal, focused,
// pressed, disabled), then one frame row per look, each cut into three equal pieces.
// Owns: its value text (absent for "NO_TEXT"). Never: computes a fill or a pointer value for an
// empty range (min not below max) or a bar no wider than twice its margin; steps a tile loop
// by less than a pixel.
// On failure: a file not named ".sli", or missing, leaves an empty range that draws no fill.
#include <memory>

#include "gui/GUIElement.h"

class Slider final : public GUIElement {
  public:
    Slider();

    bool isKindOf(int kind) const override { return kind == 25 || kind == 26 || kind == 30; }
    bool isWidget() const override { return true; }
    bool acceptsName(const std::string& name) const override;
    void update() override;
    void draw() override;
    bool hitTest(int32_t px, int32_t py) override;
    void setState(int32_t s) override;
    void step(bool forward) override;
    void setValue(int32_t v) override;
    int32_t getValue() const override { return value; }
    void parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                               TextureLookup& textures) override;
    void readBinary(ByteSource& in, TextureLookup& textures) override;
    void writeBinary(ByteSink& out) const override;

    // No fill and no value can be computed: min not below max, or no bar inside the margins.
    bool emptyRange() const;
    // Fill length in pixels for the current value; 0 for an empty range.
    int32_t fillLength() const;

    int32_t value = 0;
    uint32_t pointerValue = 0;
    std::unique_ptr<TextLine> valueText;
    int16_t minValue = 0, maxValue = 0;
    uint16_t stepSize = 1;
    uint16_t highlightY = 0;
    ClipRect fillRect{0, 0, 10, 0};
    uint16_t fillHeight = 0;
    uint16_t textPlacement = 0;
    int32_t textOffsetX = 0, textOffsetY = 0;
    int32_t fillMargin = 0;
    int32_t fillY = 0;

  protected:
    void placeTexts() override;

  private:
    void showValue();
    void drawFrame(int32_t row);
};
