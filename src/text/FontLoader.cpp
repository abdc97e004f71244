#include "text/FontLoader.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "assets/AssetPack.h"
#include "assets/FileStream.h"
#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "base/GameWide.h"
#include "text/FontPictures.h"
#include "text/GameTexts.h"
#include "text/Utf8Decode.h"

namespace {
uint32_t leadingDecimal(const std::string& text) {
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), 0xFFFFFFFFu);
    }
    return static_cast<uint32_t>(value);
}

// One pixel of any channel count as RGBA, so the atlas has the store's blank-surface layout.
void copyPixelAsRgba(const uint8_t* from, int channels, uint8_t* to) {
    switch (channels) {
    case 1:
        to[0] = to[1] = to[2] = from[0];
        to[3] = 255;
        break;
    case 2:
        to[0] = to[1] = to[2] = from[0];
        to[3] = from[1];
        break;
    case 3:
        std::memcpy(to, from, 3);
        to[3] = 255;
        break;
    default:
        std::memcpy(to, from, 4);
        break;
    }
}

struct PictureState {
    int32_t atlas = -1;
    std::vector<int32_t> markers;
};

// Step 3 of a font: markers, band count, re-packed atlas. The markers come back even when the
// atlas could not be made, so glyph numbering stays in step with the picture.
PictureState loadPicture(Font& font, const std::string& name, uint32_t gap, FontPictures& pictures) {
    PictureState state;
    const ImageData* source = pictures.picture(name);
    if (!source || source->width() <= 0 || source->height() <= 0 || !source->pixels()) {
        if (source) pictures.release(name);
        return state;
    }
    const int width = source->width();
    const int height = source->height();
    const int channels = std::clamp(source->bytesPerPixel(), 1, 4);
    if (font.colourCount == -1) {
        // A zero size would divide by zero: such a font simply has no bands.
        const int bands = font.size == 0 ? 0 : (height - 1) / font.size;
        font.colourCount = static_cast<int8_t>(std::min(bands, 127));
    }
    const uint8_t* row0 = source->pixels();
    for (int x = 0; x < width; ++x)
        if (std::memcmp(row0 + x * channels, row0, static_cast<size_t>(channels)) == 0)
            state.markers.push_back(x);

    const int64_t n = static_cast<int64_t>(state.markers.size());
    const int64_t bands = std::max<int8_t>(font.colourCount, 0);
    const int64_t atlasWidth = width + 2 * static_cast<int64_t>(gap) * (n - 1) - 1;
    const int64_t atlasHeight = (font.size + 2 * static_cast<int64_t>(gap)) * bands;
    if (n >= 2 && bands >= 1 && atlasWidth <= 0x7FFFFFFF && atlasHeight <= 0x7FFFFFFF &&
        ImageData::acceptableSize(static_cast<int>(atlasWidth), static_cast<int>(atlasHeight))) {
        const size_t bytes = static_cast<size_t>(atlasWidth) * static_cast<size_t>(atlasHeight) * 4;
        auto pixels = std::make_unique<uint8_t[]>(bytes);
        std::fill(pixels.get(), pixels.get() + bytes, 0);
        ImageData atlas(static_cast<int>(atlasWidth), static_cast<int>(atlasHeight), 4, std::move(pixels));
        for (int64_t c = 0; c < bands; ++c) {
            for (int64_t k = 0; k + 1 < n; ++k) {
                const int64_t sx = state.markers[k];
                const int64_t w = state.markers[k + 1] - sx;
                const int64_t dx = sx + (2 * k + 1) * gap;
                const int64_t dy = c * font.size + (2 * c + 1) * gap;
                for (int64_t row = 0; row < font.size; ++row) {
                    const int64_t sy = 1 + c * font.size + row;
                    // A later picture may be shorter than the first fixed the band count for.
                    if (sy >= height || dy + row >= atlasHeight) break;
                    for (int64_t col = 0; col < w && dx + col < atlasWidth; ++col)
                        copyPixelAsRgba(source->pixels() + (sy * width + sx + col) * channels, channels,
                                        atlas.pixels() + ((dy + row) * atlasWidth + dx + col) * 4);
                }
            }
        }
        state.atlas = pictures.makeAtlas(FontLoader::atlasName(name), atlas);
        if (state.atlas >= 0) font.atlases.push_back(state.atlas);
    }
    pictures.release(name);
    return state;
}
} // namespace

