#include "gui/Selector.h"

#include "gui/ElementServices.h"
#include "render/Draw.h"

Selector::Selector() {
    verticalStrip = 0;
    animated = 0;
}

bool Selector::acceptsName(const std::string& name) const {
    return name.find(".sel") != std::string::npos;
}

void Selector::update() {
    changed = 0;
    advancePress(state == Pressed || state == 4 || state == 5);
}

void Selector::setState(int32_t s) {
    previousState = state;
    if (s >= 0 && s < 6) state = s;
    arrowRect.y = static_cast<int32_t>(source.h) * state;
    pieceRect.y = static_cast<int32_t>(source.h) * state;
    if (s == Pressed) {
        // The menu's press steps toward the arrow under the pointer, forward anywhere else.
        step(!leftArrowHit);
    } else if (s == 4 || s == 5) {
        previousState = Focused;
        pieceRect.y = 2 * static_cast<int32_t>(source.h);
        pressTimer = 0;
    }
}

void Selector::step(bool forward) {
    const auto count = static_cast<int32_t>(options.size());
    if (forward) {
        if (wrap || selected != count - 1) ++selected;
    } else {
        if (wrap || selected != 0) --selected;
    }
    setState(forward ? 5 : 4);
    if (count == 0) {
        selected = 0;
        return;
    }
    if (selected < 0) selected = count - 1;
    if (selected >= count) selected = 0;
    placeTexts();
    changed = 1;
}

void Selector::setValue(int32_t v) {
    if (v < 0 || v >= static_cast<int32_t>(options.size())) return;
    selected = v;
    placeTexts();
    changed = 1;
}

int32_t Selector::getValue() const {
    return options.empty() ? -1 : selected;
}

TextLine* Selector::shownOption() const {
    if (selected < 0 || selected >= static_cast<int32_t>(options.size())) return nullptr;
    return options[static_cast<size_t>(selected)].get();
}

void Selector::placeTexts() {
    TextLine* text = shownOption();
    if (!text) return;
    text->align = TextLine::Centre;
    text->moveTo(clampCoordinate(static_cast<int64_t>(x) + source.w / 2),
                 clampCoordinate(static_cast<int64_t>(y) + (source.h - text->lineHeight) / 2 +
                                 static_cast<int16_t>(optionOffsetsY[static_cast<size_t>(selected)])));
}

bool Selector::hitTest(int32_t px, int32_t py) {
    leftArrowHit = rightArrowHit = 0;
    const bool rows = py >= y && py <= y + source.h;
    if (rows && px >= x && px <= x + arrowRect.w)
        leftArrowHit = 1;
    else if (rows && px >= x + source.w - arrowRect.w && px <= x + source.w)
        rightArrowHit = 1;
    return GUIElement::hitTest(px, py);
}

void Selector::drawBody(int32_t atX, int32_t atY) {
    const int32_t a = arrowRect.w, p = pieceRect.w, w = source.w;
    ClipRect piece = pieceRect;
    auto at = [](int64_t v) { return clampCoordinate(v); };
    // A piece width of 0 (a picture narrower than its two arrows) would never step forward.
    if (p >= 1) {
        piece.x = a + p;
        for (int64_t tileX = static_cast<int64_t>(atX) + a + p; tileX < static_cast<int64_t>(atX) + w - a - p;
             tileX += p)
            drawSprite(texture, piece, at(tileX), at(atY));
    }
    piece.x = a;
    drawSprite(texture, piece, at(static_cast<int64_t>(atX) + a), at(atY));
    piece.x = a + 2 * p;
    drawSprite(texture, piece, at(static_cast<int64_t>(atX) + w - a - p), at(atY));
    const int32_t h = source.h;
    const int32_t ownRow = h * (state < 4 ? state : Pressed);
    ClipRect arrow = arrowRect;
    arrow.x = 0;
    arrow.y = state == 4 ? 2 * h : state == 5 ? h : ownRow;
    drawSprite(texture, arrow, at(atX), at(atY));
    arrow.x = a + 3 * p;
    arrow.y = state == 4 ? h : state == 5 ? 2 * h : ownRow;
    drawSprite(texture, arrow, at(static_cast<int64_t>(atX) + w - a), at(atY));
}

void Selector::draw() {
    if (!visible) return;
    if (texture >= 0) drawBody(x, y);
    if (TextLine* text = shownOption()) text->draw(false);
}

void Selector::drawAt(int32_t atX, int32_t atY) {
    if (!visible) return;
    if (texture >= 0) drawBody(atX, atY);
    TextLine* text = shownOption();
    if (!text) return;
    const int16_t keepX = text->x, keepY = text->y;
    text->drawAt(clampCoordinate(static_cast<int64_t>(atX) + source.w / 2),
                 clampCoordinate(static_cast<int64_t>(atY) + (source.h - text->lineHeight) / 2 +
                                 static_cast<int16_t>(optionOffsetsY[static_cast<size_t>(selected)])),
                 false);
    text->moveTo(keepX, keepY);
}

void Selector::refreshTexts() {
    for (auto& text : options)
        if (text->key != "NONE") text->setKey(text->key);
    placeTexts();
}

void Selector::parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                     TextureLookup& textures) {
    if (!acceptsName(name)) return;
    const std::vector<std::string> lines = descriptionLines(bytes, size);
    size_t declared = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (n == 0) {
            readImageLine(name, line, textures, false);
        } else if (n == 1) {
            source.w = readSize(line);
        } else if (n == 2) {
            source.h = readSize(line);
        } else if (n == 3) {
            arrowRect = {0, 0, readSize(line), source.h};
            const int32_t rest = static_cast<int32_t>(textureWidth) - 2 * static_cast<int32_t>(arrowRect.w);
            pieceRect = {0, 0, static_cast<uint16_t>(rest > 0 ? rest / 3 : 0), source.h};
        } else if (n == 4) {
            declared = readSize(line);
            options.clear();
            optionOffsetsY.clear();
        } else if (n - 5 < declared) {
            // Only the lines really there become options: a file short of its count (a language
            // left out) must not leave options without a text.
            const std::vector<std::string> fields = tabFields(line);
            options.push_back(textFromFields(fields));
            optionOffsetsY.push_back(fields.size() > 2 ? static_cast<uint16_t>(readNumber(fields[2])) : 0);
        }
    }
    selected = 0;
    setState(Normal);
}

void Selector::readBinary(ByteSource& in, TextureLookup& textures) {
    readHead(in, textures);
    in.field(arrowRect.w);
    in.field(pieceRect.w);
    uint16_t count = 0;
    in.field(count);
    arrowRect.h = pieceRect.h = source.h;
    options.clear();
    optionOffsetsY.clear();
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t offset = 0;
        in.field(offset);
        std::unique_ptr<TextLine> text = readTextRef(in, false);
        if (!text) break;
        options.push_back(std::move(text));
        optionOffsetsY.push_back(offset);
    }
    selected = 0;
    setState(Normal);
}

void Selector::writeBinary(ByteSink& out) const {
    writeHead(out);
    out.field(arrowRect.w);
    out.field(pieceRect.w);
    out.field(static_cast<uint16_t>(options.size()));
    for (size_t i = 0; i < options.size(); ++i) {
        out.field(optionOffsetsY[i]);
        out.string(options[i]->key);
        out.field(options[i]->fontIndex);
        out.field(options[i]->colour);
    }
}
