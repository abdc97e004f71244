#pragma once
// ProgressRecord — the one game-wide record of options and progress.
//
// Owns: the options of "config.ini", the flag list with the current flag, the level play timer.
// Never: draws or plays anything; applying the options to the texts and the mixer is the options
// menu's work.
// On failure: a missing "config.ini" keeps the defaults (readOptions answers false, the first
// run); a value it cannot read falls back as documented at each rule; a failed save leaves the
// old file whole. Never throws.
#include <cstdint>
#include <string>
#include <vector>

#include "core/PausableTimer.h"
#include "persist/FlagList.h"
#include "text/GameTexts.h"

class ProgressRecord final {
  public:
    static constexpr const char* kOptionsFile = "config.ini";
    // Written whole first, then renamed over the options file: a game that dies mid-save leaves
    // the old file or the new one, never a cut one.
    static constexpr const char* kOptionsScratchFile = "config.ini.tmp";
    static constexpr uint32_t kJapanese = 6;

    // Reads the level-name table from the pack, when there is a pack to read.
    ProgressRecord();

    // Options, at the head of the record. A missing "config.ini" is the first run: full screen.
    uint8_t fullscreen = 1;
    uint16_t musicVolume = 128;
    uint16_t effectVolume = 128;
    uint16_t savedMusicVolume = 128;
    uint16_t savedEffectVolume = 128;
    uint32_t savedLanguage = 0;
    uint32_t language = 0;

    // Level key to the name players read, one table for all languages.
    GameTexts::Table levelNames;
    std::vector<Flag> flags;
    uint32_t currentFlag = 0;
    // Turns "Flags/<name>" into a surface and a texture; the texture store in the game.
    FlagPictureLoader flagPictureLoader = &ProgressRecord::flagPictureFromStore;
    // The game's loader: the picture as a surface (loose file first, then the pack) and a smoothed
    // texture of its size under the same name, holding a copy of it. Surface -1 when it fails.
    static FlagPicture flagPictureFromStore(const std::string& path);

    PausableTimer levelTimer;

    // False when "config.ini" does not open (whatever its content otherwise).
    bool readOptions();
    void writeOptions();
    // The settings are taken by position among the lines that are neither empty nor comments;
    // `position` counts those lines from 1 and is advanced here. Fed from memory when fuzzing.
    void readOptionLine(std::string line, int& position);
    std::string optionsText() const;

    // Appends the flags of "Flags/flags.txt" that are not yet in the list; the current flag
    // becomes 0 once the whole list is read.
    void loadFlags();
};
