// Feeds arbitrary bytes to the progress file's reader (in memory: nothing is renamed or saved).
#include <iostream>
#include <string>

#include "persist/CampaignProgress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    [[maybe_unused]] static const bool quiet =
        (std::cerr.setstate(std::ios::badbit), true); // a line per bad line read
    CampaignProgress progress;
    if (!progress.readBytes(std::string(reinterpret_cast<const char*>(data), size))) {
        if (!progress.painted.empty()) __builtin_trap(); // a foreign file gives no progress
        return 0;
    }
    // Every entry kept is whole and found by its name; what a save would write reads back the same.
    for (const PaintedCountry& country : progress.painted)
        if (country.country.empty() || country.flag.empty() || country.bestTimeLeftMs < 0 ||
            country.mostSaved < 0 || progress.find(country.country) != &country)
            __builtin_trap();
    CampaignProgress again;
    if (!again.readBytes(progress.text()) || again.text() != progress.text()) __builtin_trap();
    return 0;
}
