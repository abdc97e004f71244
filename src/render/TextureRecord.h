#pragma once
#include <cstdint>

#include "base/ClipRect.h"

// One GL texture of the store, possibly with a framebuffer that makes it a render target.
struct TextureRecord {
    uint32_t glTexture = 0;
    uint32_t renderbuffer = 0;
    uint32_t framebuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
    float colour[4] = {1, 1, 1, 1};
    float colourAdd[3] = {0, 0, 0};
    // 0 additive, 1 multiply, 2 normal alpha; any other value leaves blending as it is.
    uint32_t blendMode = 2;
    // A picture with mipmaps and nearest sampling is sampled without them while it is drawn at
    // its own size: the same pixels, and the software GL then skips the level-of-detail work of
    // every pixel. True while the texture's minifying filter is the plain one.
    bool mipmappedNearest = false;
    bool sampledPlain = false;
    // False for pictures only ever drawn at their own size (font atlases): no levels are made.
    bool mipmaps = true;
    // The smallest rectangle holding every pixel of the picture as loaded that is not fully clear
    // (w = 0: none is). Unknown for render targets and pictures without alpha, and unknown again
    // once the texture is written after loading.
    ClipRect visible;
    bool visibleKnown = false;
};
