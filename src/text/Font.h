#pragma once
// Font — one bitmap font: its glyph table and the sizes its atlases were packed with.
//
// Owns: nothing but the table; the atlas textures belong to the resource store.
// Never: draws. A font whose pictures failed has no glyphs, and text in it lays out to nothing.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

struct Glyph {
    int32_t texture = -1;
    uint32_t srcX = 0;
    uint32_t width = 0;
};

class Font final {
  public:
    explicit Font(uint16_t pixelSize) : size(pixelSize) {}

    // The glyph drawn for `code`: the digit copy for "0"-"9", else the table entry, else the
    // lowest-coded glyph. Null only when the font has no glyph at all.
    const Glyph* glyphFor(uint16_t code) const;
    // Drawable means at least one band and one glyph; anything else lays out to nothing.
    bool drawable() const { return colourCount >= 1 && !glyphs.empty(); }

    std::map<uint16_t, Glyph> glyphs;
    uint16_t size = 0;
    int8_t colourCount = -1;
    std::array<Glyph, 10> digits{};
    // Digits the description really named; an unnamed digit falls back to the table.
    std::array<bool, 10> hasDigit{};
    // Every atlas texture this font made, so a caller can tell its pictures apart.
    std::vector<int32_t> atlases;
};
