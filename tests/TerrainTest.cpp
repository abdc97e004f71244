#include <cstdlib>
#include <gtest/gtest.h>

#include "LevelWorld.h"
#include "base/GameWide.h"
#include "game/Terrain.h"
#include "render/ResourceStore.h"

namespace {
int paintedCount(const ImageData& paint) {
    int n = 0;
    for (int y = 0; y < paint.height(); ++y)
        for (int x = 0; x < paint.width(); ++x)
            if (paint.pixel(x, y)) ++n;
    return n;
}

struct BrushWorld {
    explicit BrushWorld(int brushSide)
        : world(40, 30), terrain(*world.progress, *GameWide<ResourceStore>::get()) {
        brush = brushSide > 0 ? world.makeBrush(brushSide, brushSide) : -1;
        terrain.setSurfaces(-1, -1, brush);
        std::srand(7);
    }
    void hold(int x, int y, uint32_t buttons, int frames, uint32_t dt = 16) {
        for (int i = 0; i < frames; ++i)
            terrain.applyBrush(x, y, buttons, dt);
    }
    int32_t recount() const { return Terrain::countPaintable(&world.terrain(), 40, 30); }
    LevelWorld world;
    Terrain terrain;
    int32_t brush = -1;
};
} // namespace

TEST(Terrain, StampPaintsEachPixelOnceInTheFlagColourOfItsHeight) {
    LevelWorld world(40, 40);
    world.setPalette(10);
    world.fill(0, 0, 39, 39, 0xFF000080u);  // red 128: row 10 x 128 / 255 = 5 of the flag
    world.fill(10, 0, 10, 39, 0xFF0000FFu); // red 255: painted in its own colour
    world.fill(11, 0, 11, 39, 0x00003300u); // red 0, green set: paintable, own colour
    world.fill(12, 0, 12, 39, 0xFF000000u); // nothing in the low bytes: never painted
    world.fill(13, 0, 13, 39, 0xFF000001u); // red 1: row 0
    const int32_t stamp = world.makeStamp(6, 4);
    GameWide<ResourceStore>::get()->putPixel(stamp, 0, 0, 0xFF000000u); // a see-through stamp pixel
    Terrain terrain(*world.progress, *GameWide<ResourceStore>::get());
    terrain.setSurfaces(stamp, world.progress->flags[0].surface, -1);
    terrain.paintStamp(12, 20); // columns 9..14, rows 18..21
    const ImageData& paint = world.paint();
    EXPECT_EQ(paint.pixel(9, 18), 0u); // the see-through corner
    EXPECT_EQ(paint.pixel(9, 19), 0xFF000005u);
    EXPECT_EQ(paint.pixel(10, 21), 0xFF0000FFu);
    EXPECT_EQ(paint.pixel(11, 20), 0x00003300u);
    EXPECT_EQ(paint.pixel(12, 20), 0u);
    EXPECT_EQ(paint.pixel(13, 20), 0xFF000000u);
    EXPECT_EQ(paint.pixel(14, 21), 0xFF000005u);
    EXPECT_EQ(paint.pixel(12, 22), 0u); // below the stamp's last row
    EXPECT_EQ(paint.pixel(15, 20), 0u); // right of its last column
    EXPECT_EQ(paint.pixel(10, 17), 0u); // above its first row
    EXPECT_EQ(world.progress->paintedPixels, 6 * 4 - 1 - 4);
    EXPECT_EQ(world.progress->paintedPixels, paintedCount(paint));
    // Painting again changes nothing and never touches the terrain.
    terrain.paintStamp(12, 20);
    EXPECT_EQ(world.progress->paintedPixels, 19);
    EXPECT_EQ(world.terrainAt(12, 20), 0xFF000000u);
    // At a corner only the pixels inside the level are painted.
    terrain.paintStamp(0, 0);
    EXPECT_EQ(world.progress->paintedPixels, 19 + 3 * 2);
}

