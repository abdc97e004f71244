// The font list and game-text line readers, the same bytes from memory.
#include "text/FontLoader.h"
#include "text/GameTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const FontListEntry& entry : FontLoader::parseFontList(data, size, "Assets/font/"))
        (void)FontLoader::atlasName(entry.description);
    GameTexts::Table table;
    GameTexts::parseTable(data, size, table);
    return 0;
}
