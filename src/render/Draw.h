#pragma once
// The draw calls every scene uses. Each draws the renderer's one unit quad, scaled and placed by a
// model matrix, into whatever target is bound; positions are that target's pixels, top-left origin.
//
// Never: allocates, changes the bound target, or touches a texture other than the one named.
// On failure: a texture index of -1, an emptied slot, or a shader that failed to build makes the
// call draw nothing. Never throws.
#include <cstdint>

#include "base/ClipRect.h"

struct Pivot {
    int32_t x = 0;
    int32_t y = 0;
};

void drawQuad(int32_t x, int32_t y, uint32_t w, uint32_t h, int32_t shaderIndex, float angleDegrees,
              const Pivot* pivot = nullptr);
void drawSprite(int32_t texture, const ClipRect& source, int16_t x, int16_t y);
void drawSpriteAlpha(int32_t texture, const ClipRect& source, int16_t x, int16_t y, uint8_t alpha);
void drawTexture(int32_t texture, const ClipRect& source, int16_t x, int16_t y, float angleDegrees,
                 uint16_t w, uint16_t h, const Pivot* pivot, int32_t flip, uint8_t alpha);
void drawStroked(int32_t texture, const ClipRect& source, int16_t x, int16_t y, uint32_t argb);
void drawColourRect(int16_t x, int16_t y, uint16_t w, uint16_t h, uint32_t argb);
// The palette program: `texture`'s red channel picks a texel of the palette texture's first row.
void drawPaletted(int32_t texture, int32_t paletteTexture, const ClipRect& source, int16_t x, int16_t y);