TEST(Terrain, BuildingAddsGreyAndCountsOnlyNewPaintableOnes) {
    BrushWorld b(6);
    b.world.fill(0, 20, 39, 29, LevelWorld::kGround);
    b.world.progress->paintablePixels = b.recount();
    // A paintable pixel that is not solid, painted: built over, it loses its paint and stays one pixel.
    b.world.fill(20, 10, 20, 10, 0x00330000u);
    b.world.paint().setPixel(20, 10, 0xFF0000FFu);
    b.world.progress->paintablePixels = b.recount();
    b.world.progress->paintedPixels = 1;
    b.hold(20, 10, 1, 40);
    const uint32_t built = b.world.terrainAt(20, 10);
    EXPECT_EQ(built >> 24, 0xFFu);
    EXPECT_EQ(built & 0xFF, (built >> 8) & 0xFF);
    EXPECT_EQ(built & 0xFF, (built >> 16) & 0xFF);
    EXPECT_GE(built & 0xFF, 56u);
    EXPECT_EQ(b.world.paint().pixel(20, 10), 0u);
    EXPECT_EQ(b.world.progress->paintedPixels, 0);
    EXPECT_EQ(b.world.progress->paintablePixels, b.recount());
    EXPECT_FALSE(b.terrain.terrainDirty.empty());
    // At the level's corner the samples outside are idle: the count still matches the terrain.
    b.hold(0, 0, 1, 60);
    b.hold(39, 29, 1, 60);
    EXPECT_EQ(b.world.progress->paintablePixels, b.recount());
    // Over solid ground nothing changes at all.
    const int32_t before = b.world.progress->paintablePixels;
    b.terrain.terrainDirty.clear();
    EXPECT_FALSE(b.terrain.applyBrush(20, 25, 1, 16));
    EXPECT_EQ(b.world.progress->paintablePixels, before);
}

TEST(Terrain, DiggingClearsTerrainAndPaintAndLowersBothCounts) {
    BrushWorld b(6);
    b.world.fill(0, 10, 39, 29, LevelWorld::kGround);
    for (int x = 0; x < 40; ++x)
        b.world.paint().setPixel(x, 15, 0xFF00FF00u);
    b.world.progress->paintablePixels = b.recount();
    b.world.progress->paintedPixels = 40;
    b.hold(20, 15, 4, 80);
    EXPECT_EQ(b.world.terrainAt(20, 15), 0xFF000000u);
    EXPECT_EQ(b.world.paint().pixel(20, 15), 0u);
    EXPECT_EQ(b.world.progress->paintablePixels, b.recount());
    EXPECT_EQ(b.world.progress->paintedPixels, paintedCount(b.world.paint()));
    EXPECT_LT(b.world.progress->paintedPixels, 40);
    // Digging air leaves the counts alone but still writes the dug value.
    b.world.fill(0, 0, 5, 5, 0);
    const int32_t paintable = b.world.progress->paintablePixels;
    b.hold(2, 2, 4, 30);
    EXPECT_EQ(b.world.progress->paintablePixels, paintable);
    EXPECT_EQ(b.world.terrainAt(2, 2), 0xFF000000u);
}

TEST(Terrain, ReservesDrainWhileTheirButtonIsHeldAndRefillOtherwise) {
    BrushWorld b(6);
    ProgressRecord& p = *b.world.progress;
    p.buildInk = p.digInk = 5000;
    b.hold(20, 10, 1, 10);
    EXPECT_EQ(p.buildInk, 5000 - 160);
    EXPECT_EQ(p.digInk, 5000);
    b.hold(20, 10, 4, 5);
    EXPECT_EQ(p.buildInk, 5000 - 80);
    EXPECT_EQ(p.digInk, 5000 - 80);
    // Both buttons, or the middle one: only refills.
    b.hold(20, 10, 5, 2);
    EXPECT_EQ(p.digInk, 5000 - 48);
    b.hold(20, 10, 2, 3, 0); // a zero-length frame refills by 1
    EXPECT_EQ(p.digInk, 5000 - 45);
    // Empty: nothing is built, the reserve stays at 0 while held.
    p.buildInk = 0;
    const int32_t paintable = p.paintablePixels;
    b.hold(20, 5, 1, 10);
    EXPECT_EQ(p.buildInk, 0);
    EXPECT_EQ(p.paintablePixels, paintable);
    EXPECT_EQ(b.world.terrainAt(20, 5), 0u);
}

TEST(Terrain, MissingBrushSpendsTheReserveAndChangesNothing) {
    BrushWorld b(0);
    ProgressRecord& p = *b.world.progress;
    p.buildInk = 5000;
    EXPECT_FALSE(b.terrain.applyBrush(20, 10, 1, 16));
    EXPECT_EQ(p.buildInk, 5000 - 16);
    EXPECT_EQ(b.recount(), 0);
    EXPECT_TRUE(b.terrain.terrainDirty.empty());
}

TEST(Terrain, PaintableCountSeesOnlyTheLowBytesInsideTheLevel) {
    LevelWorld world(10, 10);
    world.fill(0, 0, 9, 0, 0xFF000000u);
    world.fill(0, 1, 9, 1, 0x00000001u);
    world.fill(0, 2, 9, 2, 0x00010000u);
    world.fill(0, 3, 9, 9, 0x01000000u);
    EXPECT_EQ(Terrain::countPaintable(&world.terrain(), 10, 10), 20);
    EXPECT_EQ(Terrain::countPaintable(&world.terrain(), 5, 2), 5);
    EXPECT_EQ(Terrain::countPaintable(nullptr, 10, 10), 0);
}
