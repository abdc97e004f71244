// The font list reader, bytes from memory.
#include <cstddef>
#include <cstdint>

#include "text/FontLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto entries = FontLoader::parseFontList(data, size, "Assets/font/");
    for (const FontListEntry& entry : entries)
        (void)FontLoader::atlasName(entry.description);
    return 0;
}
