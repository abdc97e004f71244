#include "text/TextLine.h"

#include <algorithm>

#include "base/GameWide.h"
#include "render/Draw.h"
#include "text/Font.h"
#include "text/GameTexts.h"
#include "text/Utf8Decode.h"

namespace {
uint32_t currentGap() {
    const GameTexts* texts = GameWide<GameTexts>::get();
    return texts ? texts->glyphGap : 1;
}

bool languageLoaded() {
    const GameTexts* texts = GameWide<GameTexts>::get();
    return texts && texts->loaded();
}

uint32_t bandTop(uint32_t band, uint32_t gap, uint32_t size) {
    return (2 * band + 1) * gap + band * size;
}
} // namespace

TextLine::TextLine(uint16_t fontIndexWanted, uint8_t colourWanted) {
    GameTexts* texts = GameWide<GameTexts>::get();
    if (texts) {
        font = texts->font(fontIndexWanted);
        // The backdrop is fetched the first time any line exists, so drawing never loads.
        texts->backdropTexture();
        fontIndex = static_cast<uint16_t>(
            texts->fontCount() == 0 ? 0 : std::min<size_t>(fontIndexWanted, texts->fontCount() - 1));
    } else {
        // Kept as asked, so an element file read without texts writes back the same font.
        fontIndex = fontIndexWanted;
    }
    colour = colourWanted;
    if (font) {
        if (font->colourCount >= 1)
            colour = std::min<uint8_t>(colourWanted, static_cast<uint8_t>(font->colourCount - 1));
        lineHeight = font->size;
    }
}

uint32_t TextLine::layout(const Font* font, uint32_t gap, const std::string& text, uint8_t colour,
                          std::vector<TextDrawItem>& items) {
    items.clear();
    if (!font || !font->drawable()) return 0;
    const uint32_t lastBand = static_cast<uint32_t>(font->colourCount - 1);
    const uint32_t ownBand = std::min<uint32_t>(colour, lastBand);
    uint32_t band = ownBand;
    uint32_t width = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const size_t size = text.size();
    size_t at = 0;
    while (at < size) {
        if (bytes[at] == '$') {
            if (at + 1 >= size) break;
            const uint8_t next = bytes[at + 1];
            if (next >= '0' && next <= ':') {
                band = std::min<uint32_t>(next - '0', lastBand);
                at += 2;
            } else {
                band = ownBand;
                at += 1;
            }
            continue;
        }
        const uint16_t code = decodeGameCharacter(bytes, size, at);
        const Glyph* glyph = font->glyphFor(code);
        TextDrawItem item;
        item.source.x = static_cast<int32_t>(glyph->srcX);
        item.source.y = static_cast<int32_t>(bandTop(band, gap, font->size));
        item.source.w = static_cast<uint16_t>(glyph->width);
        item.source.h = font->size;
        item.texture = glyph->texture;
        items.push_back(item);
        width += glyph->width;
    }
    return width;
}

void TextLine::relayout() {
    width = static_cast<uint16_t>(layout(font, currentGap(), text, colour, items));
    lastGlyph = static_cast<int16_t>(items.size()) - 1;
}

void TextLine::place() {
    drawY = y;
    switch (align) {
    case Right:
        drawX = static_cast<int16_t>(x - width);
        break;
    case Centre:
        drawX = static_cast<int16_t>(x - width / 2);
        break;
    default:
        drawX = x;
        break;
    }
}

void TextLine::setKey(int16_t atX, int16_t atY, const std::string& newKey, uint32_t newAlign) {
    // Key, place and alignment are kept even with no language loaded: a later language change
    // and a binary element file both read them back.
    x = atX;
    y = atY;
    if (newAlign != KeepAlign) align = newAlign;
    key = newKey;
    if (!languageLoaded()) {
        place();
        return;
    }
    text = GameWide<GameTexts>::get()->getText(newKey);
    relayout();
    place();
}

void TextLine::setKey(const std::string& newKey) {
    setKey(x, y, newKey, KeepAlign);
}

