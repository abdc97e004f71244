// Feeds arbitrary bytes to the flag list reader, with a stub picture loader and no GL.
#include <algorithm>
#include <iostream>

#include "persist/FlagList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (std::cerr.setstate(std::ios::badbit), true); // every odd name says "NOT LOAD."
    (void)quiet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Pictures "load" when their name has an even length, so both paths are taken.
    int32_t next = 0;
    const FlagPictureLoader loader = [&next](const std::string& path) {
        return path.size() % 2 ? FlagPicture{} : FlagPicture{next++, -1, 1, 1};
    };
    std::vector<Flag> flags;
    size_t firstRead = 0;
    for (int pass = 0; pass < 2; ++pass) {
        FlagList::NameCounts linesSoFar;
        for (size_t start = 0, end = 0; start < bytes.size(); start = end + 1) {
            end = std::min(bytes.find('\n', start), bytes.size());
            FlagList::readLine(bytes.substr(start, end - start), flags, loader, linesSoFar);
        }
        firstRead = pass ? firstRead : flags.size();
    }
    // Reading the list again adds nothing; a name never carries a comma.
    if (flags.size() != firstRead) __builtin_trap();
    for (const Flag& flag : flags)
        if (flag.name.find(',') != std::string::npos || flag.surface < 0) __builtin_trap();
    return 0;
}
