#pragma once
#include <cstdint>

// A source rectangle in texture pixels, taken by every sprite draw.
struct ClipRect {
    int32_t x = 0;
    int32_t y = 0;
    uint16_t w = 0;
    uint16_t h = 0;
};
