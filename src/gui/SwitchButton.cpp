#include "gui/SwitchButton.h"

#include "gui/ElementServices.h"

bool SwitchButton::acceptsName(const std::string& name) const {
    return name.find(".swt") != std::string::npos;
}

void SwitchButton::update() {
    changed = 0;
    advancePress(state == Pressed);
}

void SwitchButton::setState(int32_t s) {
    previousState = state;
    if (s >= 0 && s < 4) state = s;
    const int32_t w = source.w;
    source.x = value == 1 ? w : 0;
    source.y = static_cast<int32_t>(source.h) * state;
    if (twoLabels) {
        if (offHalfHit) source.x = 0;
        if (onHalfHit) source.x = w;
    }
    const auto index = static_cast<size_t>(state);
    currentText = offLabels[index].get();
    currentText2 = twoLabels ? onLabels[index].get() : nullptr;
    placeTexts();
    if (s != Pressed) return;
    if (offHalfHit) {
        value = 0;
        source.x = 0;
    } else if (onHalfHit) {
        value = 1;
        source.x = w;
    } else if (value == 1 && stayOn) {
        // a switch that must stay on ignores the press
    } else if (value == 1) {
        // the old position shows for the press; update's return to the old state shows the new
        value = 0;
    } else {
        value = 1;
    }
    pressTimer = 0;
}

void SwitchButton::placeTexts() {
    const auto index = static_cast<size_t>(state);
    auto put = [&](TextLine* text, int64_t centreX, uint16_t offset) {
        if (!text) return;
        text->align = TextLine::Centre;
        text->moveTo(clampCoordinate(centreX),
                     clampCoordinate(static_cast<int64_t>(y) + (source.h - text->lineHeight) / 2 +
                                     static_cast<int16_t>(offset)));
    };
    const int64_t w = source.w;
    if (twoLabels) {
        put(currentText, x + w / 4, offLabelOffsetsY[index]);
        put(currentText2, x + 3 * w / 4, onLabelOffsetsY[index]);
    } else {
        put(currentText, x + w / 2, offLabelOffsetsY[index]);
    }
}

void SwitchButton::step(bool forward) {
    value = forward ? 0 : 1;
    source.x = value == 1 ? source.w : 0;
    changed = 1;
}

void SwitchButton::setValue(int32_t v) {
    value = v == 0 ? 0 : 1;
    source.x = value == 1 ? source.w : 0;
    changed = 1;
}

bool SwitchButton::hitTest(int32_t px, int32_t py) {
    offHalfHit = onHalfHit = 0;
    if (twoLabels) {
        const int32_t w = source.w & ~1;
        const bool rows = py >= y && py <= y + source.h;
        if (rows && px >= x && px <= x + w / 2)
            offHalfHit = 1;
        else if (rows && px >= x + w / 2 && px <= x + w)
            onHalfHit = 1;
    }
    return GUIElement::hitTest(px, py);
}

void SwitchButton::draw() {
    GraphicElement::drawAt(x, y);
    if (!visible || state == Pressed) return;
    if (value == 0 && currentText) currentText->draw(false);
    if (value == 1 && twoLabels && currentText2) currentText2->draw(false);
}

void SwitchButton::refreshTexts() {
    for (auto* labels : {&offLabels, &onLabels})
        for (auto& text : *labels)
            if (text && text->key != "NONE") text->setKey(text->key);
    placeTexts();
}

void SwitchButton::parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                         TextureLookup& textures) {
    if (!acceptsName(name)) return;
    const std::vector<std::string> lines = descriptionLines(bytes, size);
    size_t slot = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (n == 0) {
            readImageLine(name, line, textures, true);
        } else if (n == 1) {
            source.w = readSize(line);
        } else if (n == 2) {
            source.h = readSize(line);
        } else if (n == 3) {
            twoLabels = readYes(line);
        } else if (n == 4) {
            stayOn = readYes(line);
        } else if (line != "NO_TEXT" && slot < (twoLabels ? 8u : 4u)) {
            const std::vector<std::string> fields = tabFields(line);
            const size_t stateIndex = twoLabels ? slot / 2 : slot;
            const bool onLabel = twoLabels && slot % 2 == 1;
            (onLabel ? onLabels : offLabels)[stateIndex] = textFromFields(fields);
            (onLabel ? onLabelOffsetsY : offLabelOffsetsY)[stateIndex] =
                fields.size() > 2 ? static_cast<uint16_t>(readNumber(fields[2])) : 0;
            ++slot;
        }
    }
    setState(Normal);
}

void SwitchButton::readBinary(ByteSource& in, TextureLookup& textures) {
    readHead(in, textures, true);
    in.field(twoLabels);
    in.field(stayOn);
    for (size_t i = 0; i < 4; ++i) {
        in.field(offLabelOffsetsY[i]);
        offLabels[i] = readTextRef(in, true);
    }
    if (twoLabels)
        for (size_t i = 0; i < 4; ++i) {
            in.field(onLabelOffsetsY[i]);
            onLabels[i] = readTextRef(in, true);
        }
    setState(Normal);
}

void SwitchButton::writeBinary(ByteSink& out) const {
    writeHead(out);
    out.field(twoLabels);
    out.field(stayOn);
    for (size_t i = 0; i < 4; ++i) {
        out.field(offLabelOffsetsY[i]);
        writeTextRef(out, offLabels[i].get());
    }
    if (twoLabels)
        for (size_t i = 0; i < 4; ++i) {
            out.field(onLabelOffsetsY[i]);
            writeTextRef(out, onLabels[i].get());
        }
}
