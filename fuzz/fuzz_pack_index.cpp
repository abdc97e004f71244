// Feeds arbitrary bytes to the pack directory reader as if they were a whole pack file.
#include <sstream>

#include "assets/AssetPack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AssetPack pack("/nonexistent");
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    pack.readIndex(in, size);
    for (const auto& [name, offset] : pack.names()) {
        // Every entry the reader kept must lie inside the bytes it was given.
        if (static_cast<uint64_t>(offset) + pack.entrySize(name) > size) __builtin_trap();
    }
    return 0;
}
