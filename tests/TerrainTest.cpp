#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

#include "LevelWorld.h"
#include "game/Terrain.h"

namespace {
int paintedCount(const ImageData& paint) {
    int n = 0;
    for (int y = 0; y < paint.height(); ++y)
        for (int x = 0; x < paint.width(); ++x)
            n += paint.pixel(x, y) != 0;
    return n;
}

// A 40 x 30 level with an opaque square brush of `side` (none when 0) and full reserves.
struct Brushed : LevelWorld {
    explicit Brushed(int side) : LevelWorld(40, 30), editor(progress, surfaces) {
        editor.setSurfaces(-1, -1, side > 0 ? surface(side, side, 0xFFFFFFFFu) : -1);
        progress.buildInk = progress.digInk = 5000;
        std::srand(7);
    }
    void hold(int x, int y, uint32_t buttons, int frames, uint32_t dt = 16) {
        for (int i = 0; i < frames; ++i)
            editor.applyBrush(x, y, buttons, dt);
    }
    int32_t recount() const { return Terrain::countPaintable(&terrain(), 40, 30); }
    Terrain editor;
};
} // namespace

TEST(Terrain, StampPaintsEachPixelOnceInTheFlagColourOfItsHeight) {
    LevelWorld world(40, 40);
    const int32_t palette = world.surface(2, 10, 0, true);
    for (uint32_t r = 0; r < 10; ++r)
        world.surfaces.putPixel(palette, 0, static_cast<int>(r), 0xFF000000u | r);
    world.fill(0, 0, 39, 39, 0xFF000080u);  // red 128: row 10 x 128 / 255 = 5 of the flag
    world.fill(10, 0, 10, 39, 0xFF0000FFu); // red 255: painted in its own colour
    world.fill(11, 0, 11, 39, 0x00003300u); // red 0, green set: paintable, own colour
    world.fill(12, 0, 12, 39, 0xFF000000u); // nothing in the low bytes: never painted
    world.fill(13, 0, 13, 39, 0xFF000001u); // red 1: row 0
    const int32_t stamp = world.surface(6, 4, 0xFFFFFFFFu);
    world.surfaces.putPixel(stamp, 0, 0, 0xFF000000u); // a see-through stamp pixel
    Terrain terrain(world.progress, world.surfaces);
    terrain.setSurfaces(stamp, palette, -1);
    terrain.paintStamp(12, 20); // columns 9..14, rows 18..21
    for (auto [x, y, paint] : {std::tuple{9, 18, 0u},
                               {9, 19, 0xFF000005u},
                               {10, 21, 0xFF0000FFu},
                               {11, 20, 0x00003300u},
                               {12, 20, 0u},
                               {13, 20, 0xFF000000u},
                               {14, 21, 0xFF000005u},
                               {12, 22, 0u},
                               {15, 20, 0u},
                               {10, 17, 0u}})
        EXPECT_EQ(world.paint().pixel(x, y), paint) << x << "," << y;
    EXPECT_EQ(std::tuple(world.progress.paintedPixels, paintedCount(world.paint())), std::tuple(19, 19));
    // Painting again changes nothing and never touches the terrain; at a corner only the pixels
    // inside the level are painted.
    terrain.paintStamp(12, 20);
    EXPECT_EQ(std::tuple(world.progress.paintedPixels, world.terrain().pixel(12, 20)),
              std::tuple(19, 0xFF000000u));
    terrain.paintStamp(0, 0);
    EXPECT_EQ(world.progress.paintedPixels, 19 + 3 * 2);
}