void TextLine::setString(int16_t atX, int16_t atY, const std::string& newText, uint32_t newAlign) {
    x = atX;
    y = atY;
    if (newAlign != KeepAlign) align = newAlign;
    key = "NONE";
    text = newText;
    relayout();
    place();
}

void TextLine::setString(const std::string& newText) {
    setString(x, y, newText, KeepAlign);
}

void TextLine::appendString(const std::string& more) {
    if (!languageLoaded()) return;
    key = "NONE";
    text += more;
    relayout();
    x = 0;
    y = 0;
    place();
}

void TextLine::replaceVariable(const std::string& value) {
    static const std::string kVariable = "_VAR_";
    size_t from = 0;
    for (size_t found; (found = text.find(kVariable, from)) != std::string::npos;) {
        text.replace(found, kVariable.size(), value);
        // Search on after the value, so a value holding "_VAR_" cannot loop.
        from = found + value.size();
    }
    key = "NONE";
    relayout();
    place();
    if (typing) {
        lastGlyph = -1;
        typeTimer = 0;
    }
}

void TextLine::setColour(uint8_t newColour) {
    colour = newColour;
    if (font && font->colourCount >= 1)
        colour = std::min<uint8_t>(newColour, static_cast<uint8_t>(font->colourCount - 1));
    const int16_t shown = lastGlyph;
    relayout();
    // Recolouring must not reveal glyphs a typing line has not shown yet.
    if (typing) lastGlyph = std::min<int16_t>(shown, lastGlyph);
}

void TextLine::moveTo(int16_t atX, int16_t atY) {
    x = atX;
    y = atY;
    place();
}

bool TextLine::isFontZero() const {
    const GameTexts* texts = GameWide<GameTexts>::get();
    return texts && font && texts->font(0) == font;
}

void TextLine::drawBackdrop() const {
    if (lastGlyph < 1 || !isFontZero()) return;
    const int32_t backdrop = GameWide<GameTexts>::get()->backdropTexture();
    if (backdrop < 0) return;
    int32_t covered = 0;
    for (int16_t i = 0; i < lastGlyph && i < static_cast<int16_t>(items.size()); ++i)
        covered += items[i].source.w;
    const int16_t yb = static_cast<int16_t>(drawY + (lineHeight - kBackdropHeight) / 2);
    int32_t xb = drawX - kBackdropCap;
    drawSprite(backdrop, ClipRect{0, 0, kBackdropCap, kBackdropHeight}, static_cast<int16_t>(xb), yb);
    xb += kBackdropCap;
    while (xb < drawX + covered) {
        drawSprite(backdrop, ClipRect{kBackdropCap, 0, kBackdropMiddle, kBackdropHeight},
                   static_cast<int16_t>(xb), yb);
        xb += kBackdropMiddle;
    }
    drawSprite(backdrop, ClipRect{kBackdropCap + kBackdropMiddle, 0, kBackdropCap, kBackdropHeight},
               static_cast<int16_t>(xb), yb);
}

void TextLine::draw(bool backdrop) const {
    if (backdrop) drawBackdrop();
    int32_t at = drawX;
    for (int16_t i = 0; i <= lastGlyph && i < static_cast<int16_t>(items.size()); ++i) {
        drawSpriteAlpha(items[i].texture, items[i].source, static_cast<int16_t>(at), drawY, 255);
        at += items[i].source.w;
    }
}

void TextLine::drawInBand(uint8_t band, int16_t dx, int16_t dy) const {
    if (!font || font->colourCount < 1) return;
    const uint32_t top = bandTop(std::min<uint32_t>(band, font->colourCount - 1), currentGap(), font->size);
    int32_t at = drawX + dx;
    for (int16_t i = 0; i <= lastGlyph && i < static_cast<int16_t>(items.size()); ++i) {
        ClipRect source = items[i].source;
        source.y = static_cast<int32_t>(top);
        drawSpriteAlpha(items[i].texture, source, static_cast<int16_t>(at), static_cast<int16_t>(drawY + dy),
                        255);
        at += source.w;
    }
}

void TextLine::drawAt(int16_t atX, int16_t atY, bool backdrop) {
    moveTo(atX, atY);
    draw(backdrop);
}
