#pragma once
#include <cstdint>
#include <string>

// One level of "Countries/countries.txt": a country's shape, its stamp, and the numbers that make
// it hard or easy. Filled by the country list reader; the level scene and the menus read it.
struct LevelInfo {
    std::string name;      // the country's key, as written
    std::string imagePath; // "Countries/" + the terrain's file name; also names the working images
    int32_t stampSurface = -1;
    uint16_t width = 0; // the terrain's size; 0 x 0 when its picture cannot be read
    uint16_t height = 0;
    int32_t startX = 0, startY = 0;
    int32_t exitX = 0, exitY = 0;
    int32_t timeLimitMinutes = 0;
    int32_t minSurvivorPercent = 0;
    int32_t goalPercent = 0;
    int32_t creatureCount = 0;
    int32_t spawnIntervalMs = 0;
    // "Countries/" + the stamp's file name, so a second read of the list knows a line it holds.
    std::string stampPath;

    bool sameLine(const LevelInfo& other) const {
        return name == other.name && imagePath == other.imagePath && stampPath == other.stampPath &&
               startX == other.startX && startY == other.startY && exitX == other.exitX &&
               exitY == other.exitY && timeLimitMinutes == other.timeLimitMinutes &&
               minSurvivorPercent == other.minSurvivorPercent && goalPercent == other.goalPercent &&
               creatureCount == other.creatureCount && spawnIntervalMs == other.spawnIntervalMs;
    }
};
