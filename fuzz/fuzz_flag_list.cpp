// Feeds arbitrary bytes to the flag list reader, with a stub picture loader and no GL.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>

#include "persist/FlagList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        std::cerr.setstate(std::ios::badbit); // "NOT LOAD." for every odd name would flood the log
        return true;
    }();
    (void)quiet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Pictures "load" when their name has an even length, so both paths are taken.
    int32_t next = 0;
    const FlagPictureLoader loader = [&next](const std::string& path) {
        FlagPicture picture;
        if (path.size() % 2 == 0) {
            picture.surface = next++;
            picture.width = 1;
            picture.height = 1;
        }
        return picture;
    };
    std::vector<Flag> flags;
    size_t firstRead = 0;
    for (int pass = 0; pass < 2; ++pass) {
        FlagList::NameCounts linesSoFar;
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find('\n', start);
            if (end == std::string::npos) end = bytes.size();
            FlagList::readLine(bytes.substr(start, end - start), flags, loader, linesSoFar);
            start = end + 1;
        }
        if (pass == 0) firstRead = flags.size();
    }
    // Reading the list again adds nothing; a name never carries a comma.
    if (flags.size() != firstRead) __builtin_trap();
    for (const Flag& flag : flags)
        if (flag.name.find(',') != std::string::npos || flag.surface < 0) __builtin_trap();
    return 0;
}
