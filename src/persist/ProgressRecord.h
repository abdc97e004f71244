#pragma once
// ProgressRecord — the one game-wide record of options and progress.
//
// Owns: the options of "config.ini", the flag list with the current flag, the level list with the
// current level, the current level's four working images (as store indices), the per-attempt
// counters, the level play timer and the countries painted so far.
// Never: draws or plays anything; applying the options to the texts and the mixer is the options
// menu's work.
// On failure: a missing "config.ini" keeps the defaults (readOptions answers false, the first
// run); a value it cannot read falls back as documented at each rule; a failed save leaves the
// old file whole. Never throws.
#include <cstdint>
#include <string>
#include <vector>

#include "core/PausableTimer.h"
#include "persist/CampaignProgress.h"
#include "persist/CountryList.h"
#include "persist/FlagList.h"
#include "persist/LevelInfo.h"
#include "text/GameTexts.h"

class ProgressRecord final {
  public:
    static constexpr const char* kOptionsFile = "config.ini";
    // Written whole first, then renamed over the options file: a game that dies mid-save leaves
    // the old file or the new one, never a cut one (the name WholeFileWriter gives it).
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

    // Levels, from "Countries/countries.txt".
    std::vector<LevelInfo> levels;
    uint32_t currentLevel = 0;
    // The game's services: header sizes and 4-byte stamps from the texture store.
    CountryPictures countryPictures = storeCountryPictures();
    static CountryPictures storeCountryPictures();

    // The current level's working images; -1 = none.
    int32_t terrainSurface = -1;
    int32_t terrainTexture = -1;
    int32_t paintSurface = -1;
    int32_t paintTexture = -1;
    // Counters of the attempt, shared by the level, its creatures, the brush and the menus.
    int32_t paintablePixels = 0;
    int32_t paintedPixels = 0;
    int32_t paintedPercent = 0;
    int32_t buildInk = 5000;
    int32_t digInk = 5000;
    int32_t inkCapacity = 5000;
    int32_t timeLeftMs = 0;
    int32_t creaturesTotal = 0;
    int32_t creaturesAlive = 0;
    int32_t creaturesOut = 0;
    int32_t creaturesSaved = 0;
    PausableTimer levelTimer;
    // The level clock: the charged milliseconds of the frames played while levelTimer runs. The
    // creatures move by charged time, so on a machine too slow for 55 frames a second the wall
    // clock would run out a level they cannot finish in it.
    uint32_t levelClockMs = 0;

    // The countries painted in earlier games and this one; read by start-up.
    CampaignProgress campaign;
    // The current level won with the current flag, with this attempt's time left and creatures
    // saved: kept, and saved when it adds a country or betters it.
    void recordWin();
    // How many countries of the level list are painted.
    uint32_t paintedCount() const;
    bool isPainted(uint32_t level) const;
    // The first unpainted level after `from` in list order, wrapping round to `from` itself;
    // -1 when every level is painted (or there are none).
    int64_t nextUnpainted(uint32_t from) const;

    // The level being played, or null when the list is empty (or the index is past its end).
    LevelInfo* currentLevelInfo();
    const Flag* currentFlagInfo() const;

    // Appends the valid lines of "Countries/countries.txt" not yet in the list; the current level
    // becomes 0, and the first time the list is read the working images become -1.
    void loadLevelList();
    // Releases the working images that exist and makes the current level's anew: the terrain (4
    // bytes a pixel, its size becomes the level's), a blank paint layer of that size, and a texture
    // of each. With no current level all four stay -1.
    void loadLevelImages();
    // The main menu's start: the clock reads 0, full reserves, the current level's creatures.
    void resetProgress();
    // A new attempt: full reserves, the current level's creatures, the clock at 0 and stopped.
    void resetAttempt();
    // What the level selection does when the player picks: both indices (cut to the lists), the
    // level's images, a fresh attempt. Harmless with empty lists (no images, no followers).
    void chooseLevel(uint32_t level, uint32_t flag);

    // False when "config.ini" does not open (whatever its content otherwise).
    bool readOptions();
    void writeOptions();
    // The settings are taken by position among the lines that are neither empty nor comments;
    // `position` counts those lines from 1 and is advanced here. Fed from memory when fuzzing.
    void readOptionLine(std::string line, int& position);
    std::string optionsText() const;

  private:
    bool levelListRead_ = false;

  public:
    // Appends the flags of "Flags/flags.txt" that are not yet in the list; the current flag
    // becomes 0 once the whole list is read.
    void loadFlags();
};
