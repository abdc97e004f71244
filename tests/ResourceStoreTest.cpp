#include <glad/gl.h>
#include <gtest/gtest.h>
#include <tuple>

#include "GlFixture.h"
#include "TestSupport.h"
#include "base/GameWide.h"
#include "render/Draw.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

class Store : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(GlFixture::get().ready()); }
    ResourceStore* store = GlFixture::get().store();
    InScratchFolder folder{"store"};
    const ScratchDir& dir = folder.dir();
};
} // namespace

TEST_F(Store, FreedTextureSlotsAreReused) {
    for (const char* p : {"abc", "def", "ghi", "jkl", "mno", "pqr"})
        dir.write(std::string(p) + ".png", encodePng(1, 1, 3, p));
    const int32_t a = store->getOrLoadTexture("abc.png"), b = store->getOrLoadTexture("def.png"),
                  c = store->getOrLoadTexture("ghi.png");
    ASSERT_GE(a, 0);
    EXPECT_EQ(store->getOrLoadTexture("def.png"), b);
    store->deleteTexture("def.png");
    EXPECT_TRUE(store->textureName(b) == "NULL" && store->getOrLoadTexture("jkl.png") == b);
    // Two more after the reuse take fresh slots: every texture keeps its name and its pixels.
    const int32_t kept[] = {a, b, c, store->getOrLoadTexture("mno.png"), store->getOrLoadTexture("pqr.png")};
    GlFixture::clearAll(0xFF000000);
    Renderer::instance()->bindGameScreen();
    int16_t x = 0;
    for (const char* p : {"abc", "jkl", "ghi", "mno", "pqr"}) {
        EXPECT_EQ(store->textureName(kept[x]), std::string(p) + ".png");
        drawSprite(kept[x], {0, 0, 1, 1}, x, 0);
        EXPECT_EQ(GlFixture::gameScreenPixel(x++, 0),
                  (Rgba{uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]), 255}));
    }
}

TEST_F(Store, MissingPicturesGiveMinusOneQuietlyAndZeroSizesTouchNothing) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(store->loadTexture("Assets/none.png"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
    const uint32_t nextBefore = store->nextFreeTexture();
    EXPECT_EQ(store->createRenderTexture("empty", 0, 10, true, false) +
                  store->createRenderTexture("empty", 10, 0, false, false),
              -2);
    EXPECT_EQ(store->nextFreeTexture(), nextBefore);
    testing::internal::CaptureStderr();
    EXPECT_EQ(store->createTextureFromSurface(-1) + store->createTextureFromSurface(99999), -2);
    testing::internal::GetCapturedStderr();
    // Uploading into a texture of another size, or an invalid index, changes nothing and reads nothing.
    const int32_t small = store->surfaces().createBlank("small", 2, 2);
    const int32_t big = store->surfaces().createBlank("big", 8, 8);
    const int32_t bigTexture = store->createTextureFromSurface(big);
    store->uploadSurface(small, bigTexture);
    store->uploadSurface(-5, bigTexture);
    store->uploadSurface(small, -1);
    EXPECT_EQ(store->texture(bigTexture)->width, 8);
}

TEST_F(Store, GreyAndRgbPicturesOfOddWidthLookRight) {
    // 5 pixels wide: RGB rows of 15 bytes, which a 4-byte row alignment would skew.
    std::string rgbPixels, greyPixels;
    for (int i = 0; i < 15; ++i) {
        rgbPixels += {static_cast<char>(i % 5 * 50), static_cast<char>(i / 5 * 100), static_cast<char>(200)};
        greyPixels += static_cast<char>(i % 5 * 60);
    }
    dir.write("rgb.png", encodePng(5, 3, 3, rgbPixels));
    dir.write("grey-picture.png", encodePng(5, 3, 1, greyPixels));
    const int32_t rgb = store->loadTexture("rgb.png"), grey = store->loadTexture("grey-picture.png");
    ASSERT_TRUE(rgb >= 0 && grey >= 0);
    GlFixture::clearAll(0xFF000000);
    Renderer::instance()->bindGameScreen();
    drawSprite(rgb, {0, 0, 5, 3}, 0, 0);
    drawSprite(grey, {0, 0, 5, 3}, 0, 10);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const auto g = static_cast<uint8_t>(x * 60);
            EXPECT_EQ(GlFixture::gameScreenPixel(x, y),
                      (Rgba{static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 100), 200, 255}));
            EXPECT_EQ(GlFixture::gameScreenPixel(x, 10 + y), (Rgba{g, g, g, 255})) << x << "," << y;
        }
}
