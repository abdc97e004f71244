#include <fstream>
#include <glad/gl.h>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "TestSupport.h"
#include "assets/PackWriter.h"
#include "base/GameWide.h"
#include "render/Draw.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

// A PNG of `w` x `h` pixels with 1 (grey) or 3 (RGB) channels, rows packed as given.
std::string grey(int w, int h, const std::string& pixels) {
    return encodePng(w, h, 1, pixels);
}
std::string rgb(int w, int h, const std::string& pixels) {
    return encodePng(w, h, 3, pixels);
}

class Store : public testing::Test {
  protected:
    void SetUp() override {
        fixture = &GlFixture::get();
        ASSERT_TRUE(fixture->ready());
        store = fixture->store();
        here = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override {
        std::filesystem::current_path(here);
        GameWide<AssetPack>::set(fixture->pack());
    }
    GlFixture* fixture = nullptr;
    ResourceStore* store = nullptr;
    ScratchDir dir{"store"};
    std::filesystem::path here;
};
} // namespace

TEST_F(Store, FreedTextureSlotsAreReused) {
    dir.write("a.png", rgb(1, 1, "abc"));
    dir.write("b.png", rgb(1, 1, "def"));
    dir.write("c.png", rgb(1, 1, "ghi"));
    dir.write("d.png", rgb(1, 1, "jkl"));
    const int32_t a = store->getOrLoadTexture("a.png");
    const int32_t b = store->getOrLoadTexture("b.png");
    const int32_t c = store->getOrLoadTexture("c.png");
    ASSERT_GE(a, 0);
    EXPECT_EQ(store->getOrLoadTexture("b.png"), b);
    store->deleteTexture("b.png");
    EXPECT_EQ(store->texture(b), nullptr);
    EXPECT_EQ(store->textureName(b), "NULL");
    EXPECT_EQ(store->getOrLoadTexture("d.png"), b);
    // Two more after the reuse take fresh slots: every other texture keeps its name and its pixels.
    dir.write("e.png", rgb(1, 1, "mno"));
    dir.write("f.png", rgb(1, 1, "pqr"));
    const int32_t e = store->getOrLoadTexture("e.png"), f = store->getOrLoadTexture("f.png");
    GlFixture::clearAll(0xFF000000);
    Renderer::instance()->bindGameScreen();
    const struct {
        int32_t index;
        const char* file;
        const char* rgb;
    } kept[] = {{a, "a.png", "abc"},
                {b, "d.png", "jkl"},
                {c, "c.png", "ghi"},
                {e, "e.png", "mno"},
                {f, "f.png", "pqr"}};
    for (int i = 0; i < 5; ++i)
        drawSprite(kept[i].index, {0, 0, 1, 1}, static_cast<int16_t>(i), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(store->textureName(kept[i].index), kept[i].file);
        const char* p = kept[i].rgb;
        EXPECT_EQ(GlFixture::gameScreenPixel(i, 0), (Rgba{uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]), 255}))
            << p;
    }

    // Surfaces do not offer a freed slot at once: only textures lower the next free slot.
    const int32_t s1 = store->loadSurface("a.png");
    const int32_t s2 = store->loadSurface("b.png");
    store->deleteSurface("a.png");
    EXPECT_GT(store->loadSurface("c.png"), s2);
    EXPECT_EQ(store->surface(s1), nullptr);
    testing::internal::CaptureStdout();
    store->deleteSurface("never.png");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "The file never.png is not loaded yet. Cannot delete it.\n");
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
    ASSERT_GE(target, 0);
    ASSERT_GE(plain, 0);
    std::vector<uint8_t> pixels(16 * 8 * 4, 0x77);
    Renderer::instance()->bindTarget(Renderer::TextureTarget, target);
    glReadPixels(0, 0, 16, 8, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_EQ(pixels, std::vector<uint8_t>(pixels.size(), 0)) << "target";
    pixels.assign(pixels.size(), 0x77);
    glBindTexture(GL_TEXTURE_2D, store->texture(plain)->glTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(pixels, std::vector<uint8_t>(pixels.size(), 0)) << "texture";
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

TEST_F(Store, LooseFileWinsOverThePackAndMissingGivesMinusOne) {
    PackWriter writer;
    const std::string packed = rgb(1, 1, std::string("\xff\x00\x00", 3));
    writer.add("Assets/pic.png", {packed.begin(), packed.end()});
    writer.add("Assets/only-packed.png", {packed.begin(), packed.end()});
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    GameWide<AssetPack>::set(&pack);
    dir.write("Assets/pic.png", rgb(1, 1, std::string("\x00\xff\x00", 3)));

    const int32_t loose = store->loadSurface("Assets/pic.png");
    ASSERT_GE(loose, 0);
    EXPECT_EQ(store->surface(loose)->pixels()[1], 0xff); // green: the loose file
    const int32_t packedOnly = store->loadSurface("Assets/only-packed.png");
    ASSERT_GE(packedOnly, 0);
    EXPECT_EQ(store->surface(packedOnly)->pixels()[0], 0xff);
    // A loose file that does not decode falls back to the pack entry.
    dir.write("Assets/only-packed.png", "not a picture");
    EXPECT_GE(store->loadTexture("Assets/only-packed.png"), 0);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(store->loadTexture("Assets/none.png"), -1);
    EXPECT_EQ(store->loadSurface("Assets/none.png"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Store, ZeroSizesAndUnknownIndicesGiveMinusOneAndTouchNothing) {
    const uint32_t nextBefore = store->nextFreeTexture();
    EXPECT_EQ(store->createRenderTexture("empty", 0, 10, true, false), -1);
    EXPECT_EQ(store->createRenderTexture("empty", 10, 0, false, false), -1);
    EXPECT_EQ(store->createBlankSurface("empty", 0, 0), -1);
    EXPECT_EQ(store->nextFreeTexture(), nextBefore);
    testing::internal::CaptureStderr();
    EXPECT_EQ(store->createTextureFromSurface(-1), -1);
    EXPECT_EQ(store->createTextureFromSurface(99999), -1);
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "Error image: -1: Not found in Array Surface\nError image: 99999: Not found in Array Surface\n");
    // Uploading into a texture of another size, or an invalid index, changes nothing and reads nothing.
    const int32_t small = store->createBlankSurface("small", 2, 2);
    const int32_t big = store->createBlankSurface("big", 8, 8);
    const int32_t bigTexture = store->createTextureFromSurface(big);
    store->uploadSurface(small, bigTexture);
    store->uploadSurface(-5, bigTexture);
    store->uploadSurface(small, -1);
    EXPECT_EQ(store->texture(bigTexture)->width, 8);
}

TEST_F(Store, GreyAndRgbPicturesOfOddWidthLookRight) {
    // 5 pixels wide: RGB rows of 15 bytes, which a 4-byte row alignment would skew.
    std::string rgbPixels, greyPixels;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            rgbPixels += static_cast<char>(x * 50);
            rgbPixels += static_cast<char>(y * 100);
            rgbPixels += static_cast<char>(200);
            greyPixels += static_cast<char>(x * 60);
        }
    dir.write("rgb.png", rgb(5, 3, rgbPixels));
    dir.write("grey-picture.png", grey(5, 3, greyPixels));
    const int32_t rgbTexture = store->loadTexture("rgb.png");
    const int32_t greyTexture = store->loadTexture("grey-picture.png");
    ASSERT_GE(rgbTexture, 0);
    ASSERT_GE(greyTexture, 0);
    EXPECT_EQ(store->surface(store->loadSurface("grey-picture.png"))->bytesPerPixel(), 1);

    GlFixture::clearAll(0xFF000000);
    fixture->renderer()->bindGameScreen();
    drawSprite(rgbTexture, {0, 0, 5, 3}, 0, 0);
    drawSprite(greyTexture, {0, 0, 5, 3}, 0, 10);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(GlFixture::gameScreenPixel(x, y),
                      (Rgba{static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 100), 200, 255}))
                << x << "," << y;
            const auto g = static_cast<uint8_t>(x * 60);
            EXPECT_EQ(GlFixture::gameScreenPixel(x, 10 + y), (Rgba{g, g, g, 255})) << x << "," << y;
        }
}

