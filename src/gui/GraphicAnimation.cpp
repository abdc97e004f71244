#include "gui/GraphicAnimation.h"

#include "assets/StringHelpers.h"
#include "gui/ElementServices.h"
#include "gui/GUIElement.h"
#include "render/Draw.h"

// A frame offset may be any 32-bit number: the sum is taken wide and kept at the edge of the
// drawable range, as the widgets place their texts.
void GraphicAnimation::drawAt(int32_t atX, int32_t atY) {
    GraphicElement::drawAt(GUIElement::clampCoordinate(static_cast<int64_t>(atX) + offsetX),
                           GUIElement::clampCoordinate(static_cast<int64_t>(atY) + offsetY));
}

void GraphicAnimation::applyFrame() {
    if (frame < frameRects.size()) source = frameRects[frame];
    if (frame < frameOffsets.size()) {
        offsetX = frameOffsets[frame].x;
        offsetY = frameOffsets[frame].y;
    }
}

ClipRect GraphicAnimation::cellRect(uint16_t n) const {
    const uint16_t columns = cellColumns ? cellColumns : 1, rows = cellRows ? cellRows : 1;
    const uint16_t cw = textureWidth / columns, ch = textureHeight / rows;
    const uint16_t index = static_cast<uint16_t>(n - 1);
    return ClipRect{cw * (index % columns), ch * (index / columns), cw, ch};
}

void GraphicAnimation::parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                             TextureLookup& textures) {
    const std::vector<std::string> lines = descriptionLines(bytes, size);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (n == 0) {
            imagePath = imagePathFor(name, line);
            fetchTexture(textures);
        } else if (n == 1) {
            cellColumns = std::max<uint16_t>(readSize(line), 1);
        } else if (n == 2) {
            cellRows = std::max<uint16_t>(readSize(line), 1);
        } else if (n == 3) {
            loop = readYes(line);
        } else if (n == 4) {
            frameCount = readSize(line);
            frameDurations.assign(frameCount, 0);
            frameRects.assign(frameCount, ClipRect{});
            frameOffsets.assign(frameCount, PointI32{});
        } else if (n - 5 < frameDurations.size()) {
            // A frame line short of fields takes 0 for what it lacks.
            const size_t f = n - 5;
            const std::vector<std::string> fields = split(line, '\t');
            frameDurations[f] = fields.empty() ? 0 : static_cast<uint16_t>(readNumber(fields[0]));
            if (fields.size() > 1) {
                const std::vector<std::string> numbers = split(fields[1], ',');
                if (numbers.size() >= 4)
                    frameRects[f] = ClipRect{readNumber(numbers[0]), readNumber(numbers[1]),
                                             readSize(numbers[2]), readSize(numbers[3])};
                else
                    frameRects[f] = cellRect(static_cast<uint16_t>(readNumber(fields[1])));
            }
            if (fields.size() > 2) {
                const std::vector<std::string> numbers = split(fields[2], ',');
                frameOffsets[f] = PointI32{numbers.empty() ? 0 : readNumber(numbers[0]),
                                           numbers.size() < 2 ? 0 : readNumber(numbers[1])};
            }
        }
    }
    if (frameCount > 0) {
        frame = 0;
        applyFrame();
    }
}

void GraphicAnimation::readBinary(ByteSource& in, TextureLookup& textures) {
    if (in.string(imagePath)) fetchTexture(textures);
    in.field(cellColumns);
    in.field(cellRows);
    in.field(source.x);
    in.field(source.y);
    in.field(source.w);
    in.field(source.h);
    uint16_t count = frameCount;
    in.field(count);
    frameCount = count;
    frameDurations.assign(count, 0);
    frameRects.assign(count, ClipRect{});
    frameOffsets.assign(count, PointI32{});
    for (uint16_t f = 0; f < count; ++f) {
        in.field(frameDurations[f]);
        in.field(frameRects[f].x);
        in.field(frameRects[f].y);
        in.field(frameRects[f].w);
        in.field(frameRects[f].h);
        in.field(frameOffsets[f].x);
        in.field(frameOffsets[f].y);
    }
    in.field(frame);
    in.field(frameTime);
    in.field(loop);
    in.field(verticalStrip);
}

void GraphicAnimation::writeBinary(ByteSink& out) const {
    out.string(imagePath);
    out.field(cellColumns);
    out.field(cellRows);
    out.field(source.x);
    out.field(source.y);
    out.field(source.w);
    out.field(source.h);
    out.field(frameCount);
    for (uint16_t f = 0; f < frameCount; ++f) {
        const ClipRect rect = f < frameRects.size() ? frameRects[f] : ClipRect{};
        const PointI32 offset = f < frameOffsets.size() ? frameOffsets[f] : PointI32{};
        out.field(f < frameDurations.size() ? frameDurations[f] : uint16_t{0});
        out.field(rect.x);
        out.field(rect.y);
        out.field(rect.w);
        out.field(rect.h);
        out.field(offset.x);
        out.field(offset.y);
    }
    out.field(frame);
    out.field(frameTime);
    out.field(loop);
    out.field(verticalStrip);
}
