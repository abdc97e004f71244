#include "gui/Button.h"

#include "gui/ElementServices.h"

bool Button::acceptsName(const std::string& name) const {
    return name.find(".btn") != std::string::npos;
}

void Button::update() {
    advancePress(state == Pressed);
}

void Button::setState(int32_t s) {
    previousState = state;
    if (s >= 0 && s < 4) state = s;
    if (verticalStrip)
        source.x = static_cast<int32_t>(source.w) * state;
    else
        source.y = static_cast<int32_t>(source.h) * state;
    currentText = stateTexts[static_cast<size_t>(state)].get();
    placeTexts();
    if (s == Pressed) pressTimer = 0;
}

void Button::placeTexts() {
    switch (textAlign) {
    case TextLine::Left:
        textAnchorX = static_cast<uint16_t>(x);
        break;
    case TextLine::Right:
        textAnchorX = static_cast<uint16_t>(x + source.w);
        break;
    case TextLine::Centre:
        textAnchorX = static_cast<uint16_t>(x + source.w / 2);
        break;
    default:
        break;
    }
    if (!currentText) return;
    if (textAlign != TextLine::KeepAlign) currentText->align = textAlign;
    // Offsets are stored as the files' u16 but mean small signed nudges.
    const auto index = static_cast<size_t>(state);
    currentText->moveTo(
        clampCoordinate(static_cast<int16_t>(textAnchorX) + static_cast<int16_t>(textOffsetsX[index])),
        clampCoordinate(static_cast<int64_t>(y) + (source.h - currentText->lineHeight) / 2 +
                        static_cast<int16_t>(textOffsetsY[index])));
}

void Button::draw() {
    GraphicElement::drawAt(x, y);
    if (currentText) currentText->draw(textShadow != 0);
}

void Button::drawAt(int32_t atX, int32_t atY) {
    GraphicElement::drawAt(atX, atY);
    if (!currentText) return;
    const int16_t keepX = currentText->x, keepY = currentText->y;
    currentText->drawAt(clampCoordinate(atX + source.w / 2),
                        clampCoordinate(atY + (source.h - currentText->lineHeight) / 2), textShadow != 0);
    currentText->moveTo(keepX, keepY);
}

void Button::refreshTexts() {
    for (auto& text : stateTexts)
        if (text && text->key != "NONE") text->setKey(text->key);
    placeTexts();
}

void Button::parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                   TextureLookup& textures) {
    if (!acceptsName(name)) return;
    const std::vector<std::string> lines = descriptionLines(bytes, size);
    size_t next = readStripLines(name, lines, textures, true);
    for (size_t stateIndex = 0; next < lines.size() && stateIndex < 4; ++next) {
        if (lines[next] == "NO_TEXT") continue;
        const std::vector<std::string> fields = tabFields(lines[next]);
        stateTexts[stateIndex] = textFromFields(fields);
        if (fields.size() > 2) textOffsetsY[stateIndex] = static_cast<uint16_t>(readNumber(fields[2]));
        if (fields.size() > 3 && fields[3] == "SHADOW") textShadow = 1;
        if (fields.size() > 4) {
            if (fields[4] == "LEFT") textAlign = TextLine::Left;
            if (fields[4] == "RIGHT") textAlign = TextLine::Right;
            if (fields[4] == "CENTER") textAlign = TextLine::Centre;
        }
        if (fields.size() > 5) textOffsetsX[stateIndex] = static_cast<uint16_t>(readNumber(fields[5]));
        ++stateIndex;
    }
    setState(Normal);
}

void Button::readBinary(ByteSource& in, TextureLookup& textures) {
    readHead(in, textures, true);
    readStripFields(in);
    for (size_t i = 0; i < 4; ++i) {
        in.field(textOffsetsY[i]);
        in.field(textOffsetsX[i]);
        stateTexts[i] = readTextRef(in, true);
    }
    in.field(textShadow);
    in.field(textAlign);
    setState(Normal);
}

void Button::writeBinary(ByteSink& out) const {
    writeHead(out);
    writeStripFields(out);
    for (size_t i = 0; i < 4; ++i) {
        out.field(textOffsetsY[i]);
        out.field(textOffsetsX[i]);
        writeTextRef(out, stateTexts[i].get());
    }
    out.field(textShadow);
    out.field(textAlign);
}
