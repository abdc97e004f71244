// Feeds arbitrary bytes to the "config.ini" reader, line by line as the file stream gives them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "persist/ProgressRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ProgressRecord record;
    int position = 1;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        record.readOptionLine(bytes.substr(start, end - start), position);
        start = end + 1;
    }
    // Whatever was read, the volumes stay in the mixer's range and the language has a name.
    if (record.musicVolume > 128 || record.effectVolume > 128) __builtin_trap();
    if (record.language > ProgressRecord::kJapanese || record.savedLanguage != record.language)
        __builtin_trap();
    // What is written reads back the same.
    ProgressRecord again;
    const std::string text = record.optionsText();
    position = 1;
    start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        again.readOptionLine(text.substr(start, end - start), position);
        start = end + 1;
    }
    if (again.language != record.language || again.fullscreen != record.fullscreen ||
        again.musicVolume != record.musicVolume || again.effectVolume != record.effectVolume)
        __builtin_trap();
    return 0;
}
