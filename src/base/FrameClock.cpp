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

int FrameClock::keptSwapInterval(uint32_t deltaMs, int swapInterval, int refreshHz, uint8_t& limiterEnabled,
                                 uint32_t& fastRun) {
    if (swapInterval != 1) return swapInterval;
    if (fastRun >= kUnkeptSwapFrames) return 0;
    const uint64_t periodUs = 1000000u / static_cast<uint64_t>(refreshHz > 0 ? refreshHz : 60);
    fastRun = uint64_t{deltaMs} * 4000u < periodUs * 3u ? fastRun + 1 : 0;
    if (fastRun < kUnkeptSwapFrames) return 1;
    limiterEnabled = 1;
    return 0;
}
