// Feeds arbitrary bytes to the country list reader, with stub picture services and no GL.
#include <iostream>

#include "persist/CountryList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (std::cerr.setstate(std::ios::badbit), true); // every bad line reports itself
    (void)quiet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Terrains have a size when their name is of even length; stamps load when it is odd.
    int32_t next = 0;
    CountryPictures pictures;
    pictures.size = [](const std::string& path, int* w, int* h) {
        if (path.size() % 2) return false;
        *w = static_cast<int>(path.size());
        *h = 3;
        return true;
    };
    pictures.loadStamp = [&next](const std::string& path) { return path.size() % 2 ? next++ : -1; };
    std::vector<LevelInfo> levels;
    CountryList::readBytes(bytes, levels, pictures);
    const size_t first = levels.size();
    CountryList::readBytes(bytes, levels, pictures); // a second read of the same bytes adds nothing
    if (levels.size() != first) __builtin_trap();
    for (const LevelInfo& level : levels)
        if (level.timeLimitMinutes < 0 || level.timeLimitMinutes > 999 || level.creatureCount < 0 ||
            level.creatureCount > 999 || level.minSurvivorPercent < 0 || level.goalPercent < 0 ||
            level.spawnIntervalMs < 0 || level.imagePath.rfind("Countries/", 0) != 0)
            __builtin_trap();
    return 0;
}