TEST(Terrain, BuildingAddsGreyAndCountsOnlyNewPaintableOnes) {
    Brushed b(6);
    b.fill(0, 20, 39, 29, LevelWorld::kGround);
    // A paintable pixel that is not solid, painted: built over, it loses its paint and stays one pixel.
    b.fill(20, 10, 20, 10, 0x00330000u);
    b.paint().setPixel(20, 10, 0xFF0000FFu);
    b.progress.paintablePixels = b.recount();
    b.progress.paintedPixels = 1;
    b.hold(20, 10, 1, 40);
    const uint32_t built = b.terrain().pixel(20, 10), g = built & 0xFF;
    EXPECT_EQ(built, 0xFF000000u | g << 16 | g << 8 | g);
    EXPECT_GE(g, 56u);
    EXPECT_EQ(std::tuple(b.paint().pixel(20, 10), b.progress.paintedPixels, b.editor.terrainDirty.empty()),
              std::tuple(0u, 0, false));
    EXPECT_EQ(b.progress.paintablePixels, b.recount());
    // At the level's corners the samples outside are idle: the count still matches the terrain.
    b.hold(0, 0, 1, 60);
    b.hold(39, 29, 1, 60);
    EXPECT_EQ(b.progress.paintablePixels, b.recount());
    // Over solid ground nothing changes at all.
    const int32_t before = b.progress.paintablePixels;
    EXPECT_FALSE(b.editor.applyBrush(20, 25, 1, 16));
    EXPECT_EQ(b.progress.paintablePixels, before);
}

TEST(Terrain, DiggingClearsTerrainAndPaintAndLowersBothCounts) {
    Brushed b(6);
    b.fill(0, 10, 39, 29, LevelWorld::kGround);
    for (int x = 0; x < 40; ++x)
        b.paint().setPixel(x, 15, 0xFF00FF00u);
    b.progress.paintablePixels = b.recount();
    b.progress.paintedPixels = 40;
    b.hold(20, 15, 4, 80);
    EXPECT_EQ(std::tuple(b.terrain().pixel(20, 15), b.paint().pixel(20, 15)), std::tuple(0xFF000000u, 0u));
    EXPECT_EQ(std::tuple(b.progress.paintablePixels, b.progress.paintedPixels),
              std::tuple(b.recount(), paintedCount(b.paint())));
    EXPECT_LT(b.progress.paintedPixels, 40);
    // Digging air leaves the counts alone but still writes the dug value.
    b.fill(0, 0, 5, 5, 0);
    const int32_t paintable = b.progress.paintablePixels;
    EXPECT_TRUE(b.editor.applyBrush(2, 2, 4, 16));
    b.hold(2, 2, 4, 30);
    EXPECT_EQ(std::tuple(b.progress.paintablePixels, b.terrain().pixel(2, 2)),
              std::tuple(paintable, 0xFF000000u));
}

TEST(Terrain, ReservesDrainWhileTheirButtonIsHeldAndRefillOtherwise) {
    Brushed b(6);
    ProgressRecord& p = b.progress;
    const struct {
        uint32_t buttons;
        int frames;
        uint32_t dt;
        int32_t build, dig;
    } steps[] = {{1, 10, 16, 5000 - 160, 5000},
                 {4, 5, 16, 5000 - 80, 5000 - 80},
                 {5, 2, 16, 5000 - 48, 5000 - 48}, // both buttons: only refills
                 {2, 3, 0, 5000 - 45, 5000 - 45}}; // middle, zero-length frames: refill by 1
    for (const auto& s : steps) {
        b.hold(20, 10, s.buttons, s.frames, s.dt);
        EXPECT_EQ(std::tuple(p.buildInk, p.digInk), std::tuple(s.build, s.dig)) << s.buttons;
    }
    // Empty: nothing is built, the reserve stays at 0 while held.
    p.buildInk = 0;
    const int32_t paintable = p.paintablePixels;
    b.hold(20, 5, 1, 10);
    EXPECT_EQ(std::tuple(p.buildInk, p.paintablePixels, b.terrain().pixel(20, 5)),
              std::tuple(0, paintable, 0u));
    // A missing brush spends the reserve and changes nothing.
    Brushed none(0);
    EXPECT_FALSE(none.editor.applyBrush(20, 10, 1, 16));
    EXPECT_EQ(std::tuple(none.progress.buildInk, none.recount(), none.editor.terrainDirty.empty()),
              std::tuple(5000 - 16, 0, true));
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
