#include "text/TextBox.h"

#include <algorithm>

#include "assets/StringHelpers.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "text/Font.h"
#include "text/GameTexts.h"

namespace {
const std::string& textFor(const std::string& key, const std::string& raw) {
    static const std::string kEmpty;
    if (key == "raw") return raw;
    const GameTexts* texts = GameWide<GameTexts>::get();
    return texts ? texts->getText(key) : kEmpty;
}
} // namespace

uint32_t TextBox::speedCode(const std::string& name) {
    static const char* const kNames[5] = {"VERY_SLOW", "SLOW", "NORMAL", "FAST", "VERY_FAST"};
    for (uint32_t code = 0; code < 5; ++code)
        if (name == kNames[code]) return code;
    return 2;
}

uint16_t TextBox::lineHeight() const {
    const GameTexts* texts = GameWide<GameTexts>::get();
    const Font* font = texts ? texts->font(fontIndex) : nullptr;
    return font ? font->size : 0;
}

uint16_t TextBox::pageEnd() const {
    return static_cast<uint16_t>(std::min<uint32_t>(pageStart + linesPerPage, lineCount));
}

// In 32 bits: "all lines" is 0xFFFF, which wraps past the first page in 16.
uint16_t TextBox::shownEnd() const {
    return static_cast<uint16_t>(std::min<uint32_t>(pageEnd(), uint32_t{pageStart} + shownLines_));
}

void TextBox::buildLines(const std::string& text, uint8_t colour) {
    lines.clear();
    const uint16_t h = lineHeight();
    const std::vector<std::string> pieces = split(text, '|');
    maxWidth = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        auto line = std::make_unique<TextLine>(fontIndex, colour);
        const uint16_t r = linesPerPage ? static_cast<uint16_t>(i % linesPerPage) : 0;
        line->setString(static_cast<int16_t>(x), static_cast<int16_t>(y + r * h), pieces[i], TextLine::Left);
        maxWidth = std::max(maxWidth, line->width);
        lines.push_back(std::move(line));
    }
    currentLine = 0;
    finished = false;
    pageFull = false;
    pageStart = 0;
    lineCount = static_cast<uint16_t>(lines.size());
    totalHeight = static_cast<uint16_t>(lineCount * h);
}

void TextBox::setText(const std::string& textKey, int32_t atX, int32_t atY) {
    lines.clear();
    horizontalAlign = 0;
    verticalAlign = 1;
    verticalOffset = 0;
    pitch32_ = false;
    GraphicElement::setPosition(atX, atY);
    home = target = PointI32{atX, atY};
    key = textKey;
    buildLines(textFor(key, rawText), colour_);
}

void TextBox::setRawText(const std::string& text, int32_t atX, int32_t atY) {
    rawText = text;
    setText("raw", atX, atY);
}

void TextBox::setTextTyped(const std::string& textKey, const std::string& speedName, int32_t atX, int32_t atY,
                           const std::string& fontText) {
    fontIndex = static_cast<uint16_t>(readNumber(fontText));
    setText(textKey, atX, atY);
    setTypingSpeed(speedCode(speedName));
}

void TextBox::setTextDelayed(const std::string& textKey, uint16_t delayMs, int32_t atX, int32_t atY,
                             const std::string& fontText) {
    fontIndex = static_cast<uint16_t>(readNumber(fontText));
    setText(textKey, atX, atY);
    setTypingDelay(delayMs);
}

void TextBox::placeLines(uint16_t pitch) {
    totalHeight = static_cast<uint16_t>(lineCount * pitch);
    verticalOffset = verticalAlign == 0   ? static_cast<int16_t>(-(totalHeight / 2))
                     : verticalAlign == 2 ? static_cast<int16_t>(-totalHeight)
                                          : 0;
    maxWidth = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const uint16_t r = linesPerPage ? static_cast<uint16_t>(i % linesPerPage) : 0;
        TextLine& line = *lines[i];
        if (horizontalAlign != TextLine::KeepAlign) line.align = horizontalAlign;
        line.moveTo(static_cast<int16_t>(x), static_cast<int16_t>(verticalOffset + r * pitch + y));
        maxWidth = std::max(maxWidth, line.width);
    }
}

