// Feeds arbitrary bytes to the "config.ini" reader, line by line as the file stream gives them.
#include <algorithm>

#include "persist/ProgressRecord.h"

namespace {
void readAll(ProgressRecord& record, const std::string& bytes) {
    int position = 1;
    for (size_t start = 0, end = 0; start < bytes.size(); start = end + 1) {
        end = std::min(bytes.find('\n', start), bytes.size());
        record.readOptionLine(bytes.substr(start, end - start), position);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProgressRecord record;
    readAll(record, std::string(reinterpret_cast<const char*>(data), size));
    // Whatever was read, the volumes stay in the mixer's range and the language has a name.
    if (record.musicVolume > 128 || record.effectVolume > 128) __builtin_trap();
    if (record.language > ProgressRecord::kJapanese || record.savedLanguage != record.language)
        __builtin_trap();
    // What is written reads back the same.
    ProgressRecord again;
    readAll(again, record.optionsText());
    if (again.language != record.language || again.fullscreen != record.fullscreen ||
        again.musicVolume != record.musicVolume || again.effectVolume != record.effectVolume)
        __builtin_trap();
    return 0;
}
