#pragma once
#include <cstdint>
#include <functional>

// The one millisecond source of the game. The main-loop clock, every PausableTimer and the frame
// limiter's sleep read it, so a test that swaps in a fake clock moves all of them in step.
// In the game it is always SDL's tick counter and SDL_Delay.
class TickSource final {
  public:
    static uint32_t now();
    static void delay(uint32_t ms);

    // Tests only: replace both with a fake; useReal() puts SDL's back.
    static void useFake(std::function<uint32_t()> now, std::function<void(uint32_t)> delay);
    static void useReal();
};
