#include <gtest/gtest.h>

#include "base/FrameClock.h"
#include "gui/ElementServices.h"
#include "gui/GUIElement.h"
#include "gui/GraphicAnimation.h"

namespace {
class FakeTextures final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& w, uint16_t& h) override {
        asked.push_back(path);
        w = 64, h = 32;
        return path.find("missing") == std::string::npos ? 7 : -1;
    }
    std::vector<std::string> asked;
};

template <class E>
void parse(E& element, const std::string& name, const std::string& text, TextureLookup& t) {
    element.parseDescriptionBytes(name, reinterpret_cast<const uint8_t*>(text.data()), text.size(), t);
}
} // namespace

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

    strip.frameDurations = {18, 18, 18};
    strip.frame = strip.frameTime = 0;
    strip.loop = 1;
    strip.update();
    EXPECT_EQ(strip.frame, 0) << "18 is not above 18";
    strip.update();
    EXPECT_EQ(strip.frame, 1);

    strip.frameDurations = {0, 0, 0};
    frameDeltaMs = 18;
    strip.update();
    EXPECT_EQ(strip.frame, 2) << "one frame per tick, never more";
    strip.update();
    EXPECT_EQ(strip.frame, 0);
    strip.verticalStrip = 0;
    strip.update();
    EXPECT_EQ(strip.source.x, 10);
}

TEST(GraphicElementMovement, GlidesAndSnapsAtTheTarget) {
    GraphicElement e;
    e.setPosition(0, 0);
    e.target = {100, 0};
    frameDeltaMs = 10;
    int frames = 0;
    while ((e.x != 100 || e.y != 0) && frames < 1000) {
        const int32_t before = e.x;
        e.moveTowardTarget(100);
        EXPECT_EQ(e.x - before, 1);
        ++frames;
    }
    EXPECT_EQ(frames, 100);
    EXPECT_EQ(e.xMilli, 100000);

    e.setPosition(0, 0);
    e.target = {-5, 7};
    frameDeltaMs = 18;
    e.moveTowardTarget(5000);
    EXPECT_EQ(e.x, -5);
    EXPECT_EQ(e.y, 7);
    EXPECT_EQ(e.yMilli, 7000);
}

TEST(GUIElementBase, InclusiveHitEdgesStateAndKinds) {
    GUIElement w;
    w.setPosition(10, 10);
    w.source = {0, 0, 20, 10};
    EXPECT_TRUE(w.hitTest(30, 20));
    EXPECT_EQ(w.hovered, 1);
    EXPECT_FALSE(w.hitTest(31, 20));
    EXPECT_EQ(w.hovered, 0);
    EXPECT_TRUE(w.hitTest(10, 10));
    w.setState(2);
    w.setState(7);
    EXPECT_EQ(w.state, 2);
    EXPECT_EQ(w.previousState, 2);
    w.state = 5;
    EXPECT_EQ(w.getState(), 12);
    EXPECT_TRUE(w.isKindOf(26));
    EXPECT_FALSE(w.isKindOf(24));
    GraphicAnimation a;
    EXPECT_TRUE(a.isKindOf(24) && a.isKindOf(25) && !a.isKindOf(26));
}

TEST(GraphicElementFiles, DescriptionReadsLinesByRule) {
    FakeTextures textures;
    GraphicElement e;
    parse(e, "Assets/gui/logo.gfx", "# made by hand\r\nlogo.png\r\n32\n-4\nyes\nYES\n3\n50\n60\n", textures);
    EXPECT_EQ(e.imagePath, "Assets/gui/logo.png");
    EXPECT_EQ(e.texture, 7);
    EXPECT_EQ(e.textureWidth, 64);
    EXPECT_EQ(e.source.w, 32);
    EXPECT_EQ(e.source.h, 0) << "negative sizes read as 0";
    EXPECT_EQ(e.loop, 0) << "only YES is yes";
    EXPECT_EQ(e.verticalStrip, 1);
    EXPECT_EQ(e.frameCount, 3);
    EXPECT_EQ(e.frameDurations, (std::vector<uint16_t>{50, 60, 0}));

    GraphicAnimation a;
    parse(a, "anim.ani", "sheet.png\n4\n2\nYES\n3\n100\t6\t3,-2\n40\t1,2,3,4\n7\n", textures);
    EXPECT_EQ(a.imagePath, "sheet.png");
    ASSERT_EQ(a.frameRects.size(), 3u);
    EXPECT_EQ(a.frameRects[0].x, 16);
    EXPECT_EQ(a.frameRects[0].y, 16);
    EXPECT_EQ(a.frameRects[0].w, 16);
    EXPECT_EQ(a.frameOffsets[0].x, 3);
    EXPECT_EQ(a.frameOffsets[0].y, -2);
    EXPECT_EQ(a.frameRects[1].h, 4);
    EXPECT_EQ(a.frameOffsets[1].x, 0) << "missing fields are 0";
    EXPECT_EQ(a.frameDurations[2], 7);
    EXPECT_EQ(a.frameRects[2].w, 0);
}

