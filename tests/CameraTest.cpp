#include <gtest/gtest.h>

#include "base/FrameClock.h"
#include "game/Camera.h"

namespace {
struct Pointer {
    int32_t x = 160, y = 100;
};

CameraMouse cameraOver(int w, int h, Pointer& pointer) {
    CameraMouse camera;
    camera.levelWidth = static_cast<uint16_t>(w);
    camera.levelHeight = static_cast<uint16_t>(h);
    camera.pointerX = &pointer.x;
    camera.pointerY = &pointer.y;
    return camera;
}

void step(CameraMouse& camera, int frames) {
    frameDeltaMs = 16;
    for (int i = 0; i < frames; ++i)
        camera.update();
}
} // namespace

TEST(Camera, SpawnPlacesTheViewInsideTheLevel) {
    Pointer p;
    CameraMouse c = cameraOver(1000, 600, p);
    c.placeOn(500, 300);
    EXPECT_EQ(c.viewX, 340);
    EXPECT_EQ(c.viewY, 194);
    c.placeOn(5, 5);
    EXPECT_EQ(c.viewX, 0);
    EXPECT_EQ(c.viewY, 0);
    c.placeOn(995, 595);
    EXPECT_EQ(c.viewX, 680);
    EXPECT_EQ(c.viewY, 400);
    EXPECT_EQ(c.targetX, 680);
    CameraMouse small = cameraOver(200, 100, p);
    small.placeOn(150, 80);
    EXPECT_EQ(small.viewX, 0);
    EXPECT_EQ(small.viewY, 0);
}

TEST(Camera, EdgeBandsScrollTowardsTheLevelEdgesAndStopThere) {
    Pointer p;
    CameraMouse c = cameraOver(500, 300, p);
    c.placeOn(0, 0);
    p.x = 315; // in the right band
    p.y = 195; // in the bottom band
    step(c, 60);
    EXPECT_EQ(c.targetX, 60);
    EXPECT_GT(c.viewX, 0);
    EXPECT_LE(c.viewX, c.targetX);
    EXPECT_GT(c.viewY, 0);
    step(c, 2000);
    EXPECT_EQ(c.targetX, 180);
    EXPECT_EQ(c.viewX, 180);
    EXPECT_EQ(c.viewY, 100);
    p.x = 2; // left band
    p.y = 2;
    step(c, 2000);
    EXPECT_EQ(c.viewX, 0);
    EXPECT_EQ(c.viewY, 0);
    // Pixel column 10 and column 310 are outside the bands: no push, and the speed drops to 0.
    p.x = 10;
    p.y = 100;
    step(c, 1);
    EXPECT_EQ(c.targetX, 0);
    EXPECT_LE(c.speedX, 5);
    p.x = 310;
    step(c, 1);
    EXPECT_EQ(c.targetX, 0);
    EXPECT_LE(c.speedX, 5);
}

TEST(Camera, LevelsNoLargerThanTheViewNeverScroll) {
    for (int side : {320, 200}) {
        Pointer p{319, 199};
        CameraMouse c = cameraOver(side, side == 320 ? 200 : 100, p);
        c.placeOn(side / 2, 50);
        step(c, 300);
        EXPECT_EQ(c.viewX, 0);
        EXPECT_EQ(c.viewY, 0);
    }
}

TEST(Camera, TheViewMovesAtLeastAPixelTowardsATargetRightOrBelow) {
    Pointer p;
    CameraMouse c = cameraOver(1000, 1000, p);
    c.viewX = c.viewY = 100;
    c.targetX = c.targetY = 110;
    c.speedX = c.speedY = 0;
    c.speedLimitX = c.speedLimitY = 0;
    step(c, 1);
    EXPECT_EQ(c.viewX, 101);
    EXPECT_EQ(c.viewY, 101);
    step(c, 20);
    EXPECT_EQ(c.viewX, 110);
    EXPECT_EQ(c.viewY, 110);
}
