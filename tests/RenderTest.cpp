#include <cstdlib>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "TestSupport.h"
#include "assets/PackWriter.h"
#include "base/GameWide.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"

namespace {
using Rgba = std::array<uint8_t, 4>;
constexpr Rgba kBlack = {0, 0, 0, 255};

class Render : public testing::Test {
  protected:
    void SetUp() override {
        fixture = &GlFixture::get();
        ASSERT_TRUE(fixture->ready()) << "no GL context";
        store = fixture->store();
        renderer = fixture->renderer();
    }
    // A texture of one colour (ABGR), or of that colour on the square [from, to) and clear elsewhere.
    int32_t makeTexture(const std::string& name, int w, int h, uint32_t abgr, int from = 0,
                        int to = 1 << 20) {
        const int32_t surface = store->surfaces().createBlank(name, w, h);
        for (int y = from; y < std::min(to, h); ++y)
            for (int x = from; x < std::min(to, w); ++x)
                store->surfaces().get(surface)->setPixel(x, y, abgr);
        return store->createTextureFromSurface(surface);
    }
    // Clears everything to `argb` and draws on the game screen.
    void start(uint32_t argb = 0xFF000000) {
        GlFixture::clearAll(argb);
        renderer->bindGameScreen();
    }
    GlFixture* fixture = nullptr;
    ResourceStore* store = nullptr;
    Renderer* renderer = nullptr;
};
} // namespace

TEST_F(Render, SpritesLandOnTheScaledWindowPixelsAndGoneTexturesDrawNothing) {
    const int32_t red = makeTexture("red16", 16, 16, 0xFF0000FF);
    start();
    drawSprite(red, {0, 0, 16, 16}, 10, 20);
    const int32_t dot = makeTexture("dot2", 2, 2, 0xFF0000FF, 0, 1);
    drawSprite(dot, {0, 0, 2, 2}, 0, 0);
    drawTexture(dot, {0, 0, 2, 2}, 4, 0, 0, 1, 1, nullptr, 0, 255);
    EXPECT_NEAR(GlFixture::gameScreenPixel(4, 0)[0], 16, 8) << "shrunk after a draw at its own size: mipmaps";
    for (const auto& [x, y, r] :
         {std::array{10, 20, 255}, {25, 35, 255}, {26, 35, 0}, {9, 20, 0}, {10, 36, 0}})
        EXPECT_EQ(GlFixture::gameScreenPixel(x, y), (Rgba{uint8_t(r), 0, 0, 255})) << x << "," << y;
    renderer->clearTarget(0xFF000000, Renderer::Window);
    renderer->composeFrame();
    // Game pixel (10, 20) becomes the 3x3 block at (160 + 30, 50 + 60) in the window; the border
    // around the game screen stays black.
    EXPECT_EQ(GlFixture::windowPixel(190, 110)[0] + GlFixture::windowPixel(237, 157)[0], 510);
    for (const auto& [x, y] : {std::pair{189, 110}, {238, 157}, {190, 158}, {159, 110}})
        EXPECT_EQ(GlFixture::windowPixel(x, y), kBlack) << x << "," << y;

    store->deleteTexture("red16");
    start();
    drawSprite(red, {0, 0, 4, 4}, 0, 0);
    drawSprite(-1, {0, 0, 4, 4}, 0, 0);
    drawStroked(-1, {0, 0, 4, 4}, 0, 0, 0xFFFFFFFF);
    drawTexture(12345, {0, 0, 4, 4}, 0, 0, 0, 4, 4, nullptr, 0, 255);
    EXPECT_EQ(GlFixture::gameScreenPixel(1, 1), kBlack);
    store->surfaces().remove("red16");
}

// An own-size draw skips the picture's clear margin, its pixels where the whole picture puts them; a
// multiply draw (clear texels darken) and a repeated source stay whole; a picture written again shows.
TEST_F(Render, ClearMarginsAreSkippedWithoutChangingAPixel) {
    const int32_t dots = makeTexture("dots8", 8, 8, 0xFF0000FF, 5, 7); // red on texels 5..6
    start();
    drawSprite(dots, {0, 0, 8, 8}, 20, 30);
    drawSprite(dots, {0, 0, 16, 8}, 60, 30); // repeated: texels 13 and 14 are red again
    for (int y = 34; y < 38; ++y)
        for (int x = 18; x < 80; ++x) {
            const bool red =
                (y == 35 || y == 36) && (x == 25 || x == 26 || x == 65 || x == 66 || x == 73 || x == 74);
            EXPECT_EQ(GlFixture::gameScreenPixel(x, y), (Rgba{uint8_t(red ? 255 : 0), 0, 0, 255}))
                << x << "," << y;
        }
    store->texture(dots)->blendMode = 1;
    start(0xFFFFFFFF);
    drawSprite(dots, {0, 0, 8, 8}, 20, 30);
    EXPECT_EQ(GlFixture::gameScreenPixel(20, 30)[1], 0)
        << "a clear texel multiplies to black (the scanlines rely on multiply)";
    store->texture(dots)->blendMode = 2;
    store->surfaces().get(store->surfaces().find("dots8"))->setPixel(0, 0, 0xFF00FF00);
    store->uploadSurface(store->surfaces().find("dots8"), dots);
    start();
    drawSprite(dots, {0, 0, 8, 8}, 20, 30);
    EXPECT_EQ(GlFixture::gameScreenPixel(20, 30), (Rgba{0, 255, 0, 255})) << "the new pixel of a re-upload";
}

