#pragma once
// WholeFileWriter — replaces a small text file of the game's own ("config.ini", the progress file)
// so that a game killed mid-save leaves the old file or the new one, never a cut one.
//
// Owns: nothing; the scratch file "<path>.tmp" lives only during a save.
// Never: renames a scratch file shorter than the text over the old file (a full disk), or leaves
// the scratch file behind.
// On failure: answers Failed and prints nothing (each caller words its own message); the old file
// stays as it was.
#include <string>

class WholeFileWriter final {
  public:
    enum class Result { Replaced, WrittenInPlace, Failed };

    // The text goes to "<path>.tmp", which is then renamed over `path`. When the folder takes no
    // new file and `inPlaceWhenNoScratch` is set, `path` itself is rewritten (not crash-safe, but
    // better than losing what the player chose).
    static Result write(const std::string& path, const std::string& text, bool inPlaceWhenNoScratch);
    static std::string scratchName(const std::string& path) { return path + ".tmp"; }
};