std::string FontLoader::atlasName(const std::string& pictureName) {
    const size_t slash = pictureName.find_last_of("/\\");
    const size_t cut = slash == std::string::npos ? 0 : slash + 1;
    return pictureName.substr(0, cut) + "EXP_" + pictureName.substr(cut);
}

std::vector<FontListEntry> FontLoader::parseFontList(const uint8_t* bytes, size_t size,
                                                     const std::string& folder) {
    std::vector<FontListEntry> entries;
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    for (const std::string& line : split(text, '\n')) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> fields = split(line, '\t');
        if (fields.size() < 2) continue;
        entries.push_back({folder + fields[0], leadingDecimal(fields[1])});
    }
    return entries;
}

void FontLoader::loadFontList(GameTexts& texts, const std::string& folder, FontPictures& pictures) {
    const std::string name = folder + "fonts.txt";
    std::string listText;
    bool found = false;
    {
        FileStream loose;
        loose.open(name, "r");
        if (loose.isOpen()) {
            found = true;
            while (!loose.atEnd()) {
                listText += loose.readLine();
                listText += '\n';
            }
        }
    }
    if (!found) {
        const AssetPack* pack = GameWide<AssetPack>::get();
        std::unique_ptr<PackBuffer> buffer = pack ? pack->readFile(name) : nullptr;
        if (!buffer) {
            std::cerr << "AllFonts File file not found in the pack: " << name << std::endl;
            return;
        }
        const size_t size = std::min<size_t>(buffer->size, buffer->data.size());
        const size_t from = std::min<size_t>(buffer->position, size);
        listText.assign(reinterpret_cast<const char*>(buffer->data.data()) + from, size - from);
    }
    const auto entries =
        parseFontList(reinterpret_cast<const uint8_t*>(listText.data()), listText.size(), folder);
    for (const FontListEntry& entry : entries)
        texts.fontSizes.push_back(entry.size);
    for (const FontListEntry& entry : entries)
        loadFont(texts, entry.description, entry.size, pictures);
}

void FontLoader::loadFont(GameTexts& texts, const std::string& descriptionName, uint32_t size,
                          FontPictures& pictures) {
    const AssetPack* pack = GameWide<AssetPack>::get();
    std::unique_ptr<PackBuffer> buffer = pack ? pack->readFile(descriptionName) : nullptr;
    if (!buffer) {
        std::cerr << "Font file not found in the pack!" << std::endl;
        return;
    }
    const size_t byteCount = std::min<size_t>(buffer->size, buffer->data.size());
    const size_t from = std::min<size_t>(buffer->position, byteCount);
    texts.addFont(parseDescription(buffer->data.data() + from, byteCount - from, descriptionName, size,
                                   texts.glyphGap, pictures));
}

std::unique_ptr<Font> FontLoader::parseDescription(const uint8_t* bytes, size_t byteCount,
                                                   const std::string& descriptionName, uint32_t size,
                                                   uint32_t gap, FontPictures& pictures) {
    auto font = std::make_unique<Font>(static_cast<uint16_t>(std::min<uint32_t>(size, 0xFFFF)));
    const size_t slash = descriptionName.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : descriptionName.substr(0, slash + 1);
    const std::string text(reinterpret_cast<const char*>(bytes), byteCount);
    PictureState picture;
    bool pictureSeen = false;
    size_t k = 0;
    for (const std::string& line : split(text, '\n')) {
        if (line.size() >= 2 && line[0] == '#' && line[1] == '#') {
            picture = loadPicture(*font, folder + line.substr(2), gap, pictures);
            pictureSeen = true;
            k = 0;
            continue;
        }
        if (!pictureSeen) continue;
        const auto* data = reinterpret_cast<const uint8_t*>(line.data());
        size_t at = 0;
        while (at < line.size()) {
            const uint16_t code = decodeGameCharacter(data, line.size(), at);
            // Characters beyond the picture's glyphs (or of a picture that failed) get none.
            if (picture.atlas >= 0 && k + 1 < picture.markers.size()) {
                const uint32_t x0 = static_cast<uint32_t>(picture.markers[k]);
                const Glyph glyph{picture.atlas, static_cast<uint32_t>(x0 + (2 * k + 1) * gap),
                                  static_cast<uint32_t>(picture.markers[k + 1]) - x0};
                font->glyphs.emplace(code, glyph);
                if (code >= '0' && code <= '9') {
                    font->digits[code - '0'] = glyph;
                    font->hasDigit[code - '0'] = true;
                }
            }
            ++k;
        }
    }
    return font;
}
