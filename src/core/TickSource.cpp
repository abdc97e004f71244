#include "core/TickSource.h"

#include <SDL.h>

namespace {
std::function<uint32_t()> fakeNow;
std::function<void(uint32_t)> fakeDelay;
} // namespace

uint32_t TickSource::now() {
    return fakeNow ? fakeNow() : SDL_GetTicks();
}

void TickSource::delay(uint32_t ms) {
    if (fakeDelay)
        fakeDelay(ms);
    else
        SDL_Delay(ms);
}

void TickSource::useFake(std::function<uint32_t()> now, std::function<void(uint32_t)> delay) {
    fakeNow = std::move(now);
    fakeDelay = std::move(delay);
}

void TickSource::useReal() {
    fakeNow = nullptr;
    fakeDelay = nullptr;
}
