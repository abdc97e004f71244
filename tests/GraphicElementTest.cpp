#include <gtest/gtest.h>
#include <tuple>

#include "Fakes.h"
#include "base/FrameClock.h"
#include "gui/GUIElement.h"
#include "gui/GraphicAnimation.h"

TEST(GraphicElementTiming, FramesAdvanceOncePerTickAndStopWithoutLoop) {
    GraphicElement strip;
    parseText(strip, "s.gfx", "s.png\n10\n20\nno\nYES\n3\n100\n100\n100\n");
    strip.animated = 1;
    frameDeltaMs = 18;
    std::vector<uint16_t> seen;
    for (int i = 0; i < 40; ++i) {
        strip.update();
        if (seen.empty() || seen.back() != strip.frame) seen.push_back(strip.frame);
    }
    EXPECT_EQ(seen, (std::vector<uint16_t>{0, 1, 2}));
    EXPECT_EQ(strip.source.y, 40);

    // 18 ms is not above 18; a frame of 0 ms still lasts one tick; side-by-side frames step across.
    strip.frameDurations = {18, 0, 0};
    strip.frame = strip.frameTime = 0;
    strip.loop = 1;
    strip.verticalStrip = 0;
    std::string shown;
    for (int i = 0; i < 4; ++i) {
        strip.update();
        shown += std::to_string(strip.frame) + "@" + std::to_string(strip.source.x) + " ";
    }
    EXPECT_EQ(shown, "0@0 1@10 2@20 0@0 ");
}

TEST(GraphicElementMovement, GlidesAPixelPerFrameAndSnapsAtTheTarget) {
    GraphicElement e;
    e.setPosition(0, 0);
    e.target = {100, 0};
    frameDeltaMs = 10;
    int frames = 0;
    for (int32_t before = 0; e.x != 100 && frames < 1000; ++frames, before = e.x) {
        e.moveTowardTarget(100);
        EXPECT_EQ(e.x - before, 1);
    }
    EXPECT_EQ(frames, 100);
    e.target = {-5, 7};
    frameDeltaMs = 18;
    e.moveTowardTarget(50000);
    EXPECT_EQ((std::array<int32_t, 3>{e.x, e.y, e.yMilli}), (std::array<int32_t, 3>{-5, 7, 7000}));
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
    EXPECT_EQ(w.state * 10 + w.previousState, 22);
    w.state = 5;
    EXPECT_EQ(w.getState(), 12);
}

TEST(GraphicElementFiles, DescriptionsReadLinesByRule) {
    // Negative sizes read as 0, only YES is yes, an empty line is a line (a duration of 0), missing
    // durations are 0.
    GraphicElement e;
    parseText(e, "Assets/gui/logo.gfx", "# made by hand\r\nlogo.png\r\n32\n-4\nyes\nYES\n3\n\r\n60\n");
    EXPECT_EQ(e.imagePath, "Assets/gui/logo.png");
    EXPECT_EQ(writeBytes(e), str("Assets/gui/logo.png") + u32(0) + u32(0) + u16(32) + u16(0) + u16(3) +
                                 u16(0) + u16(60) + u16(0) + u16(0) + u16(0) + u8(0) + u8(1));

    // A 100 x 80 picture in 4 x 2 cells: cell 6 is the second of the second row; missing fields are
    // 0; the first frame shows at once.
    GraphicAnimation a;
    parseText(a, "anim.ani", "sheet.png\n4\n2\nYES\n3\n100\t6\t3,-2\n40\t1,2,3,4\n7\n");
    const std::string cell6 = u32(25) + u32(40) + u16(25) + u16(40), none = u32(0) + u32(0);
    EXPECT_EQ(writeBytes(a), str("sheet.png") + u16(4) + u16(2) + cell6 + u16(3) + u16(100) + cell6 + u32(3) +
                                 u32(-2) + u16(40) + u32(1) + u32(2) + u16(3) + u16(4) + none + u16(7) +
                                 none + u32(0) + none + u16(0) + u16(0) + u8(1) + u8(1));
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
    EXPECT_EQ(writeBytes(e), element);

    // The animation's grid sits between its path and its source rectangle.
    const std::string animation = str("b.png") + u16(3) + u16(2) + u32(0) + u32(0) + u16(8) + u16(4) +
                                  u16(1) + u16(5) + u32(1) + u32(2) + u16(3) + u16(4) // 5 ms, rect
                                  + u32(-1) + u32(9) + u16(0) + u16(6) + u8(0) + u8(1);
    GraphicAnimation a;
    readBytes(a, animation);
    EXPECT_EQ(a.cellRows, 2);
    EXPECT_EQ(rectOf(a.frameRects[0]), (Rect4{1, 2, 3, 4}));
    EXPECT_EQ(std::make_tuple(a.frameOffsets[0].x, a.frameOffsets[0].y), std::make_tuple(-1, 9));
    EXPECT_EQ(writeBytes(a), animation);

    // A file cut short keeps what could not be read: the strip flag stays 1, not the file's 0.
    GraphicElement cut;
    readBytes(cut, element.substr(0, element.size() - 1));
    EXPECT_EQ(cut.frameTime * 10 + cut.verticalStrip, 91);
}
