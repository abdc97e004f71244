#include <gtest/gtest.h>

#include "Fakes.h"
#include "base/FrameClock.h"
#include "gui/GUIElement.h"
#include "gui/GraphicAnimation.h"

TEST(GraphicElementTiming, FramesAdvanceOncePerTickAndStopWithoutLoop) {
    GraphicElement strip;
    strip.frameCount = 3;
    strip.frameDurations = {100, 100, 100};
    strip.loop = 0;
    strip.animated = 1;
    strip.source = {0, 0, 10, 20};
    frameDeltaMs = 18;
    std::vector<uint16_t> seen;
    for (int i = 0; i < 40; ++i) {
        strip.update();
        if (seen.empty() || seen.back() != strip.frame) seen.push_back(strip.frame);
    }
    EXPECT_EQ(seen, (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_EQ(strip.source.y, 40);

    strip.frameDurations = {18, 18, 0};
    strip.frame = strip.frameTime = 0;
    strip.loop = 1;
    strip.update();
    EXPECT_EQ(strip.frame, 0) << "18 is not above 18";
    strip.update();
    EXPECT_EQ(strip.frame, 1);
    strip.frameDurations[1] = 0;
    strip.update();
    EXPECT_EQ(strip.frame, 2) << "one frame per tick, never more";
    strip.verticalStrip = 0;
    strip.update();
    EXPECT_EQ(strip.frame, 0);
    EXPECT_EQ(strip.source.x, 0);
    strip.update();
    EXPECT_EQ(strip.source.x, 10) << "side-by-side frames step across";
}

TEST(GraphicElementMovement, GlidesAPixelPerFrameAndSnapsAtTheTarget) {
    GraphicElement e;
    e.setPosition(0, 0);
    e.target = {100, 0};
    frameDeltaMs = 10;
    int frames = 0;
    for (; e.x != 100 && frames < 1000; ++frames) {
        const int32_t before = e.x;
        e.moveTowardTarget(100);
        EXPECT_EQ(e.x - before, 1);
    }
    EXPECT_EQ(frames, 100);

    e.setPosition(0, 0);
    e.target = {-5, 7};
    frameDeltaMs = 18;
    e.moveTowardTarget(5000);
    EXPECT_EQ(e.x, -5);
    EXPECT_EQ(e.y, 7);
    EXPECT_EQ(e.yMilli, 7000);
}

TEST(GUIElementBase, InclusiveHitEdgesAndUnknownStates) {
    GUIElement w;
    w.setPosition(10, 10);
    w.source = {0, 0, 20, 10};
    EXPECT_TRUE(w.hitTest(30, 20));
    EXPECT_FALSE(w.hitTest(31, 20));
    EXPECT_EQ(w.hovered, 0);
    EXPECT_TRUE(w.hitTest(10, 10));
    EXPECT_EQ(w.hovered, 1);
    w.setState(2);
    w.setState(7);
    EXPECT_EQ(w.state, 2);
    EXPECT_EQ(w.previousState, 2);
    w.state = 5;
    EXPECT_EQ(w.getState(), 12);
}

TEST(GraphicElementFiles, DescriptionsReadLinesByRule) {
    GraphicElement e;
    parseText(e, "Assets/gui/logo.gfx", "# made by hand\r\nlogo.png\r\n32\n-4\nyes\nYES\n3\n50\n60\n");
    EXPECT_EQ(e.imagePath, "Assets/gui/logo.png");
    EXPECT_EQ(e.texture, 9);
    EXPECT_EQ(e.source.w, 32);
    EXPECT_EQ(e.source.h, 0) << "negative sizes read as 0";
    EXPECT_EQ(e.loop, 0) << "only YES is yes";
    EXPECT_EQ(e.verticalStrip, 1);
    EXPECT_EQ(e.frameDurations, (std::vector<uint16_t>{50, 60, 0}));

    // A 100 x 80 picture in 4 x 2 cells: cell 6 is the second of the second row.
    GraphicAnimation a;
    parseText(a, "anim.ani", "sheet.png\n4\n2\nYES\n3\n100\t6\t3,-2\n40\t1,2,3,4\n7\n");
    EXPECT_EQ(a.imagePath, "sheet.png");
    ASSERT_EQ(a.frameRects.size(), 3u);
    EXPECT_EQ(rectOf(a.frameRects[0]), (Rect4{25, 40, 25, 40}));
    EXPECT_EQ(a.frameOffsets[0].y, -2);
    EXPECT_EQ(rectOf(a.frameRects[1]), (Rect4{1, 2, 3, 4}));
    EXPECT_EQ(a.frameOffsets[1].x, 0) << "missing fields are 0";
    EXPECT_EQ(a.frameDurations[2], 7);
    EXPECT_EQ(a.frameRects[2].w, 0);
}

// The binary forms against their bytes: little-endian, packed, fields in the fixed order.
TEST(GraphicElementFiles, BinaryFormsHoldTheirFieldsInOrder) {
    const std::string element = str("a.png") + u32(-3) + u32(4) + u16(50) + u16(60) // source
                                + u16(2) + u16(11) + u16(22)                        // durations
                                + u16(1) + u16(9) + u8(1) + u8(0); // frame, time, loop, strip
    GraphicElement e;
    readBytes(e, element);
    EXPECT_EQ(e.texture, 9);
    EXPECT_EQ(rectOf(e.source), (Rect4{-3, 4, 50, 60}));
    EXPECT_EQ(e.frameDurations, (std::vector<uint16_t>{11, 22}));
    EXPECT_EQ(e.frameTime, 9);
    EXPECT_EQ(e.verticalStrip, 0);
    EXPECT_EQ(writeBytes(e), element);

    // The animation's grid sits between its path and its source rectangle.
    const std::string animation = str("b.png") + u16(3) + u16(2) + u32(0) + u32(0) + u16(8) + u16(4) +
                                  u16(1) + u16(5) + u32(1) + u32(2) + u16(3) + u16(4) // 5 ms, rect
                                  + u32(-1) + u32(9) + u16(0) + u16(6) + u8(0) + u8(1);
    GraphicAnimation a;
    readBytes(a, animation);
    EXPECT_EQ(a.cellRows, 2);
    EXPECT_EQ(rectOf(a.frameRects[0]), (Rect4{1, 2, 3, 4}));
    EXPECT_EQ(a.frameOffsets[0].x, -1);
    EXPECT_EQ(a.frameOffsets[0].y, 9);
    EXPECT_EQ(a.frameTime, 6);
    EXPECT_EQ(writeBytes(a), animation);

    // A file cut short keeps what could not be read.
    GraphicElement cut;
    readBytes(cut, element.substr(0, element.size() - 1));
    EXPECT_EQ(cut.frameTime, 9) << "read";
    EXPECT_EQ(cut.verticalStrip, 1) << "kept, not the file's 0";
}
