#include "LevelWorld.h"

#include "GlFixture.h"
#include "base/GameWide.h"

namespace {
int serial = 0;
}

LevelWorld::LevelWorld(int width, int height) : tag_("test-level-" + std::to_string(++serial)) {
    GlFixture::get();
    ResourceStore* store = GameWide<ResourceStore>::get();
    progress = std::make_unique<ProgressRecord>();
    GameWide<ProgressRecord>::set(progress.get());
    input = std::make_unique<InputState>();
    GameWide<InputState>::set(input.get());
    LevelInfo info;
    info.name = "Test";
    info.imagePath = tag_;
    info.width = static_cast<uint16_t>(width);
    info.height = static_cast<uint16_t>(height);
    info.timeLimitMinutes = 2;
    info.creatureCount = 4;
    progress->levels.push_back(info);
    progress->currentLevel = 0;
    progress->terrainSurface = store->createBlankSurface(tag_, width, height);
    progress->paintSurface = store->createBlankSurface(tag_ + "Color", width, height);
    progress->flags.push_back(Flag{"palette", -1, -1, 1, 1});
    progress->currentFlag = 0;
}

LevelWorld::~LevelWorld() {
    ResourceStore* store = GameWide<ResourceStore>::get();
    for (const std::string& name : {tag_, tag_ + "Color", tag_ + "Palette", tag_ + "Stamp", tag_ + "Brush"})
        if (store->surfaceIndex(name) >= 0) store->deleteSurface(name);
    GameWide<InputState>::set(nullptr);
    GameWide<ProgressRecord>::set(nullptr);
}

ImageData& LevelWorld::terrain() const {
    return *GameWide<ResourceStore>::get()->surface(progress->terrainSurface);
}

ImageData& LevelWorld::paint() const {
    return *GameWide<ResourceStore>::get()->surface(progress->paintSurface);
}

void LevelWorld::fill(int x0, int y0, int x1, int y1, uint32_t value) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            terrain().setPixel(x, y, value);
}

void LevelWorld::setPalette(int rows) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    const int32_t palette = store->createBlankSurface(tag_ + "Palette", 2, rows);
    for (int r = 0; r < rows; ++r)
        store->putPixel(palette, 0, r, 0xFF000000u | static_cast<uint32_t>(r));
    progress->flags[0].surface = palette;
    progress->flags[0].height = static_cast<uint16_t>(rows);
}

int32_t LevelWorld::makeStamp(int w, int h) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    const int32_t stamp = store->createBlankSurface(tag_ + "Stamp", w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            store->putPixel(stamp, x, y, 0xFFFFFFFFu);
    level().stampSurface = stamp;
    return stamp;
}

int32_t LevelWorld::makeBrush(int w, int h) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    const int32_t brush = store->createBlankSurface(tag_ + "Brush", w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            store->putPixel(brush, x, y, 0xFFFFFFFFu);
    return brush;
}