void TextBox::setAlignment(uint32_t horizontal, uint32_t vertical) {
    horizontalAlign = horizontal;
    verticalAlign = vertical;
    pitch32_ = false;
    placeLines(lineHeight());
}

void TextBox::placeLinesAt32() {
    pitch32_ = true;
    placeLines(32);
}

void TextBox::setPosition(int32_t atX, int32_t atY) {
    GraphicElement::setPosition(atX, atY);
    placeLines(pitch32_ ? 32 : lineHeight());
}

void TextBox::setX(int32_t atX) {
    GraphicElement::setX(atX);
    placeLines(pitch32_ ? 32 : lineHeight());
}

void TextBox::setY(int32_t atY) {
    GraphicElement::setY(atY);
    placeLines(pitch32_ ? 32 : lineHeight());
}

void TextBox::setTypingSpeed(uint32_t code) {
    setTypingDelay(code < 5 ? kSpeedDelays[code] : kSpeedDelays[2]);
}

void TextBox::setTypingDelay(uint16_t ms) {
    if (ms == 0) {
        for (uint16_t i = pageStart; i < pageEnd(); ++i) {
            TextLine& line = *lines[i];
            line.typing = false;
            line.showAllGlyphs();
            line.typeDelay = 0;
            line.glyphShown = false;
        }
        return;
    }
    for (auto& line : lines) {
        line->typing = true;
        line->active = false;
        line->glyphShown = false;
        line->lastGlyph = -1;
        line->typeTimer = 0;
        line->typeDelay = ms;
    }
    if (pageStart < lineCount) lines[pageStart]->active = true;
    currentLine = 0;
}

void TextBox::update() {
    if (currentLine >= lineCount || currentLine >= pageStart + linesPerPage) return;
    for (uint16_t i = pageStart; i < pageEnd(); ++i) {
        TextLine& line = *lines[i];
        if (!line.typing || !line.active) continue;
        line.typeTimer = static_cast<uint16_t>(line.typeTimer + frameDeltaMs);
        if (line.typeTimer > line.typeDelay) {
            ++line.lastGlyph;
            line.typeTimer = static_cast<uint16_t>(line.typeTimer - line.typeDelay);
            line.glyphShown = true;
        }
        if (line.lastGlyph >= static_cast<int16_t>(line.items.size()) - 1) line.active = false;
    }
    const TextLine& current = *lines[currentLine];
    if (current.lastGlyph >= static_cast<int16_t>(current.items.size()) - 1) {
        if (currentLine + 1 == lineCount) finished = true;
        ++currentLine;
        if (currentLine == pageStart + linesPerPage) pageFull = true;
        if (currentLine < lineCount) lines[currentLine]->active = true;
    }
}

void TextBox::nextPage() {
    pageStart = currentLine;
    pageFull = false;
}

void TextBox::draw() {
    if (!visible) return;
    const uint16_t end = shownEnd();
    for (uint16_t i = pageStart; i < end; ++i)
        lines[i]->draw(false);
}

void TextBox::drawWithBackdrop() {
    if (!visible) return;
    for (uint16_t i = pageStart; i < pageEnd(); ++i)
        lines[i]->drawBackdrop();
    draw();
}

void TextBox::drawInBand(uint8_t band, int16_t dx, int16_t dy) {
    if (!visible) return;
    const uint16_t end = shownEnd();
    for (uint16_t i = pageStart; i < end; ++i)
        lines[i]->drawInBand(band, dx, dy);
}

void TextBox::setColour(uint8_t colour) {
    colour_ = colour;
    for (auto& line : lines)
        line->setColour(colour);
}

void TextBox::replaceVariable(const std::string& value) {
    for (auto& line : lines)
        line->replaceVariable(value);
    maxWidth = 0;
    for (auto& line : lines)
        maxWidth = std::max(maxWidth, line->width);
}

void TextBox::refreshText() {
    if (key == "none") {
        for (auto& line : lines)
            line->setString("");
        return;
    }
    const std::string text = textFor(key, rawText);
    const uint8_t colour = lines.empty() ? colour_ : lines.front()->colour;
    linesPerPage = static_cast<uint16_t>(std::max<size_t>(split(text, '|').size(), 1));
    buildLines(text, colour);
    if (pitch32_)
        placeLinesAt32();
    else
        setAlignment(horizontalAlign, verticalAlign);
}
