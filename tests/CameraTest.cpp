#include <array>
#include <gtest/gtest.h>
#include <tuple>

#include "base/FrameClock.h"
#include "game/Camera.h"

// No GL: the camera is arithmetic on the pointer and the level's size.
namespace {
struct Viewed {
    Viewed(int w, int h) {
        camera.levelWidth = static_cast<uint16_t>(w);
        camera.levelHeight = static_cast<uint16_t>(h);
        camera.pointerX = &px;
        camera.pointerY = &py;
    }
    void step(int frames, int x, int y) {
        px = x;
        py = y;
        frameDeltaMs = 16;
        for (int i = 0; i < frames; ++i)
            camera.update();
    }
    CameraMouse camera;
    int32_t px = 160, py = 100;
};
} // namespace

TEST(Camera, SpawnCentresTheViewSixPixelsAboveTheFeetInsideTheLevel) {
    for (auto [w, h, x, y, viewX, viewY] : {std::array{1000, 600, 500, 300, 340, 194},
                                            {1000, 600, 5, 5, 0, 0},
                                            {1000, 600, 995, 595, 680, 400},
                                            {200, 100, 150, 80, 0, 0}}) {
        Viewed v(w, h);
        v.camera.placeOn(x, y);
        EXPECT_EQ(std::tuple(v.camera.viewX, v.camera.viewY, v.camera.targetX),
                  std::tuple(viewX, viewY, viewX))
            << x;
    }
}

TEST(Camera, EdgeBandsScrollTowardsTheLevelEdgesAndStopThere) {
    Viewed v(500, 300);
    CameraMouse& c = v.camera;
    v.step(60, 315, 195); // the right and bottom bands
    EXPECT_EQ(c.targetX, 60);
    EXPECT_TRUE(c.viewX > 0 && c.viewX <= c.targetX && c.viewY > 0) << c.viewX << "," << c.viewY;
    v.step(2000, 315, 195);
    EXPECT_EQ(std::tuple(c.viewX, c.viewY), std::tuple(180, 100));
    v.step(2000, 2, 2);
    EXPECT_EQ(std::tuple(c.viewX, c.viewY), std::tuple(0, 0));
    // Columns 10 and 310 are outside the bands: no push, and the speed drops to 0.
    for (int x : {10, 310}) {
        v.step(1, x, 100);
        EXPECT_TRUE(c.targetX == 0 && c.speedX <= 5) << x;
    }
    // Levels no larger than the view never scroll.
    for (int side : {320, 200}) {
        Viewed small(side, side == 320 ? 200 : 100);
        small.step(300, 319, 199);
        EXPECT_EQ(std::tuple(small.camera.viewX, small.camera.viewY), std::tuple(0, 0)) << side;
    }
}

TEST(Camera, TheViewMovesAtLeastAPixelTowardsATargetRightOrBelow) {
    Viewed v(1000, 1000);
    CameraMouse& c = v.camera;
    c.viewX = c.viewY = 100;
    c.targetX = c.targetY = 110;
    c.speedX = c.speedY = c.speedLimitX = c.speedLimitY = 0;
    v.step(1, 160, 100);
    EXPECT_EQ(std::tuple(c.viewX, c.viewY), std::tuple(101, 101));
    v.step(20, 160, 100);
    EXPECT_EQ(std::tuple(c.viewX, c.viewY), std::tuple(110, 110));
}
