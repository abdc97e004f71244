#pragma once
// TextBox — a text of several lines ("|" separates them), shown page by page and optionally typed
// glyph by glyph. A GUI drawable placed, moved and drawn like the other elements.
//
// Owns: its TextLines. Never: turns a page or leaves by itself; the scene decides on key presses
// from `finished` and `pageFull`.
// On failure: never throws; with no font every line is empty and the box draws nothing.
#include <memory>
#include <string>
#include <vector>

#include "gui/GraphicElement.h"
#include "text/TextLine.h"

class TextBox final : public GraphicElement {
  public:
    static constexpr uint16_t kSpeedDelays[5] = {400, 200, 100, 70, 20};

    TextBox() = default;
    // A box whose lines use `font` and band `colour` (HUD texts, countdowns, the level's messages).
    TextBox(uint16_t font, uint8_t colour) : fontIndex(font), colour_(colour) {}

    void update() override;
    void draw() override;
    void setPosition(int32_t atX, int32_t atY) override;
    void setX(int32_t atX) override;
    void setY(int32_t atY) override;
    bool isKindOf(int kind) const override { return kind == 25 || kind == 32; }

    void setText(const std::string& textKey, int32_t atX, int32_t atY);
    void setTextTyped(const std::string& textKey, const std::string& speedName, int32_t atX, int32_t atY,
                      const std::string& fontText);
    void setTextDelayed(const std::string& textKey, uint16_t delayMs, int32_t atX, int32_t atY,
                        const std::string& fontText);
    void setAlignment(uint32_t horizontal, uint32_t vertical);
    void setTypingSpeed(uint32_t code);
    void setTypingDelay(uint16_t ms);
    void nextPage();
    void refreshText();
    void replaceVariable(const std::string& value);
    void drawWithBackdrop();
    void placeLinesAt32();

    static uint32_t speedCode(const std::string& name);

    // Small operations the scenes need: a literal text (key "raw") that a language change keeps;
    void setRawText(const std::string& text, int32_t atX, int32_t atY);
    // every line recoloured (the warning and win colours of the level's messages);
    void setColour(uint8_t colour);
    // the box drawn once more in another band, offset (a shadow, a blink), nothing changed;
    void drawInBand(uint8_t band, int16_t dx, int16_t dy);
    // only the first `count` lines of the page are drawn (the credits reveal line by line).
    void setShownLineCount(uint16_t count) { shownLines_ = count; }

    std::string key;
    std::string rawText;
    std::vector<std::unique_ptr<TextLine>> lines;
    uint16_t fontIndex = 0;
    uint16_t lineCount = 0;
    uint16_t totalHeight = 0;
    uint16_t maxWidth = 0;
    uint16_t currentLine = 0;
    bool finished = false;
    uint16_t pageStart = 0;
    uint16_t linesPerPage = 4;
    bool pageFull = false;
    int16_t verticalOffset = 0;
    uint32_t horizontalAlign = 0;
    uint32_t verticalAlign = 1;

  private:
    void buildLines(const std::string& text, uint8_t colour);
    void placeLines(uint16_t pitch);
    uint16_t lineHeight() const;
    uint16_t pageEnd() const;
    uint16_t shownEnd() const;

    uint8_t colour_ = 0;
    uint16_t shownLines_ = 0xFFFF;
    bool pitch32_ = false;
};
