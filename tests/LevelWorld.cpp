#include "LevelWorld.h"

#include "base/GameWide.h"

LevelWorld::LevelWorld(int width, int height) {
    GameWide<InputState>::set(&input);
    LevelInfo info;
    info.width = static_cast<uint16_t>(width);
    info.height = static_cast<uint16_t>(height);
    progress.levels.push_back(info);
    progress.currentLevel = 0;
    progress.terrainSurface = surfaces.createBlank("terrain", width, height);
    progress.paintSurface = surfaces.createBlank("paint", width, height);
    progress.flags.push_back(Flag{"palette", -1, -1, 1, 1});
    progress.currentFlag = 0;
}

LevelWorld::~LevelWorld() {
    GameWide<InputState>::set(nullptr);
}

void LevelWorld::fill(int x0, int y0, int x1, int y1, uint32_t value) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            terrain().setPixel(x, y, value);
}

int32_t LevelWorld::surface(int w, int h, uint32_t value, bool asPalette) {
    const int32_t index = surfaces.createBlank("extra", w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            surfaces.putPixel(index, x, y, value);
    if (asPalette) progress.flags[0].surface = index;
    return index;
}

std::unique_ptr<EntityTumblekin> LevelWorld::creature(int x, int y, uint32_t state) {
    auto made = std::make_unique<EntityTumblekin>(progress, surfaces, x, y);
    made->state = state;
    return made;
}
