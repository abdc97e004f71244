#pragma once
// Keys, the pointer and the mouse buttons as a test or the robot player holds them: pushed SDL
// events cannot hold anything down. No gtest in here, so the robot builds with it too.
#include <SDL.h>
#include <array>
#include <cstdint>

#include "core/InputSource.h"

class FakeInput final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override {
        *count = static_cast<int>(keys.size());
        return keys.data();
    }
    // Window pixels, and SDL's button mask.
    uint32_t mouse(int* x, int* y) override {
        *x = mx;
        *y = my;
        return buttons;
    }
    std::array<uint8_t, SDL_NUM_SCANCODES> keys{};
    int mx = 0, my = 0;
    uint32_t buttons = 0;
};
