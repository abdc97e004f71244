#pragma once
// A small level for the creature, terrain and camera tests: a progress record with one level, a
// terrain surface the test draws into, a blank paint layer and a flag palette, all in the GL
// fixture's store, registered game-wide for the test's lifetime.
#include <cstdint>
#include <memory>
#include <string>

#include "assets/ImageData.h"
#include "core/InputState.h"
#include "persist/ProgressRecord.h"

class LevelWorld {
  public:
    static constexpr uint32_t kGround = 0xFF204080u; // solid, paintable, red 0x80

    LevelWorld(int width, int height);
    ~LevelWorld();

    // Fills the inclusive rectangle of the terrain.
    void fill(int x0, int y0, int x1, int y1, uint32_t value);
    ImageData& terrain() const;
    ImageData& paint() const;
    uint32_t terrainAt(int x, int y) const { return terrain().pixel(x, y); }
    // A palette of `rows` rows, row r coloured 0xFF000000 | r (a column the stamp can be read against).
    void setPalette(int rows);
    // A stamp of w x h, every pixel opaque white unless `holes` say otherwise.
    int32_t makeStamp(int w, int h);
    // A brush of w x h, fully opaque.
    int32_t makeBrush(int w, int h);

    std::unique_ptr<ProgressRecord> progress;
    std::unique_ptr<InputState> input;
    LevelInfo& level() { return progress->levels[0]; }

  private:
    std::string tag_;
};
