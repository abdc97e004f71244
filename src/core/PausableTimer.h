#pragma once
#include <cstdint>

// A millisecond clock that can be paused without counting the paused time: the main-loop clock
// and the level's play timer. Reads TickSource, never SDL directly. Arithmetic wraps like the
// 32-bit tick counter it reads.
class PausableTimer final {
  public:
    enum State : uint32_t { Running = 1, Paused = 2, Stopped = 3 };

    // A fresh timer is zeroed and in no state (reads 0) until start().
    PausableTimer() = default;

    // Starts counting from zero, as a new main-loop clock does.
    void start();
    // Keeps the count, stops counting; read() returns the count from then on.
    void stop();
    uint32_t read();
    void pause();
    void resume();

    uint32_t state() const { return state_; }
    bool running() const { return state_ == Running; }
    bool paused() const { return state_ == Paused; }

  private:
    uint32_t startTicks_ = 0;
    uint32_t pausedValue_ = 0;
    uint32_t accumulated_ = 0;
    uint32_t state_ = 0;
};
