#pragma once
// FlagList — the reader of "Flags/flags.txt", the flags a player can paint with.
//
// Owns: nothing; it appends to the flag list it is given. The pictures are made by the loader it
// is handed (the texture store in the game, a stub in tests and fuzzing).
// Never: throws. Each line is one entry (a flag named twice is two), but reading the list again adds
// only lines that are new: the nth line naming a flag adds one while fewer than n entries bear it.
// On failure: a missing list writes "Flags/flags.txt NOT FOUND!"; a picture that does not load
// writes "Flag <name> NOT LOAD." and the flag is left out. Both to standard error; the game goes on.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// One loaded flag. Its surface is also the paint palette: the leftmost column, top to bottom. The
// game shows a flag only at kShownWidth x kShownHeight, and its texture is the picture shrunk to
// that size; width and height are the picture's own.
struct Flag {
    static constexpr uint16_t kShownWidth = 50, kShownHeight = 30;
    std::string name; // the file name inside "Flags/"
    int32_t surface = -1;
    int32_t texture = -1;
    uint16_t width = 0;
    uint16_t height = 0;
};

// What the loader gives back for "Flags/" + name; surface -1 when the picture did not load.
struct FlagPicture {
    int32_t surface = -1;
    int32_t texture = -1;
    uint16_t width = 0;
    uint16_t height = 0;
};
using FlagPictureLoader = std::function<FlagPicture(const std::string& path)>;

class FlagList final {
  public:
    static constexpr const char* kListFile = "Flags/flags.txt";
    static constexpr const char* kFolder = "Flags/";

    // False when the list file does not open (the message is written); `flags` is then unchanged.
    static bool load(std::vector<Flag>& flags, const FlagPictureLoader& loader,
                     const std::string& listFile = kListFile);
    // How many lines of the list being read named each flag so far.
    using NameCounts = std::map<std::string, size_t>;
    // One line of the list, as read from the file without its line feed.
    static void readLine(std::string line, std::vector<Flag>& flags, const FlagPictureLoader& loader,
                         NameCounts& linesSoFar);
};
