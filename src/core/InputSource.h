#pragma once
#include <cstdint>

// Where InputState reads held keys, the mouse position and held buttons. The game always uses
// SDL's own state arrays; tests install their own source, since pushed SDL events do not change
// those arrays and cannot hold a key or a button down.
class InputSource {
  public:
    virtual ~InputSource() = default;
    // SDL's keyboard state: indexed by scancode, `count` entries.
    virtual const uint8_t* keyboard(int* count) = 0;
    // Window pixels; returns SDL's button mask.
    virtual uint32_t mouse(int* x, int* y) = 0;
};
