#pragma once
// Button — a picture with one text per interaction state. Its looks lie across the animation
// direction: with a vertical strip the state n look is the column at x = width × n.
// Owns: its four state texts. Never: draws a text for a state that has none.
// On failure: a file not named ".btn", or missing, leaves the button empty (no picture, no text).
#include <array>
#include <memory>

#include "gui/GUIElement.h"

class Button final : public GUIElement {
  public:
    Button() = default;

    bool isKindOf(int kind) const override { return kind == 3 || kind == 25 || kind == 26; }
    bool isWidget() const override { return true; }
    bool acceptsName(const std::string& name) const override;
    void update() override;
    void draw() override;
    void drawAt(int32_t atX, int32_t atY) override;
    void setState(int32_t s) override;
    void setValue(int32_t v) override { value = static_cast<uint32_t>(v); }
    int32_t getValue() const override { return static_cast<int32_t>(value); }
    void refreshTexts() override;
    void parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                               TextureLookup& textures) override;
    void readBinary(ByteSource& in, TextureLookup& textures) override;
    void writeBinary(ByteSink& out) const override;

    uint32_t value = 0;
    TextLine* currentText = nullptr;
    std::array<std::unique_ptr<TextLine>, 4> stateTexts;
    std::array<uint16_t, 4> textOffsetsY{};
    std::array<uint16_t, 4> textOffsetsX{};
    uint8_t textShadow = 0;
    uint32_t textAlign = TextLine::Centre;
    uint16_t textAnchorX = 0;

  protected:
    void placeTexts() override;
};
