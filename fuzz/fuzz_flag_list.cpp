// Feeds arbitrary bytes to the flag list reader as the list file, with a stub picture loader and no GL.
#include <iostream>

#include "ScratchFile.h"
#include "persist/FlagList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    [[maybe_unused]] static const bool quiet = (std::cerr.setstate(std::ios::badbit), true); // no "NOT LOAD."
    // Pictures "load" when their name has an even length, so both paths are taken.
    int32_t next = 0;
    const FlagPictureLoader loader = [&next](const std::string& path) {
        return path.size() % 2 ? FlagPicture{} : FlagPicture{next++, -1, 1, 1};
    };
    std::vector<Flag> flags;
    const std::string path = scratchFile(data, size);
    if (!FlagList::load(flags, loader, path) || FlagList::load(flags, loader, path + ".absent"))
        __builtin_trap();
    // Reading the list again adds nothing; a name never carries a comma.
    const size_t firstRead = flags.size();
    FlagList::load(flags, loader, path);
    if (flags.size() != firstRead) __builtin_trap();
    for (const Flag& flag : flags)
        if (flag.name.find(',') != std::string::npos || flag.surface < 0) __builtin_trap();
    return 0;
}