TEST_F(Render, StrokeAlphaMultiplyAndColourBlending) {
    // An 8x8 texture whose texels 2..5 are opaque white: the stroke rings them one texel wide.
    const int32_t square = makeTexture("square8", 8, 8, 0xFFFFFFFF, 2, 6);
    start();
    drawStroked(square, {0, 0, 8, 8}, 50, 50, 0xFF00FF00);
    for (const auto& [x, y] : {std::pair{51, 53}, {56, 53}, {53, 51}})
        EXPECT_EQ(GlFixture::gameScreenPixel(x, y), (Rgba{0, 255, 0, 255})) << x << "," << y;
    for (const auto& [x, y] : {std::pair{53, 53}, {50, 53}, {51, 51}}) // inside, two away, diagonal
        EXPECT_EQ(GlFixture::gameScreenPixel(x, y), kBlack) << x << "," << y;

    const int32_t white = makeTexture("white4", 4, 4, 0xFFFFFFFF);
    start();
    drawSpriteAlpha(white, {0, 0, 4, 4}, 0, 0, 128);
    EXPECT_NEAR(GlFixture::gameScreenPixel(1, 1)[0], 128, 2);
    EXPECT_FLOAT_EQ(store->texture(white)->colour[3], 1.0f) << "an alpha draw leaves the texture's colour";

    start(0xFF0000FF);
    drawColourRect(100, 100, 10, 10, 0x80FF0000);
    const Rgba mixed = GlFixture::gameScreenPixel(105, 105);
    EXPECT_TRUE(std::abs(mixed[0] - 128) <= 2 && mixed[1] == 0 && std::abs(mixed[2] - 127) <= 2);
    EXPECT_EQ(GlFixture::gameScreenPixel(110, 105), (Rgba{0, 0, 255, 255}));
    for (const char* name : {"square8", "white4"})
        store->deleteTexture(name);
}

TEST_F(Render, ABrokenShaderReportsAndGivesMinusOne) {
    ScratchDir dir("shader");
    PackWriter writer;
    const std::string bad = "#version 140\nvoid main( { oops }\n";
    writer.add("Assets/shaders/Broken.vertex", {bad.begin(), bad.end()});
    writer.add("Assets/shaders/Broken.fragment", {bad.begin(), bad.end()});
    // A source far longer than any fixed buffer still compiles whole.
    const std::string longSource =
        "#version 140\n" + std::string(9000, ' ') +
        "\nuniform vec4 color;\nout vec4 fragColor;\nvoid main() { fragColor = color; }\n";
    writer.add("Assets/shaders/Long.fragment", {longSource.begin(), longSource.end()});
    writer.add("Assets/shaders/Long.vertex",
               fixture->pack()->readFile("Assets/shaders/Color2D.vertex")->data);
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    GameWide<AssetPack>::set(&pack);
    testing::internal::CaptureStderr();
    EXPECT_EQ(store->createShader("Broken", 0), -1);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_GE(store->createShader("Long", 0), 0);
    GameWide<AssetPack>::set(fixture->pack());
    EXPECT_NE(errors.find("fragment shader Broken: ERROR"), std::string::npos) << errors;
    EXPECT_EQ(store->createShader("Color2D", 7), -1);
    start(); // the game goes on: drawing still works
    drawColourRect(0, 0, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(GlFixture::gameScreenPixel(1, 1), (Rgba{255, 255, 255, 255}));
}

// Shipped pictures: the scanlines leave two rows alone and darken the third; every shipped flag loads
// as a texture (the route test draws two of them).
TEST_F(Render, ShippedScanlinesAndFlagsDrawTheirPictures) {
    const int32_t scanlines = store->getOrLoadTexture("Assets/gui/scanlines.png");
    ASSERT_GE(scanlines, 0);
    store->texture(scanlines)->blendMode = 1;
    start(0xFF646464);
    drawSprite(scanlines, {0, 0, 320, 3}, 0, 10);
    for (int y : {11, 13})
        EXPECT_EQ(GlFixture::gameScreenPixel(5, y), (Rgba{100, 100, 100, 255}));
    const Rgba dark = GlFixture::gameScreenPixel(5, 12); // 100 x (232, 224, 214) / 255
    EXPECT_TRUE(std::abs(dark[0] - 91) <= 1 && std::abs(dark[1] - 88) <= 1 && std::abs(dark[2] - 84) <= 1);

    // Every flag of the shipped list loads, shrunk to the 50x30 it is shown at (the loader names any
    // it leaves out); France's paint palette stays its left column, blue.
    ProgressRecord progress;
    testing::internal::CaptureStderr();
    progress.loadFlags();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_GT(progress.flags.size(), 200u);
    const Flag* japan = nullptr;
    for (const Flag& flag : progress.flags) {
        const TextureRecord* shown = store->texture(flag.texture);
        EXPECT_TRUE(flag.height > 0 && flag.width <= 100 && shown && shown->width == 50 &&
                    shown->height == 30)
            << flag.name;
        const uint32_t left = store->surfaces().getPixel(flag.surface, 0, 30);
        EXPECT_TRUE(flag.name != "France Flag" || ((left & 0xFF) < 60 && (left >> 16 & 0xFF) > 100)) << left;
        if (flag.name == "Japan Flag") japan = &flag;
    }
    // Japan's, as the menus show it: the red disc in the middle, white at the corners.
    ASSERT_TRUE(japan);
    start();
    menus::drawFlag(japan, 100, 100);
    const Rgba disc = GlFixture::gameScreenPixel(125, 115), corner = GlFixture::gameScreenPixel(101, 101);
    EXPECT_TRUE(disc[0] > 150 && disc[1] < 80 && corner[0] > 230 && corner[1] > 230 &&
                GlFixture::gameScreenPixel(150, 115) == kBlack)
        << int(disc[0]) << "," << int(disc[1]) << " " << int(corner[1]);
}
