#pragma once
// TextLine — one line of text laid out once into glyph rectangles and drawn as sprites.
//
// Owns: its strings and draw items. The font and the atlas textures belong to GameTexts and the
// resource store.
// Never: looks a glyph up while drawing; lays out again only when the text or colour changes.
// On failure: never throws. With no font loaded, or a font without glyphs or bands, the line lays
// out to nothing and draws nothing; a missing key lays out "[!]".
#include <cstdint>
#include <string>
#include <vector>

#include "base/ClipRect.h"

class Font;

struct TextDrawItem {
    ClipRect source;
    int32_t texture = -1;
};

class TextLine final {
  public:
    enum Align : uint32_t { Left = 0, Right = 1, Centre = 2, KeepAlign = 3 };
    // The backdrop picture's three pieces.
    static constexpr int kBackdropHeight = 37, kBackdropCap = 22, kBackdropMiddle = 13;

    TextLine(uint16_t fontIndex, uint8_t colour);

    void setKey(int16_t x, int16_t y, const std::string& key, uint32_t align);
    void setKey(const std::string& key);
    void setString(int16_t x, int16_t y, const std::string& text, uint32_t align);
    void setString(const std::string& text);
    void appendString(const std::string& text);
    void replaceVariable(const std::string& value);
    void draw(bool backdrop) const;
    void drawAt(int16_t x, int16_t y, bool backdrop);

    // Small operations the scenes need beyond the basic setters:
    // the line's own band changes and the text is laid out again (a whole line recoloured);
    void setColour(uint8_t colour);
    // the same glyphs drawn once in another band, `dx`/`dy` away, without changing the line (a
    // shadow under the text, or a flash in the warning band);
    void drawInBand(uint8_t band, int16_t dx, int16_t dy) const;
    // only the backdrop, so a text box can put every backdrop under every line first;
    void drawBackdrop() const;
    // moves the anchor and places the line again without a new layout.
    void moveTo(int16_t x, int16_t y);
    // Every glyph shown (a typing line that must show at once).
    void showAllGlyphs() { lastGlyph = static_cast<int16_t>(items.size()) - 1; }

    // The layout on its own, for any font: items and total width for `text` starting in band
    // `colour`. Used by the line and by tools that must lay out exactly as the game does.
    static uint32_t layout(const Font* font, uint32_t gap, const std::string& text, uint8_t colour,
                           std::vector<TextDrawItem>& items);

    const Font* font = nullptr;
    int16_t lastGlyph = -1;
    bool typing = false;
    bool active = false;
    uint16_t typeTimer = 0;
    uint16_t typeDelay = 100;
    int16_t x = 0, y = 0;
    uint16_t fontIndex = 0;
    uint8_t colour = 0;
    std::string key = "NONE";
    std::string text;
    uint32_t align = Left;
    int16_t drawX = 0, drawY = 0;
    uint16_t width = 0;
    uint16_t lineHeight = 0;
    std::vector<TextDrawItem> items;
    bool glyphShown = false;

  private:
    void relayout();
    void place();
    bool isFontZero() const;
};
