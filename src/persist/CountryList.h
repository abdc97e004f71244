#pragma once
// CountryList — the reader of "Countries/countries.txt", one level per line.
//
// Owns: nothing; it appends to the level list it is given. Picture work goes through the services
// it is handed (the texture store in the game, stubs in tests and fuzzing).
// Never: throws, decodes a terrain (its size comes from the picture's header), or adds a line a
// previous read already added (within one read every line counts).
// On failure: a missing list writes "Countries/countries.txt NOT FOUND!"; a line with fewer than
// 12 fields, a number that is not a decimal integer, negative timing fields, or more than 999
// minutes or creatures writes the "NOT ENOUGHT PARAMETERS." line with its number and is left out;
// a terrain whose size cannot be read or a stamp that does not load writes a line naming the file
// and the level stays in the list. All to standard error; the game goes on.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "persist/LevelInfo.h"

struct CountryPictures {
    // The size of the picture at `path` from its header; false when it cannot be read.
    std::function<bool(const std::string& path, int* width, int* height)> size;
    // The stamp at `path` as a 4-byte surface kept for the run; -1 when it does not load.
    std::function<int32_t(const std::string& path)> loadStamp;
};

class CountryList final {
  public:
    static constexpr const char* kListFile = "Countries/countries.txt";
    static constexpr const char* kFolder = "Countries/";
    static constexpr int32_t kMostMinutes = 999;
    static constexpr int32_t kMostCreatures = 999;

    // False when the list file does not open (the message is written); `levels` is then unchanged.
    static bool load(std::vector<LevelInfo>& levels, const CountryPictures& pictures,
                     const std::string& listFile = kListFile);
    // The whole file's bytes, split at line feeds (a final line feed ends the last line).
    static void readBytes(const std::string& bytes, std::vector<LevelInfo>& levels,
                          const CountryPictures& pictures);
    // One line without its line feed; `number` counts every line from 1, comments included.
    // `known` entries (those of earlier reads) are not added again.
    static void readLine(std::string line, uint32_t number, std::vector<LevelInfo>& levels, size_t known,
                         const CountryPictures& pictures);
};
