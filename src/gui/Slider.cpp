#include "gui/Slider.h"

#include <algorithm>

#include "assets/StringHelpers.h"
#include "gui/ElementServices.h"
#include "render/Draw.h"

Slider::Slider() {
    verticalStrip = 0;
    animated = 0;
}

bool Slider::acceptsName(const std::string& name) const {
    return name.find(".sli") != std::string::npos;
}

bool Slider::emptyRange() const {
    return maxValue <= minValue || static_cast<int32_t>(source.w) <= 2 * static_cast<int64_t>(fillMargin);
}

void Slider::update() {
    changed = 0;
    advancePress(state == Pressed || state == 4 || state == 5);
}

void Slider::setState(int32_t s) {
    previousState = state;
    if (s >= 0 && s < 6) state = s;
    fillRect.x = 10 * state;
    fillRect.w = 10;
    const int32_t h = source.h;
    if (state == Focused || state == Pressed) highlightY = static_cast<uint16_t>(h * state + fillHeight);
    if (s == Pressed || s == 4 || s == 5) {
        fillRect.x = 20;
        highlightY = static_cast<uint16_t>(2 * h + fillHeight);
        if (s == Pressed) {
            if (hovered) {
                hovered = 0;
                setValue(static_cast<int32_t>(pointerValue));
            } else {
                setValue(value <= minValue ? maxValue : minValue);
            }
        }
        // Every press returns to the focused look, however it came (held Right included).
        previousState = Focused;
        pressTimer = 0;
    }
}

void Slider::step(bool forward) {
    const bool atLimit = forward ? value >= maxValue : value <= minValue;
    if (!atLimit) value += forward ? stepSize : -static_cast<int32_t>(stepSize);
    setState(forward ? 5 : 4);
    if (atLimit) return;
    if (minValue <= maxValue) value = std::clamp<int32_t>(value, minValue, maxValue);
    showValue();
    changed = 1;
}

void Slider::setValue(int32_t v) {
    // min above max has no range to clamp into: the value stays.
    if (minValue > maxValue) return;
    value = std::clamp<int32_t>(v, minValue, maxValue);
    showValue();
    changed = 1;
}

void Slider::showValue() {
    if (!valueText) return;
    valueText->setString(value < 0 ? std::to_string(value) : toStringPadded(static_cast<uint32_t>(value), 3));
    placeTexts();
}

void Slider::placeTexts() {
    if (!valueText) return;
    const int64_t w = source.w, h = source.h, lh = valueText->lineHeight;
    int64_t tx = x + w / 2 + textOffsetX;
    int64_t ty = y + (h - lh) / 2 + textOffsetY;
    if (textPlacement == 1) tx = x + textOffsetX;
    if (textPlacement == 2) tx = x + w + textOffsetX;
    if (textPlacement == 3) ty = y - lh;
    if (textPlacement == 4) ty = y + h;
    valueText->align = TextLine::Centre;
    valueText->moveTo(clampCoordinate(tx), clampCoordinate(ty));
}

bool Slider::hitTest(int32_t px, int32_t py) {
    const bool inside = GUIElement::hitTest(px, py);
    if (inside && !emptyRange()) {
        const int64_t span = static_cast<int64_t>(source.w) - 2 * static_cast<int64_t>(fillMargin);
        const int64_t along = std::max<int64_t>(0, static_cast<int64_t>(px) - fillMargin - x);
        const int64_t v = minValue + along * (maxValue - minValue) / span;
        pointerValue = static_cast<uint32_t>(std::min<int64_t>(v, maxValue));
    }
    return inside;
}

int32_t Slider::fillLength() const {
    if (emptyRange()) return 0;
    const int64_t span = static_cast<int64_t>(source.w) - 2 * static_cast<int64_t>(fillMargin);
    const int64_t shown =
        std::clamp<int64_t>(std::min<int64_t>(value, maxValue) - minValue, 0, maxValue - minValue);
    // A negative margin would make the fill longer than the bar (by millions of chunks for a
    // large one): it never runs past the bar's own width.
    return static_cast<int32_t>(std::min<int64_t>(span * shown / (maxValue - minValue), source.w));
}

