#pragma once
#include <array>
#include <cstdint>

// A packed ARGB colour (alpha in the top byte) as the four 0..1 floats GL takes, in RGBA order.
inline std::array<float, 4> unpackArgb(uint32_t argb) {
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f};
}
