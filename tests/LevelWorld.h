#pragma once
// A small level with no GL for the creature and terrain tests: a progress record with one level,
// a terrain the test draws into, a blank paint layer, and the held input the leader reads.
#include <cstdint>
#include <memory>

#include "assets/SurfaceStore.h"
#include "core/InputState.h"
#include "game/EntityTumblekin.h"
#include "persist/ProgressRecord.h"

class LevelWorld {
  public:
    static constexpr uint32_t kGround = 0xFF204080u; // solid, paintable, red 0x80

    LevelWorld(int width, int height);
    ~LevelWorld();

    // Fills the inclusive rectangle of the terrain.
    void fill(int x0, int y0, int x1, int y1, uint32_t value);
    ImageData& terrain() const { return *surfaces.get(progress.terrainSurface); }
    ImageData& paint() const { return *surfaces.get(progress.paintSurface); }
    // A w x h surface with every pixel `value`; the flag's palette when `asPalette`.
    int32_t surface(int w, int h, uint32_t value, bool asPalette = false);
    std::unique_ptr<EntityTumblekin> creature(int x, int y, uint32_t state);

    SurfaceStore surfaces;
    ProgressRecord progress;
    InputState input;
};
