#include <gtest/gtest.h>

#include "core/FrameClock.h"
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

TEST(GraphicElementFiles, BinaryFormsRoundTripTheFieldsTheyCarry) {
    FakeTextures textures;
    GraphicElement e;
    e.imagePath = "Assets/gui/x.png";
    e.source = {-3, 4, 50, 60};
    e.frameCount = 2;
    e.frameDurations = {11, 22};
    e.frame = 1;
    e.frameTime = 9;
    e.loop = 0;
    e.verticalStrip = 0;
    ByteSink sink;
    e.writeBinary(sink);
    EXPECT_EQ(sink.bytes.size(), 2u + 16 + 12 + 2 + 4 + 2 + 2 + 1 + 1);
    GraphicElement back;
    MemorySource in(sink.bytes.data(), sink.bytes.size());
    back.readBinary(in, textures);
    EXPECT_EQ(back.imagePath, e.imagePath);
    EXPECT_EQ(back.texture, 7);
    EXPECT_EQ(back.source.x, -3);
    EXPECT_EQ(back.source.h, 60);
    EXPECT_EQ(back.frameDurations, e.frameDurations);
    EXPECT_EQ(back.frame, 1);
    EXPECT_EQ(back.frameTime, 9);
    EXPECT_EQ(back.loop, 0);
    EXPECT_EQ(back.verticalStrip, 0);

    GraphicAnimation a;
    a.imagePath = "a.png";
    a.cellColumns = 3;
    a.cellRows = 2;
    a.frameCount = 2;
    a.frameDurations = {5, 6};
    a.frameRects = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    a.frameOffsets = {{-1, -2}, {9, 10}};
    ByteSink animSink;
    a.writeBinary(animSink);
    GraphicAnimation aBack;
    MemorySource animIn(animSink.bytes.data(), animSink.bytes.size());
    aBack.readBinary(animIn, textures);
    EXPECT_EQ(aBack.cellColumns, 3);
    EXPECT_EQ(aBack.cellRows, 2);
    EXPECT_EQ(aBack.frameRects[1].w, 7);
    EXPECT_EQ(aBack.frameOffsets[0].y, -2);
    EXPECT_EQ(aBack.frameDurations, a.frameDurations);

    // A file cut short keeps what could not be read.
    GraphicElement cut;
    cut.loop = 1;
    MemorySource shortIn(sink.bytes.data(), sink.bytes.size() - 1);
    cut.readBinary(shortIn, textures);
    EXPECT_EQ(cut.loop, 0);
    EXPECT_EQ(cut.verticalStrip, 1);
}
