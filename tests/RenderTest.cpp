#include <fstream>
#include <glad/gl.h>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "TestSupport.h"
#include "assets/PackWriter.h"
#include "base/GameWide.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

// A surface of one colour with an optional opaque square, uploaded as a texture.
int32_t makeTexture(ResourceStore& store, const std::string& name, int w, int h, uint32_t abgr,
                    int squareFrom = 0, int squareTo = -1) {
    const int32_t surface = store.surfaces().createBlank(name, w, h);
    ImageData* image = store.surfaces().get(surface);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inside =
                squareTo < 0 || (x >= squareFrom && x < squareTo && y >= squareFrom && y < squareTo);
            uint8_t* p = image->pixels() + (y * w + x) * 4;
            const uint32_t c = inside ? abgr : 0;
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
            p[3] = (c >> 24) & 0xFF;
        }
    return store.createTextureFromSurface(surface);
}

int brightness(const Rgba& c) {
    return c[0] + c[1] + c[2];
}

class Render : public testing::Test {
  protected:
    void SetUp() override {
        fixture = &GlFixture::get();
        ASSERT_TRUE(fixture->ready()) << "no GL context";
        store = fixture->store();
        renderer = fixture->renderer();
    }
    GlFixture* fixture = nullptr;
    ResourceStore* store = nullptr;
    Renderer* renderer = nullptr;
};
} // namespace

TEST_F(Render, ShadersOfThePackBuildAndTargetsExist) {
    for (int32_t index : {renderer->textureShader, renderer->paletteShader, renderer->colourShader,
                          renderer->shadowMapShader, renderer->shadowRenderShader, renderer->strokeShader})
        EXPECT_GE(index, 0);
    EXPECT_GE(store->createShader("ST_planegrid", 5), 0);
    EXPECT_EQ(renderer->lightMapSize, 256);
    EXPECT_EQ(store->texture(renderer->gameScreen)->width, 320);
    EXPECT_EQ(store->texture(renderer->shadowMap)->height, 1);
    EXPECT_EQ(store->texture(renderer->screenshot)->width, renderer->windowWidth);
    EXPECT_EQ(store->textureName(renderer->hudLayer), "HUDTexture");
    EXPECT_EQ(store->textureName(-1), "NULL");
}

