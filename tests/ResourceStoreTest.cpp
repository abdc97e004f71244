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
    EXPECT_EQ(store->textureName(b), "NULL");
    EXPECT_EQ(store->getOrLoadTexture("jkl.png"), b);
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

// A driver may hand out new textures full of garbage (Mesa zeroes them): ours start see-through.
TEST_F(Store, NewTexturesAndTargetsStartClearOnADriverThatLeavesGarbage) {
    static PFNGLTEXIMAGE2DPROC real;
    real = glad_glTexImage2D;
    glad_glTexImage2D = [](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                           GLenum format, GLenum type, const void* pixels) {
        const std::vector<uint8_t> garbage(static_cast<size_t>(w) * h * 4, 0xA5);
        real(target, level, internal, w, h, border, format, type, pixels ? pixels : garbage.data());
    };
    const int32_t target = store->createRenderTexture("garbage-target", 16, 8, true, false);
    const int32_t plain = store->createRenderTexture("garbage-plain", 16, 8, false, true);
    glad_glTexImage2D = real;
    ASSERT_TRUE(target >= 0 && plain >= 0);
    for (int32_t made : {target, plain}) {
        std::vector<uint8_t> pixels(16 * 8 * 4, 0x77);
        glBindTexture(GL_TEXTURE_2D, store->texture(made)->glTexture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        EXPECT_EQ(pixels, std::vector<uint8_t>(pixels.size(), 0)) << made;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    store->deleteTexture("garbage-target");
    store->deleteTexture("garbage-plain");

    // Made between two draws, a target leaves the drawing where it was.
    GlFixture::clearAll(0xFF000000);
    Renderer::instance()->bindGameScreen();
    store->createRenderTexture("mid-frame", 4, 4, true, false);
    drawColourRect(0, 0, 2, 2, 0xFFFFFFFF);
    // Read from the game screen's own framebuffer: the renderer believes it is still bound.
    glBindFramebuffer(GL_FRAMEBUFFER, store->texture(Renderer::instance()->gameScreen)->framebuffer);
    Rgba shown{};
    glReadPixels(1, 198, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
    EXPECT_EQ(shown, (Rgba{255, 255, 255, 255}));
    store->deleteTexture("mid-frame");
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
    EXPECT_EQ(store->createTextureFromSurface(-1), -1);
    EXPECT_EQ(store->createTextureFromSurface(99999), -1);
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "Error image: -1: Not found in Array Surface\nError image: 99999: Not found in Array Surface\n");
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

TEST(ImageDecoding, APngChunkLongerThanTheFileIsRefusedBeforeDecoding) {
    const std::string png = readWhole(std::string(VOV_SOURCE_DIR) + "/data/Assets/hud/mousenormal.png");
    ASSERT_TRUE(ImageData::decode(reinterpret_cast<const uint8_t*>(png.data()), png.size()));
    const size_t idat = png.find("IDAT");
    std::string damaged = png;
    damaged[idat - 4] = 0x7f; // the chunk now claims about two gigabytes
    const auto* hostile = reinterpret_cast<const uint8_t*>(damaged.data());
    EXPECT_FALSE(ImageData::pngChunksFit(hostile, damaged.size()));
    EXPECT_FALSE(ImageData::decode(hostile, damaged.size()));
    // The same file on disk takes the same check.
    ScratchDir dir("png");
    dir.write("bad.png", damaged);
    dir.write("good.png", png);
    EXPECT_FALSE(ImageData::decodeFile((dir.path() / "bad.png").c_str()));
    EXPECT_TRUE(ImageData::decodeFile((dir.path() / "good.png").c_str()));
}

// A Huffman table of 300 codes would be written past its 257 entries while the header is read.
TEST(ImageDecoding, AJpegHuffmanTableOfMoreThan256CodesIsRefused) {
    auto fits = [](const std::string& b) {
        return ImageData::jpegTablesFit(reinterpret_cast<const uint8_t*>(b.data()), b.size());
    };
    const std::string jpeg = encodeJpeg(16, 8, std::string(16 * 8 * 3, '\x50'));
    ASSERT_TRUE(fits(jpeg));
    // Start of image, then a DC table 0 whose 16 counts say 150 + 150 codes, then the codes.
    std::string hostile("\xFF\xD8\xFF\xC4\x01\x3F\x00", 7);
    hostile += std::string(14, '\0') + "\x96\x96" + std::string(300, '\x01');
    const auto* bytes = reinterpret_cast<const uint8_t*>(hostile.data());
    EXPECT_FALSE(ImageData::decode(bytes, hostile.size()));
    // Also with fill bytes before the start marker, with counts that run past the end (read as
    // zeros), and between two scans (progressive pictures have tables there).
    for (const std::string& b :
         {hostile, "\xFF\xFF" + hostile, hostile.substr(0, 7) + std::string(13, '\0') + "\x96\x96",
          jpeg.substr(0, jpeg.size() - 2) + hostile.substr(2) + "\xFF\xD9"})
        EXPECT_FALSE(fits(b)) << b.size();
    ScratchDir dir("jpeg");
    dir.write("bad.jpg", hostile);
    dir.write("good.jpg", jpeg);
    EXPECT_FALSE(ImageData::decodeFile((dir.path() / "bad.jpg").c_str()));
    // Asking only for the size (as the level list does for every terrain) reads the same tables.
    int w = -1, h = -1;
    EXPECT_FALSE(ImageData::readSize(bytes, hostile.size(), &w, &h));
    EXPECT_FALSE(ImageData::readFileSize((dir.path() / "bad.jpg").c_str(), &w, &h));
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(ImageData::readFileSize((dir.path() / "good.jpg").c_str(), &w, &h));
    EXPECT_EQ(std::tuple(w, h), std::tuple(16, 8));
}