TEST(ImageDecoding, APngChunkLongerThanTheFileIsRefusedBeforeDecoding) {
    std::ifstream in(std::string(VOV_SOURCE_DIR) + "/data/Assets/hud/mousenormal.png", std::ios::binary);
    std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto* bytes = reinterpret_cast<const uint8_t*>(png.data());
    ASSERT_TRUE(ImageData::pngChunksFit(bytes, png.size()));
    ASSERT_TRUE(ImageData::decode(bytes, png.size()));
    const size_t idat = png.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
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
    const std::string jpeg = encodeJpeg(16, 8, std::string(16 * 8 * 3, '\x50'));
    ASSERT_TRUE(ImageData::jpegTablesFit(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size()));
    ASSERT_TRUE(ImageData::decode(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size()));
    // Start of image, then a DC table 0 whose 16 counts say 150 + 150 codes, then the codes.
    std::string hostile("\xFF\xD8\xFF\xC4\x01\x3F\x00", 7);
    hostile += std::string(14, '\0') + "\x96\x96" + std::string(300, '\x01');
    const auto* bytes = reinterpret_cast<const uint8_t*>(hostile.data());
    EXPECT_FALSE(ImageData::jpegTablesFit(bytes, hostile.size()));
    EXPECT_FALSE(ImageData::decode(bytes, hostile.size()));
    // Fill bytes before the start marker, and counts that run past the end (read as zeros).
    const std::string filled = "\xFF\xFF" + hostile,
                      cut = hostile.substr(0, 7) + std::string(13, '\0') + "\x96\x96";
    EXPECT_FALSE(ImageData::jpegTablesFit(reinterpret_cast<const uint8_t*>(filled.data()), filled.size()));
    EXPECT_FALSE(ImageData::jpegTablesFit(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()));
    // After a scan as well: a table between two scans (progressive pictures have them there).
    const size_t scan = jpeg.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    const std::string late = jpeg.substr(0, jpeg.size() - 2) + hostile.substr(2) + "\xFF\xD9";
    EXPECT_FALSE(ImageData::jpegTablesFit(reinterpret_cast<const uint8_t*>(late.data()), late.size()));
    ScratchDir dir("jpeg");
    dir.write("bad.jpg", hostile);
    EXPECT_FALSE(ImageData::decodeFile((dir.path() / "bad.jpg").c_str()));
    // Asking only for the size (as the level list does for every terrain) reads the same tables.
    int w = -1, h = -1;
    EXPECT_FALSE(ImageData::readSize(bytes, hostile.size(), &w, &h));
    EXPECT_FALSE(ImageData::readFileSize((dir.path() / "bad.jpg").c_str(), &w, &h));
    EXPECT_EQ(w, 0);
    dir.write("good.jpg", jpeg);
    EXPECT_TRUE(ImageData::readFileSize((dir.path() / "good.jpg").c_str(), &w, &h));
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 8);
}
