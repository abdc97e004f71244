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

    // A driver may accept swap interval 1 and not keep it (software GL under a virtual X server):
    // frames then run as fast as the CPU allows, two cores busy on a still menu. A frame under three
    // quarters of the display's refresh period (60 Hz when unknown) lengthens `fastRun`, any other
    // frame ends it; after kUnkeptSwapFrames in a row the swap is judged not to pace, the limiter is
    // switched back on and the interval is reported as 0 from then on, so `charge` paces the frames
    // as it does without vertical sync. A swap that paces, at any refresh rate, is never judged.
    static constexpr uint32_t kUnkeptSwapFrames = 60;
    static int keptSwapInterval(uint32_t deltaMs, int swapInterval, int refreshHz, uint8_t& limiterEnabled,
                                uint32_t& fastRun);
};
