// The game-text line reader, bytes from memory.
#include <cstddef>
#include <cstdint>

#include "text/GameTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameTexts::Table table;
    GameTexts::parseTable(data, size, table);
    return 0;
}
