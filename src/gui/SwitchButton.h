#pragma once
// SwitchButton — an on/off switch with one label, or two (off on the left half, on on the right).
// Picture: two columns of the widget's width (off at x 0, on at x w), one row per look.
// Owns: its labels. Never: draws a label during a press.
// On failure: a file not named ".swt", or missing, leaves it without picture and labels.
#include <array>
#include <memory>

#include "gui/GUIElement.h"

class SwitchButton final : public GUIElement {
  public:
    SwitchButton() = default;

    bool isKindOf(int kind) const override { return kind == 25 || kind == 26 || kind == 31; }
    bool isWidget() const override { return true; }
    bool acceptsName(const std::string& name) const override;
    void update() override;
    void draw() override;
    bool hitTest(int32_t px, int32_t py) override;
    void setState(int32_t s) override;
    void step(bool forward) override;
    void setValue(int32_t v) override;
    int32_t getValue() const override { return static_cast<int32_t>(value); }
    void refreshTexts() override;
    void parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                               TextureLookup& textures) override;
    void readBinary(ByteSource& in, TextureLookup& textures) override;
    void writeBinary(ByteSink& out) const override;

    uint32_t value = 0;
    TextLine* currentText = nullptr;
    TextLine* currentText2 = nullptr;
    std::array<std::unique_ptr<TextLine>, 4> offLabels;
    std::array<std::unique_ptr<TextLine>, 4> onLabels;
    std::array<uint16_t, 4> offLabelOffsetsY{};
    std::array<uint16_t, 4> onLabelOffsetsY{};
    uint8_t offHalfHit = 0, onHalfHit = 0;
    uint8_t twoLabels = 0;
    uint8_t stayOn = 0;

  protected:
    void placeTexts() override;
};
