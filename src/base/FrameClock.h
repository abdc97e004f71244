#pragma once
#include <cstdint>

// The frame's time, set once per frame by the main loop and read by everything that animates.
// frameDeltaMs is at most 18, so one long frame (a level loading, a window drag) moves the game on
// by no more than 18 ms.
extern uint32_t frameTimeMs;
extern uint32_t frameDeltaMs;

struct FrameCharge {
    uint32_t chargedMs = 0; // what the frame counts as
    uint32_t sleepMs = 0;   // what the software limiter sleeps first
};

class FrameClock final {
  public:
    static constexpr uint32_t kLongestFrameMs = 18;

    // The limiter only paces frames while the swap interval is not 1; the first frame that sees
    // interval 1 switches it off for good (clears `limiterEnabled`).
    static FrameCharge charge(uint32_t deltaMs, uint8_t& limiterEnabled, int swapInterval,
                              float targetFrameMs);
};
