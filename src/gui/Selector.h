#pragma once
// Selector — a bar between a left and a right arrow that cycles through a list of texts.
// Picture, left to right: left arrow (A), left bar end (P), bar middle (P), right bar end (P),
// right arrow (A); one row per look (normal, focused, pressed, disabled).
// Owns: its option texts. Never: holds an option entry without a text; a selector with no
// options selects nothing (value -1) and draws no text; a piece width of 0 draws no middle.
// On failure: a file not named ".sel", or missing, leaves it without picture and options.
#include <memory>
#include <vector>

#include "gui/GUIElement.h"

class Selector final : public GUIElement {
  public:
    Selector();

    bool isKindOf(int kind) const override { return kind == 25 || kind == 26 || kind == 28; }
    bool isWidget() const override { return true; }
    bool acceptsName(const std::string& name) const override;
    void update() override;
    void draw() override;
    void drawAt(int32_t atX, int32_t atY) override;
    bool hitTest(int32_t px, int32_t py) override;
    void setState(int32_t s) override;
    void step(bool forward) override;
    void setValue(int32_t v) override;
    int32_t getValue() const override;
    void refreshTexts() override;
    void parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                               TextureLookup& textures) override;
    void readBinary(ByteSource& in, TextureLookup& textures) override;
    void writeBinary(ByteSink& out) const override;

    ClipRect arrowRect;
    ClipRect pieceRect;
    std::vector<std::unique_ptr<TextLine>> options;
    std::vector<uint16_t> optionOffsetsY;
    uint8_t leftArrowHit = 0, rightArrowHit = 0;
    uint8_t wrap = 1;
    int32_t selected = 0;

  protected:
    void placeTexts() override;

  private:
    void drawBody(int32_t atX, int32_t atY);
    TextLine* shownOption() const;
};
