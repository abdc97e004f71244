#include "gui/GUIElement.h"

#include <algorithm>

#include "base/FrameClock.h"
#include "gui/ElementServices.h"

bool GUIElement::hitTest(int32_t px, int32_t py) {
    const bool inside = px >= x && px <= x + source.w && py >= y && py <= y + source.h;
    hovered = inside ? 1 : 0;
    return inside;
}

void GUIElement::setState(int32_t s) {
    previousState = state;
    if (s >= 0 && s < 4) state = s;
}

void GUIElement::setPosition(int32_t atX, int32_t atY) {
    GraphicElement::setPosition(atX, atY);
    placeTexts();
}

void GUIElement::setX(int32_t atX) {
    GraphicElement::setX(atX);
    placeTexts();
}

void GUIElement::setY(int32_t atY) {
    GraphicElement::setY(atY);
    placeTexts();
}

void GUIElement::moveTowardTarget(uint16_t speed) {
    GraphicElement::moveTowardTarget(speed);
    placeTexts();
}

void GUIElement::advancePress(bool pressedNow) {
    if (animated && visible) advanceAnimation();
    if (!pressedNow) return;
    pressTimer += frameDeltaMs;
    if (pressTimer >= 201) {
        pressTimer = 0;
        setState(previousState);
    }
}

std::vector<std::string> GUIElement::tabFields(const std::string& line) {
    std::vector<std::string> fields;
    if (line.empty()) return fields;
    size_t from = 0;
    for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        fields.push_back(line.substr(from, tab - from));
    fields.push_back(line.substr(from));
    return fields;
}

void GUIElement::readPair(const std::string& text, int32_t& a, int32_t& b) {
    const size_t comma = text.find(',');
    a = readNumber(text.substr(0, comma));
    b = comma == std::string::npos ? 0 : readNumber(text.substr(comma + 1));
}

std::unique_ptr<TextLine> GUIElement::readTextRef(ByteSource& in, bool noneAllowed) {
    std::string key;
    if (!in.string(key)) return nullptr;
    uint16_t font = 0;
    uint8_t colour = 0;
    in.field(font);
    in.field(colour);
    if (noneAllowed && key == "NO_TEXT") return nullptr;
    auto text = std::make_unique<TextLine>(font, colour);
    text->setKey(0, 0, key, TextLine::KeepAlign);
    return text;
}

void GUIElement::writeTextRef(ByteSink& out, const TextLine* text) {
    out.string(text ? text->key : std::string("NO_TEXT"));
    out.field(text ? text->fontIndex : uint16_t{0});
    out.field(text ? text->colour : uint8_t{0});
}

std::unique_ptr<TextLine> GUIElement::textFromFields(const std::vector<std::string>& fields) {
    int32_t font = 0, colour = 0;
    if (fields.size() > 1) readPair(fields[1], font, colour);
    auto text = std::make_unique<TextLine>(static_cast<uint16_t>(std::clamp(font, 0, 0xFFFF)),
                                           static_cast<uint8_t>(std::clamp(colour, 0, 0xFF)));
    text->setKey(0, 0, fields.empty() ? std::string() : fields[0], TextLine::KeepAlign);
    return text;
}

int16_t GUIElement::clampCoordinate(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, -32768, 32767));
}
