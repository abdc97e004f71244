#include "gui/GraphicElement.h"

#include <cmath>

#include "assets/AssetPack.h"
#include "assets/FileStream.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "gui/ElementServices.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"

GraphicElement::~GraphicElement() {
    if (texture == -1) return;
    if (ResourceStore* store = GameWide<ResourceStore>::get())
        if (store->textureIndex(imagePath) >= 0) store->deleteTexture(imagePath);
}

void GraphicElement::loadFrom(const std::string& name, ElementFileLookup& files, TextureLookup& textures) {
    std::vector<uint8_t> bytes;
    if (name.find(".bin") != std::string::npos) {
        if (acceptsName(name) && files.readDiskFile(name, bytes)) {
            MemorySource in(bytes.data(), bytes.size());
            readBinary(in, textures);
        }
    } else if (files.readPackFile(name, bytes)) {
        parseDescriptionBytes(name, bytes.data(), bytes.size(), textures);
    }
    frame = 0;
    frameTime = 0;
    visible = 1;
    animated = frameCount > 1 ? 1 : 0;
}

bool GraphicElement::load(const std::string& name) {
    if (name.find(".bin") != std::string::npos)
        loadBinary(name);
    else
        loadDescription(name);
    frame = 0;
    frameTime = 0;
    visible = 1;
    animated = frameCount > 1 ? 1 : 0;
    return true;
}

void GraphicElement::fetchTexture(TextureLookup& textures) {
    texture = textures.fetch(imagePath, textureWidth, textureHeight);
    if (texture < 0) textureWidth = textureHeight = 0;
}

bool GraphicElement::initFromImage(const std::string& path, uint16_t w, uint16_t h, int32_t atX,
                                   int32_t atY) {
    StoreTextureLookup store;
    initFromImageWith(path, w, h, atX, atY, store);
    return true;
}

void GraphicElement::initFromImageWith(const std::string& path, uint16_t w, uint16_t h, int32_t atX,
                                       int32_t atY, TextureLookup& textures) {
    imagePath = path;
    fetchTexture(textures);
    source = ClipRect{0, 0, w, h};
    setPosition(atX, atY);
    home = target = PointI32{atX, atY};
    visible = 1;
    frame = frameTime = 0;
    verticalStrip = 1;
    frameCount = 1;
    frameDurations.assign(1, 0);
}

void GraphicElement::update() {
    if (animated && visible) advanceAnimation();
}

void GraphicElement::drawAt(int32_t atX, int32_t atY) {
    if (visible && texture >= 0)
        drawSprite(texture, source, static_cast<int16_t>(atX), static_cast<int16_t>(atY));
}

void GraphicElement::draw() {
    drawAt(x, y);
}

void GraphicElement::moveTowardTarget(uint16_t speed) {
    const int32_t dx = target.x - x, dy = target.y - y;
    const double dist = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    // Callers stop at the target; a zero distance would divide by zero.
    if (dist == 0.0) return;
    const int32_t oldX = x, oldY = y;
    xMilli += static_cast<int32_t>(std::trunc(dx / dist * speed)) * static_cast<int32_t>(frameDeltaMs);
    yMilli += static_cast<int32_t>(std::trunc(dy / dist * speed)) * static_cast<int32_t>(frameDeltaMs);
    x = xMilli / 1000;
    y = yMilli / 1000;
    if ((oldX < target.x && x > target.x) || (oldX > target.x && x < target.x)) {
        x = target.x;
        xMilli = target.x * 1000;
    }
    if ((oldY < target.y && y > target.y) || (oldY > target.y && y < target.y)) {
        y = target.y;
        yMilli = target.y * 1000;
    }
    // Text boxes lay their lines out again at the new place.
    if (isKindOf(32)) setPosition(x, y);
}

void GraphicElement::setPosition(int32_t atX, int32_t atY) {
    x = atX;
    y = atY;
    xMilli = atX * 1000;
    yMilli = atY * 1000;
}

void GraphicElement::setX(int32_t atX) {
    x = atX;
    xMilli = atX * 1000;
}

void GraphicElement::setY(int32_t atY) {
    y = atY;
    yMilli = atY * 1000;
}

void GraphicElement::loadDescription(const std::string& name) {
    parseDescription(name);
}

void GraphicElement::parseDescription(const std::string& name) {
    const AssetPack* pack = GameWide<AssetPack>::get();
    std::unique_ptr<PackBuffer> buffer = pack ? pack->readFile(name) : nullptr;
    if (!buffer) return;
    const size_t size = std::min<size_t>(buffer->size, buffer->data.size());
    const size_t from = std::min<size_t>(buffer->position, size);
    StoreTextureLookup store;
    parseDescriptionBytes(name, buffer->data.data() + from, size - from, store);
}

std::vector<std::string> GraphicElement::descriptionLines(const uint8_t* bytes, size_t size) {
    std::vector<std::string> lines;
    std::string line;
    auto finish = [&] {
        if (line.empty() || line[0] != '#') lines.push_back(line);
        line.clear();
    };
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\n')
            finish();
        else if (bytes[i] != '\r')
            line.push_back(static_cast<char>(bytes[i]));
    }
    if (!line.empty()) finish();
    return lines;
}

