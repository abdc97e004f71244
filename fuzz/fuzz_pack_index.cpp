// Feeds arbitrary bytes to the pack reader as a whole pack file on disk, fetching every entry kept.
#include <cstring>

#include "ScratchFile.h"
#include "assets/AssetPack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AssetPack pack(scratchFile(data, size));
    if (!pack.loadIndex()) __builtin_trap();
    for (const auto& [name, offset] : pack.names()) {
        // Every entry kept lies inside the file and is fetched as exactly its bytes there.
        const uint32_t bytes = pack.entrySize(name);
        const auto fetched = pack.readFile(name);
        if (static_cast<uint64_t>(offset) + bytes > size || !fetched || fetched->size != bytes ||
            (bytes && std::memcmp(fetched->data.data(), data + offset, bytes) != 0))
            __builtin_trap();
        (void)pack.loadImage(name);
    }
    return 0;
}
