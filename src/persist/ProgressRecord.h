#pragma once
// ProgressRecord — the one game-wide record of options and progress.
//
// Owns: the options, the level play timer. Never: draws or plays anything.
#include <cstdint>

#include "core/PausableTimer.h"

class ProgressRecord final {
  public:
    static constexpr const char* kOptionsFile = "config.ini";

    // A missing "config.ini" is the first run: the game starts full screen.
    uint8_t fullscreen = 1;
    PausableTimer levelTimer;

    // False when "config.ini" is missing (the first run); the option values come with the
    // options reader.
    bool readOptions();
};