int32_t GraphicElement::readNumber(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), 0x7FFFFFFF);
    return static_cast<int32_t>(negative ? -value : value);
}

uint16_t GraphicElement::readSize(const std::string& text) {
    const int32_t value = readNumber(text);
    return static_cast<uint16_t>(value < 0 ? 0 : std::min<int32_t>(value, 0xFFFF));
}

std::string GraphicElement::imagePathFor(const std::string& descriptionName, const std::string& line) {
    const size_t slash = descriptionName.rfind('/');
    return slash == std::string::npos ? line : descriptionName.substr(0, slash + 1) + line;
}

void GraphicElement::parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                           TextureLookup& textures) {
    readStripLines(name, descriptionLines(bytes, size), textures, false);
}

void GraphicElement::readImageLine(const std::string& name, const std::string& line, TextureLookup& textures,
                                   bool noImageAllowed) {
    source.x = source.y = 0;
    if (noImageAllowed && line == "NO_IMAGE") {
        imagePath = line;
        texture = -1;
        textureWidth = textureHeight = 0;
        return;
    }
    imagePath = imagePathFor(name, line);
    fetchTexture(textures);
}

size_t GraphicElement::readStripLines(const std::string& name, const std::vector<std::string>& lines,
                                      TextureLookup& textures, bool noImageAllowed) {
    size_t end = 6;
    for (size_t n = 0; n < lines.size() && n < end; ++n) {
        const std::string& line = lines[n];
        switch (n) {
        case 0:
            readImageLine(name, line, textures, noImageAllowed);
            break;
        case 1:
            source.w = readSize(line);
            break;
        case 2:
            source.h = readSize(line);
            break;
        case 3:
            loop = readYes(line);
            break;
        case 4:
            verticalStrip = readYes(line);
            break;
        case 5:
            frameCount = readSize(line);
            frameDurations.assign(frameCount, 0);
            end = 6 + static_cast<size_t>(frameCount);
            break;
        default:
            frameDurations[n - 6] = static_cast<uint16_t>(readNumber(line));
            break;
        }
    }
    return end;
}

void GraphicElement::readHead(ByteSource& in, TextureLookup& textures, bool noImageAllowed) {
    if (in.string(imagePath)) {
        if (noImageAllowed && imagePath == "NO_IMAGE") {
            texture = -1;
            textureWidth = textureHeight = 0;
        } else {
            fetchTexture(textures);
        }
    }
    in.field(source.x);
    in.field(source.y);
    in.field(source.w);
    in.field(source.h);
}

void GraphicElement::writeHead(ByteSink& out) const {
    out.string(imagePath);
    out.field(source.x);
    out.field(source.y);
    out.field(source.w);
    out.field(source.h);
}

void GraphicElement::readBinary(ByteSource& in, TextureLookup& textures) {
    readHead(in, textures);
    readStripFields(in);
}

void GraphicElement::readStripFields(ByteSource& in) {
    uint16_t count = frameCount;
    in.field(count);
    frameCount = count;
    frameDurations.assign(frameCount, 0);
    for (uint16_t& duration : frameDurations)
        in.field(duration);
    in.field(frame);
    in.field(frameTime);
    in.field(loop);
    in.field(verticalStrip);
}

void GraphicElement::writeBinary(ByteSink& out) const {
    writeHead(out);
    writeStripFields(out);
}

void GraphicElement::writeStripFields(ByteSink& out) const {
    out.field(frameCount);
    for (uint16_t i = 0; i < frameCount; ++i)
        out.field(i < frameDurations.size() ? frameDurations[i] : uint16_t{0});
    out.field(frame);
    out.field(frameTime);
    out.field(loop);
    out.field(verticalStrip);
}

namespace {
class FileSource final : public ByteSource {
  public:
    explicit FileSource(FileStream& file) : file_(file) {}
    size_t read(void* destination, size_t count) override { return file_.read(destination, count); }

  private:
    FileStream& file_;
};
} // namespace

void GraphicElement::saveBinary(const std::string& path) const {
    ByteSink sink;
    writeBinary(sink);
    FileStream file;
    file.open(path, "wb");
    if (!file.isOpen()) return;
    file.write(sink.bytes.data(), sink.bytes.size());
    file.close();
}

void GraphicElement::loadBinary(const std::string& path) {
    if (!acceptsName(path)) return;
    FileStream file;
    file.open(path, "rb");
    if (!file.isOpen()) return;
    FileSource source(file);
    StoreTextureLookup store;
    readBinary(source, store);
    file.close();
}

void GraphicElement::advanceAnimation() {
    frameTime = static_cast<uint16_t>(frameTime + frameDeltaMs);
    const uint16_t duration = frame < frameDurations.size() ? frameDurations[frame] : 0;
    if (frameTime <= duration) return;
    frameTime = static_cast<uint16_t>(frameTime - duration);
    ++frame;
    if (frame >= frameCount) frame = loop ? 0 : static_cast<uint16_t>(frameCount == 0 ? 0 : frameCount - 1);
    applyFrame();
}

void GraphicElement::applyFrame() {
    if (verticalStrip)
        source.y = static_cast<int32_t>(source.h) * frame;
    else
        source.x = static_cast<int32_t>(source.w) * frame;
}