TEST_F(Render, SpriteLandsOnTheScaledWindowPixels) {
    const int32_t red = makeTexture(*store, "red16", 16, 16, 0xFF0000FF);
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    drawSprite(red, {0, 0, 16, 16}, 10, 20);
    EXPECT_EQ(GlFixture::gameScreenPixel(10, 20), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(GlFixture::gameScreenPixel(25, 35), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(GlFixture::gameScreenPixel(26, 35)[0], 0);
    EXPECT_EQ(GlFixture::gameScreenPixel(9, 20)[0], 0);
    EXPECT_EQ(GlFixture::gameScreenPixel(10, 36)[0], 0);

    renderer->clearTarget(0xFF000000, Renderer::Window);
    renderer->composeFrame();
    // Game pixel (10, 20) becomes the 3x3 block at (160 + 30, 50 + 60) in the window.
    EXPECT_EQ(GlFixture::windowPixel(190, 110)[0], 255);
    EXPECT_EQ(GlFixture::windowPixel(237, 157)[0], 255);
    EXPECT_EQ(GlFixture::windowPixel(189, 110)[0], 0);
    EXPECT_EQ(GlFixture::windowPixel(238, 157)[0], 0);
    EXPECT_EQ(GlFixture::windowPixel(190, 158)[0], 0);
    // The border around the game screen stays black.
    EXPECT_EQ(GlFixture::windowPixel(159, 110), (Rgba{0, 0, 0, 255}));
    store->deleteTexture("red16");
    store->surfaces().remove("red16");
}

TEST_F(Render, StrokeOutlinesTheOpaqueTexelsOnly) {
    // An 8x8 texture whose texels 2..5 are opaque white.
    const int32_t square = makeTexture(*store, "square8", 8, 8, 0xFFFFFFFF, 2, 6);
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    drawStroked(square, {0, 0, 8, 8}, 50, 50, 0xFF00FF00);
    EXPECT_EQ(GlFixture::gameScreenPixel(51, 53), (Rgba{0, 255, 0, 255})); // left of the square
    EXPECT_EQ(GlFixture::gameScreenPixel(56, 53), (Rgba{0, 255, 0, 255})); // right of it
    EXPECT_EQ(GlFixture::gameScreenPixel(53, 51), (Rgba{0, 255, 0, 255})); // above
    EXPECT_EQ(GlFixture::gameScreenPixel(53, 53), (Rgba{0, 0, 0, 255}));   // inside: left alone
    EXPECT_EQ(GlFixture::gameScreenPixel(50, 53), (Rgba{0, 0, 0, 255}));   // two texels away
    EXPECT_EQ(GlFixture::gameScreenPixel(51, 51), (Rgba{0, 0, 0, 255}));   // diagonal corner
    store->deleteTexture("square8");
}

TEST_F(Render, ColourRectanglesBlendWithTheirAlpha) {
    GlFixture::clearAll(0xFF0000FF);
    renderer->bindGameScreen();
    drawColourRect(100, 100, 10, 10, 0x80FF0000);
    const Rgba mixed = GlFixture::gameScreenPixel(105, 105);
    EXPECT_NEAR(mixed[0], 128, 2);
    EXPECT_EQ(mixed[1], 0);
    EXPECT_NEAR(mixed[2], 127, 2);
    EXPECT_EQ(GlFixture::gameScreenPixel(110, 105), (Rgba{0, 0, 255, 255}));
}

TEST_F(Render, AlphaDrawsLeaveTheTextureColourAlone) {
    const int32_t white = makeTexture(*store, "white4", 4, 4, 0xFFFFFFFF);
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    drawSpriteAlpha(white, {0, 0, 4, 4}, 0, 0, 128);
    EXPECT_NEAR(GlFixture::gameScreenPixel(1, 1)[0], 128, 2);
    EXPECT_FLOAT_EQ(store->texture(white)->colour[3], 1.0f);
    // A multiply texture darkens what is under it (the scanlines rely on it).
    const int32_t grey = makeTexture(*store, "grey4", 4, 4, 0xFF808080);
    store->texture(grey)->blendMode = 1;
    drawSprite(white, {0, 0, 4, 4}, 10, 0);
    drawSprite(grey, {0, 0, 4, 4}, 10, 0);
    EXPECT_NEAR(GlFixture::gameScreenPixel(11, 1)[0], 128, 2);
    store->deleteTexture("white4");
    store->deleteTexture("grey4");
}

TEST_F(Render, FreedOrMissingTexturesDrawNothing) {
    const int32_t doomed = makeTexture(*store, "doomed", 4, 4, 0xFFFFFFFF);
    store->deleteTexture("doomed");
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    drawSprite(doomed, {0, 0, 4, 4}, 0, 0);
    drawSprite(-1, {0, 0, 4, 4}, 0, 0);
    drawStroked(-1, {0, 0, 4, 4}, 0, 0, 0xFFFFFFFF);
    drawTexture(12345, {0, 0, 4, 4}, 0, 0, 0, 4, 4, nullptr, 0, 255);
    EXPECT_EQ(GlFixture::gameScreenPixel(1, 1), (Rgba{0, 0, 0, 255}));
}

TEST_F(Render, ABlockCastsAShadowAwayFromTheLight) {
    // The occlusion map is centred on the light at (160, 100): a block 24..34 px right of centre.
    renderer->bindTarget(Renderer::TextureTarget, renderer->occlusionMap);
    renderer->clearTarget(0, Renderer::Keep);
    const int half = renderer->lightMapSize / 2;
    drawColourRect(static_cast<int16_t>(half + 24), static_cast<int16_t>(half - 8), 10, 16, 0xFF000000);
    renderer->computeShadowMap();
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    renderer->drawLight(160, 100, 0xFFFFFFFF);
    const int behind = brightness(GlFixture::gameScreenPixel(160 + 60, 100));
    const int beside = brightness(GlFixture::gameScreenPixel(160, 100 - 60));
    const int before = brightness(GlFixture::gameScreenPixel(160 + 12, 100));
    EXPECT_GT(beside, 60);
    EXPECT_EQ(behind, 0);
    EXPECT_GT(before, beside);
    // Without the block the same spot is lit like the one beside it.
    renderer->bindTarget(Renderer::TextureTarget, renderer->occlusionMap);
    renderer->clearTarget(0, Renderer::Keep);
    renderer->computeShadowMap();
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    renderer->drawLight(160, 100, 0xFFFFFFFF);
    EXPECT_NEAR(brightness(GlFixture::gameScreenPixel(160 + 60, 100)), beside, 12);
}

TEST_F(Render, RepeatedBindsOfOneTargetCostNothing) {
    renderer->bindTarget(Renderer::HudLayer, -1);
    const uint64_t before = renderer->framebufferBinds;
    renderer->bindTarget(Renderer::HudLayer, -1);
    renderer->bindGameScreen();
    renderer->bindGameScreen();
    EXPECT_EQ(renderer->framebufferBinds, before + 1);
}

TEST_F(Render, ABrokenShaderReportsAndGivesMinusOne) {
    ScratchDir dir("shader");
    PackWriter writer;
    const std::string bad = "#version 140\nvoid main( { oops }\n";
    writer.add("Assets/shaders/Broken.vertex", {bad.begin(), bad.end()});
    writer.add("Assets/shaders/Broken.fragment", {bad.begin(), bad.end()});
    // A source far longer than any fixed buffer still compiles whole.
    std::string longSource = "#version 140\n";
    while (longSource.size() < 9000)
        longSource += "// padding the source past every small buffer\n";
    longSource += "uniform vec4 color;\nout vec4 fragColor;\nvoid main() { fragColor = color; }\n";
    writer.add("Assets/shaders/Long.fragment", {longSource.begin(), longSource.end()});
    const auto vertex = fixture->pack()->readFile("Assets/shaders/Color2D.vertex");
    writer.add("Assets/shaders/Long.vertex", vertex->data);
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    GameWide<AssetPack>::set(&pack);
    testing::internal::CaptureStderr();
    const int32_t broken = store->createShader("Broken", 0);
    const std::string errors = testing::internal::GetCapturedStderr();
    const int32_t longOne = store->createShader("Long", 0);
    const int32_t again = store->getOrCreateShader("Long", 0);
    GameWide<AssetPack>::set(fixture->pack());
    EXPECT_EQ(broken, -1);
    EXPECT_NE(errors.find("*** Compilacion del vertex shader Broken: \n"), std::string::npos) << errors;
    EXPECT_NE(errors.find("*** Compilacion del fragment shader Broken: ERROR:\n"), std::string::npos);
    EXPECT_NE(errors.find("*** Enlace de shaders a program: \n"), std::string::npos);
    EXPECT_GE(longOne, 0);
    EXPECT_EQ(again, longOne);
    EXPECT_EQ(store->createShader("Color2D", 7), -1);
    // The game goes on: drawing still works.
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    drawColourRect(0, 0, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(GlFixture::gameScreenPixel(1, 1), (Rgba{255, 255, 255, 255}));
}

// The shipped scanlines multiply what is under them: two rows left alone, the third one darkened.
TEST_F(Render, ShippedScanlinesDarkenEveryThirdRow) {
    const int32_t scanlines = store->getOrLoadTexture("Assets/gui/scanlines.png");
    ASSERT_GE(scanlines, 0);
    store->texture(scanlines)->blendMode = 1;
    GlFixture::clearAll(0xFF646464);
    renderer->bindGameScreen();
    drawSprite(scanlines, {0, 0, 320, 3}, 0, 10);
    EXPECT_EQ(GlFixture::gameScreenPixel(5, 11), (Rgba{100, 100, 100, 255}));
    EXPECT_EQ(GlFixture::gameScreenPixel(5, 13), (Rgba{100, 100, 100, 255}));
    const Rgba dark = GlFixture::gameScreenPixel(5, 12); // 100 x (232, 224, 214) / 255
    EXPECT_NEAR(dark[0], 91, 1);
    EXPECT_NEAR(dark[1], 88, 1);
    EXPECT_NEAR(dark[2], 84, 1);
}

// The shipped flags become surfaces and textures; a texture shows its picture's own pixels.
TEST_F(Render, ShippedFlagsBecomeTexturesHoldingTheirPictures) {
    std::ifstream list("Flags/flags.txt");
    size_t named = 0;
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#') ++named;
    ProgressRecord progress;
    progress.loadFlags();
    ASSERT_EQ(progress.flags.size(), named);
    ASSERT_GT(named, 0u);
    const Flag& flag = progress.flags.front();
    const ImageData* picture = store->surfaces().get(flag.surface);
    const TextureRecord* texture = store->texture(flag.texture);
    ASSERT_TRUE(picture && texture);
    EXPECT_EQ(texture->width, flag.width);
    EXPECT_EQ(texture->height, flag.height);
    GlFixture::clearAll(0xFF000000);
    renderer->bindGameScreen();
    drawSprite(flag.texture, {0, 0, flag.width, flag.height}, 0, 0);
    // The middle of the leftmost column: the paint palette the levels read.
    const int y = flag.height / 2;
    const uint8_t* expected = picture->pixels() + static_cast<size_t>(y) * picture->pitch();
    const Rgba shown = GlFixture::gameScreenPixel(0, y);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(shown[c], expected[c] * expected[3] / 255, 2) << c;
}
