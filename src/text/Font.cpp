#include "text/Font.h"

const Glyph* Font::glyphFor(uint16_t code) const {
    if (code >= '0' && code <= '9' && hasDigit[code - '0']) return &digits[code - '0'];
    const auto found = glyphs.find(code);
    if (found != glyphs.end()) return &found->second;
    return glyphs.empty() ? nullptr : &glyphs.begin()->second;
}
