#pragma once
// GraphicAnimation — an animation whose frames are free rectangles of a texture (or numbered cells
// of a grid), each drawn at its own offset.
// Never: reads a frame table entry that does not exist; a missing entry leaves the frame as is.
#include "gui/GraphicElement.h"

class GraphicAnimation final : public GraphicElement {
  public:
    void drawAt(int32_t atX, int32_t atY) override;
    void draw() override { drawAt(x, y); }
    bool isKindOf(int kind) const override { return kind == 24 || kind == 25; }
    void applyFrame() override;
    void parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                               TextureLookup& textures) override;
    void readBinary(ByteSource& in, TextureLookup& textures) override;
    void writeBinary(ByteSink& out) const override;

    // The rectangle of grid cell n (counted from 1 in reading order).
    ClipRect cellRect(uint16_t n) const;

    std::vector<ClipRect> frameRects = std::vector<ClipRect>(1);
    std::vector<PointI32> frameOffsets = std::vector<PointI32>(1);
    int32_t offsetX = 0, offsetY = 0;
    uint16_t cellColumns = 1, cellRows = 1;
};