// The binary forms against their bytes: little-endian, packed, fields in the fixed order.
TEST(GraphicElementFiles, BinaryFormsHoldTheirFieldsInOrder) {
    FakeTextures textures;
    const std::string elementBytes("\x05\x00"
                                   "a.png"
                                   "\xFD\xFF\xFF\xFF\x04\x00\x00\x00\x32\x00\x3C\x00" // source -3, 4, 50, 60
                                   "\x02\x00\x0B\x00\x16\x00"                         // durations 11, 22
                                   "\x01\x00\x09\x00\x01\x00", // frame, time, loop, strip
                                   31);
    GraphicElement e;
    e.imagePath = "a.png";
    e.source = {-3, 4, 50, 60};
    e.frameCount = 2;
    e.frameDurations = {11, 22};
    e.frame = 1;
    e.frameTime = 9;
    e.loop = 1;
    e.verticalStrip = 0;
    ByteSink sink;
    e.writeBinary(sink);
    EXPECT_EQ(std::string(sink.bytes.begin(), sink.bytes.end()), elementBytes);
    GraphicElement back;
    MemorySource in(reinterpret_cast<const uint8_t*>(elementBytes.data()), elementBytes.size());
    back.readBinary(in, textures);
    EXPECT_EQ(back.imagePath, "a.png");
    EXPECT_EQ(back.texture, 7);
    EXPECT_EQ(back.source.x, -3);
    EXPECT_EQ(back.source.y, 4);
    EXPECT_EQ(back.source.w, 50);
    EXPECT_EQ(back.source.h, 60);
    EXPECT_EQ(back.frameDurations, (std::vector<uint16_t>{11, 22}));
    EXPECT_EQ(back.frame, 1);
    EXPECT_EQ(back.frameTime, 9);
    EXPECT_EQ(back.loop, 1);
    EXPECT_EQ(back.verticalStrip, 0);

    // The animation's grid sits between its path and its source rectangle.
    const std::string animationBytes("\x05\x00"
                                     "b.png"
                                     "\x03\x00\x02\x00"                                 // grid 3 x 2
                                     "\x00\x00\x00\x00\x00\x00\x00\x00\x08\x00\x04\x00" // source 0, 0, 8, 4
                                     "\x01\x00"                                         // one frame:
                                     "\x05\x00\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00\x04\x00" // 5 ms, rect
                                     "\xFF\xFF\xFF\xFF\x09\x00\x00\x00" // offset -1, 9
                                     "\x00\x00\x06\x00\x00\x01",        // frame, time, loop, strip
                                     53);
    GraphicAnimation a;
    a.imagePath = "b.png";
    a.cellColumns = 3;
    a.cellRows = 2;
    a.source = {0, 0, 8, 4};
    a.frameCount = 1;
    a.frameDurations = {5};
    a.frameRects = {{1, 2, 3, 4}};
    a.frameOffsets = {{-1, 9}};
    a.frame = 0;
    a.frameTime = 6;
    a.loop = 0;
    a.verticalStrip = 1;
    ByteSink animSink;
    a.writeBinary(animSink);
    EXPECT_EQ(std::string(animSink.bytes.begin(), animSink.bytes.end()), animationBytes);
    GraphicAnimation aBack;
    MemorySource animIn(reinterpret_cast<const uint8_t*>(animationBytes.data()), animationBytes.size());
    aBack.readBinary(animIn, textures);
    EXPECT_EQ(aBack.cellColumns, 3);
    EXPECT_EQ(aBack.cellRows, 2);
    EXPECT_EQ(aBack.frameRects[0].x, 1);
    EXPECT_EQ(aBack.frameRects[0].h, 4);
    EXPECT_EQ(aBack.frameOffsets[0].x, -1);
    EXPECT_EQ(aBack.frameOffsets[0].y, 9);
    EXPECT_EQ(aBack.frameTime, 6);
    EXPECT_EQ(aBack.loop, 0);
    EXPECT_EQ(aBack.verticalStrip, 1);

    // A file cut short keeps what could not be read.
    GraphicElement cut;
    cut.loop = 0;
    MemorySource shortIn(reinterpret_cast<const uint8_t*>(elementBytes.data()), elementBytes.size() - 1);
    cut.readBinary(shortIn, textures);
    EXPECT_EQ(cut.loop, 1) << "read";
    EXPECT_EQ(cut.verticalStrip, 1) << "kept, not the file's 0";
}
