#include "base/FrameClock.h"

#include <algorithm>

uint32_t frameTimeMs = 0;
uint32_t frameDeltaMs = 0;

FrameCharge FrameClock::charge(uint32_t deltaMs, uint8_t& limiterEnabled, int swapInterval,
                               float targetFrameMs) {
    FrameCharge result;
    result.chargedMs = std::min(deltaMs, kLongestFrameMs);
    if (!limiterEnabled) return result;
    if (swapInterval == 1) {
        limiterEnabled = 0;
        return result;
    }
    const auto budget = static_cast<uint32_t>(targetFrameMs);
    if (result.chargedMs < budget) {
        result.sleepMs = budget - result.chargedMs;
        result.chargedMs = budget;
    }
    return result;
}