void Slider::drawFrame(int32_t row) {
    const int32_t q = textureWidth / 3;
    const uint16_t h = source.h;
    const auto piece = static_cast<uint16_t>(q);
    auto at = [](int64_t v) { return clampCoordinate(v); };
    // A picture narrower than three pixels has no piece to step by.
    if (q >= 1)
        for (int64_t px = static_cast<int64_t>(x) + q; px < static_cast<int64_t>(x) + source.w - q; px += q)
            drawSprite(texture, {q, row, piece, h}, at(px), at(y));
    drawSprite(texture, {0, row, piece, h}, at(x), at(y));
    drawSprite(texture, {textureWidth - q, row, piece, h}, at(static_cast<int64_t>(x) + source.w - q), at(y));
}

void Slider::draw() {
    if (!visible) return;
    if (texture >= 0) {
        drawFrame(source.y);
        ClipRect chunk = fillRect;
        chunk.h = fillHeight;
        for (int32_t done = 0, length = fillLength(); done < length; done += 10) {
            chunk.w = static_cast<uint16_t>(std::min(10, length - done));
            drawSprite(texture, chunk, clampCoordinate(static_cast<int64_t>(x) + fillMargin + done),
                       clampCoordinate(static_cast<int64_t>(y) + fillY));
        }
        if (state != Normal && state != Disabled) drawFrame(highlightY);
    }
    if (valueText) valueText->draw(false);
}

void Slider::parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                   TextureLookup& textures) {
    if (!acceptsName(name)) return;
    const std::vector<std::string> lines = descriptionLines(bytes, size);
    for (size_t n = 0; n < lines.size() && n < 8; ++n) {
        const std::string& line = lines[n];
        int32_t a = 0, b = 0;
        switch (n) {
        case 0:
            readImageLine(name, line, textures, false);
            break;
        case 1:
            source.w = readSize(line);
            break;
        case 2:
            source.h = readSize(line);
            break;
        case 3:
            readPair(line, fillMargin, fillY);
            break;
        case 4:
            fillHeight = readSize(line);
            source.y = fillHeight;
            fillRect.h = fillHeight;
            break;
        case 5:
            readPair(line, a, b);
            minValue = static_cast<int16_t>(std::clamp(a, -32768, 32767));
            maxValue = static_cast<int16_t>(std::clamp(b, -32768, 32767));
            value = maxValue;
            break;
        case 6:
            stepSize = readSize(line);
            break;
        default: {
            if (line == "NO_TEXT") break;
            const std::vector<std::string> fields = tabFields(line);
            const std::string& word = fields.empty() ? line : fields[0];
            textPlacement = word == "LEFT"     ? 1
                            : word == "RIGHT"  ? 2
                            : word == "TOP"    ? 3
                            : word == "BOTTOM" ? 4
                                               : 0;
            if (fields.size() > 1) readPair(fields[1], textOffsetX, textOffsetY);
            int32_t font = 0, colour = 0;
            if (fields.size() > 2) readPair(fields[2], font, colour);
            valueText = std::make_unique<TextLine>(static_cast<uint16_t>(std::clamp(font, 0, 0xFFFF)),
                                                   static_cast<uint8_t>(std::clamp(colour, 0, 0xFF)));
            break;
        }
        }
    }
    showValue();
    setState(Normal);
}

void Slider::readBinary(ByteSource& in, TextureLookup& textures) {
    readHead(in, textures);
    in.field(fillMargin);
    in.field(fillY);
    in.field(fillHeight);
    fillRect.h = fillHeight;
    in.field(minValue);
    in.field(maxValue);
    in.field(stepSize);
    in.field(textPlacement);
    in.field(textOffsetX);
    in.field(textOffsetY);
    uint16_t font = 0;
    uint8_t colour = 0;
    in.field(font);
    in.field(colour);
    valueText = std::make_unique<TextLine>(font, colour);
    showValue();
    setState(Normal);
}

void Slider::writeBinary(ByteSink& out) const {
    writeHead(out);
    out.field(fillMargin);
    out.field(fillY);
    out.field(fillHeight);
    out.field(minValue);
    out.field(maxValue);
    out.field(stepSize);
    out.field(textPlacement);
    out.field(textOffsetX);
    out.field(textOffsetY);
    out.field(valueText ? valueText->fontIndex : uint16_t{0});
    out.field(valueText ? valueText->colour : uint8_t{0});
}
