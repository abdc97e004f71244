#pragma once
// FontLoader — reads the font list and the font description files, and re-packs each font picture
// into an atlas with a transparent gap around every glyph and band.
//
// Never: reads outside a picture or a buffer, whatever the files claim; keeps source pictures.
// On failure: never throws. A missing list writes "AllFonts File file not found in the pack: <name>"
// and loads nothing; a missing description writes "Font file not found in the pack!" and that
// font is left out (later fonts move up). List lines with fewer than two fields are skipped.
// Characters named beyond a picture's glyphs get no glyph; a picture less than one band high
// gives a font without bands, which draws nothing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/Font.h"

class FontPictures;
class GameTexts;

struct FontListEntry {
    std::string description;
    uint32_t size = 0;
};

class FontLoader final {
  public:
    // The loose list folder + "fonts.txt" first, then the pack entry of the same name.
    static void loadFontList(GameTexts& texts, const std::string& folder, FontPictures& pictures);
    static std::vector<FontListEntry> parseFontList(const uint8_t* bytes, size_t size,
                                                    const std::string& folder);
    // Fetches the description from the pack; appends the font to `texts` unless the file is missing.
    static void loadFont(GameTexts& texts, const std::string& descriptionName, uint32_t size,
                         FontPictures& pictures);
    static std::unique_ptr<Font> parseDescription(const uint8_t* bytes, size_t byteCount,
                                                  const std::string& descriptionName, uint32_t size,
                                                  uint32_t gap, FontPictures& pictures);
    // "Assets/font/fonts/x.png" → "Assets/font/fonts/EXP_x.png".
    static std::string atlasName(const std::string& pictureName);
};
