#include "core/PausableTimer.h"

#include "core/TickSource.h"

void PausableTimer::start() {
    startTicks_ = TickSource::now();
    pausedValue_ = 0;
    accumulated_ = 0;
    state_ = Running;
}

void PausableTimer::stop() {
    if (state_ == Running) read();
    state_ = Stopped;
}

uint32_t PausableTimer::read() {
    switch (state_) {
    case Running: {
        const uint32_t now = TickSource::now();
        accumulated_ += now - startTicks_;
        startTicks_ = now;
        return accumulated_;
    }
    case Paused:
        return pausedValue_;
    case Stopped:
        return accumulated_;
    default:
        return 0;
    }
}

void PausableTimer::pause() {
    if (state_ != Running) return;
    const uint32_t now = TickSource::now();
    state_ = Paused;
    accumulated_ += now - startTicks_;
    pausedValue_ = accumulated_;
    startTicks_ = now;
}

void PausableTimer::resume() {
    if (state_ != Paused) return;
    state_ = Running;
    startTicks_ = TickSource::now();
    pausedValue_ = 0;
}
