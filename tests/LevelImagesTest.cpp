#include <glad/gl.h>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "TestSupport.h"
#include "assets/FileStream.h"
#include "base/GameWide.h"
#include "persist/ProgressRecord.h"

namespace {
std::vector<uint8_t> textureBytes(int32_t texture, int w, int h) {
    std::vector<uint8_t> bytes(static_cast<size_t>(w) * h * 4);
    glBindTexture(GL_TEXTURE_2D, GlFixture::get().store()->texture(texture)->glTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

class InFolder {
  public:
    explicit InFolder(const ScratchDir& dir) : here_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir.path());
    }
    ~InFolder() {
        std::filesystem::current_path(here_);
        FileStream::forgetSavedataForTests();
    }

  private:
    std::filesystem::path here_;
};
} // namespace

TEST(SurfacePixels, OneToFourBytesInMemoryOrderAndNothingOutside) {
    ASSERT_TRUE(GlFixture::get().ready());
    for (int channels = 1; channels <= 4; ++channels) {
        auto bytes = std::make_unique<uint8_t[]>(static_cast<size_t>(3 * 2 * channels));
        for (int i = 0; i < 3 * 2 * channels; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(0x10 + i);
        ImageData image(3, 2, channels, std::move(bytes));
        // Pixel (1, 1) starts at byte (1 * 3 + 1) * channels.
        const uint32_t first = 0x10u + 4u * static_cast<uint32_t>(channels);
        uint32_t expected = 0;
        for (int i = channels - 1; i >= 0; --i)
            expected = expected << 8 | (first + static_cast<uint32_t>(i));
        EXPECT_EQ(image.pixel(1, 1), expected) << channels;
        EXPECT_EQ(image.pixel(3, 0), 0u);
        EXPECT_EQ(image.pixel(-1, 0), 0u);
        image.setPixel(2, 0, 0xA1B2C3D4u);
        EXPECT_EQ(image.pixel(2, 0),
                  0xA1B2C3D4u & (channels == 4 ? 0xFFFFFFFFu : (1u << (8 * channels)) - 1));
        uint32_t second = 0; // pixel (1, 0) starts at byte `channels`
        for (int i = channels - 1; i >= 0; --i)
            second = second << 8 | (0x10u + static_cast<uint32_t>(channels + i));
        EXPECT_EQ(image.pixel(1, 0), second);
        image.setPixel(5, 5, 1); // outside: nothing happens
    }
    ResourceStore* store = GlFixture::get().store();
    EXPECT_EQ(store->getPixel(-1, 0, 0), 0u);
    store->putPixel(-1, 0, 0, 5);
    EXPECT_EQ(store->surfaceName(-1), "NULL");
    const int32_t s = store->createBlankSurface("pixels-test", 2, 2);
    EXPECT_EQ(store->surfaceName(s), "pixels-test");
    store->putPixel(s, 1, 1, 0x11223344u);
    EXPECT_EQ(store->getPixel(s, 1, 1), 0x11223344u);
    EXPECT_EQ(store->surface(s)->pixels()[12], 0x44);
    store->deleteSurface("pixels-test");
}

TEST(SurfacePixels, GreyAndRgbPicturesBecomeTheirFourChannelTwins) {
    ASSERT_TRUE(GlFixture::get().ready());
    ResourceStore* store = GlFixture::get().store();
    ScratchDir dir("rgba");
    dir.write("grey.png", encodePng(2, 1, 1, std::string("\x00\x80", 2)));
    dir.write("greyalpha.png", encodePng(1, 1, 2, std::string("\x40\x20", 2)));
    dir.write("rgb.png", encodePng(1, 1, 3, "\x01\x02\x03"));
    const int32_t grey = store->loadSurface((dir.path() / "grey.png").string());
    const int32_t greyAlpha = store->loadSurface((dir.path() / "greyalpha.png").string());
    const int32_t rgb = store->loadSurface((dir.path() / "rgb.png").string());
    for (int32_t s : {grey, greyAlpha, rgb})
        store->convertSurfaceToRgba(s);
    EXPECT_EQ(store->surface(grey)->bytesPerPixel(), 4);
    EXPECT_EQ(store->getPixel(grey, 0, 0), 0xFF000000u);
    EXPECT_EQ(store->getPixel(grey, 1, 0), 0xFF808080u);
    EXPECT_EQ(store->getPixel(greyAlpha, 0, 0), 0x20404040u);
    EXPECT_EQ(store->getPixel(rgb, 0, 0), 0xFF030201u);
    // The size from the header alone: loose file, then the pack; nothing for what is not a picture.
    int w = -1, h = -1;
    EXPECT_TRUE(ResourceStore::pictureSize((dir.path() / "grey.png").string(), &w, &h));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 1);
    EXPECT_TRUE(ResourceStore::pictureSize("Assets/graphics/tumblekin.png", &w, &h));
    EXPECT_GE(w, 640);
    EXPECT_GE(h, 100);
    dir.write("text.png", "not a picture");
    EXPECT_FALSE(ResourceStore::pictureSize((dir.path() / "text.png").string(), &w, &h));
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_FALSE(ResourceStore::pictureSize("Countries/nowhere.png", &w, &h));
}

TEST(SurfacePixels, RectangleUploadChangesOnlyThatRectangle) {
    ASSERT_TRUE(GlFixture::get().ready());
    ResourceStore* store = GlFixture::get().store();
    const int32_t s = store->createBlankSurface("rect-upload", 7, 5);
    const int32_t t = store->createRenderTexture("rect-upload", 7, 5, false, false);
    store->uploadSurface(s, t);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            store->putPixel(s, x, y, 0xFF000000u | static_cast<uint32_t>(y * 7 + x + 1));
    store->uploadSurfaceRect(s, t, 2, 1, 3, 2);
    const std::vector<uint8_t> bytes = textureBytes(t, 7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(bytes[static_cast<size_t>(y * 7 + x) * 4], inside ? y * 7 + x + 1 : 0) << x << "," << y;
        }
    // A rectangle reaching past the surface is cut to it; sizes that differ change nothing.
    store->uploadSurfaceRect(s, t, 5, 3, 10, 10);
    EXPECT_EQ(textureBytes(t, 7, 5)[static_cast<size_t>(4 * 7 + 6) * 4], 35);
    const int32_t other = store->createRenderTexture("rect-other", 3, 3, false, false);
    store->uploadSurfaceRect(s, other, 0, 0, 3, 3);
    EXPECT_EQ(textureBytes(other, 3, 3)[0], 0);
    store->deleteTexture("rect-upload");
    store->deleteTexture("rect-other");
    store->deleteSurface("rect-upload");
}

TEST(LevelImages, ChoosingALevelTwiceStartsFromCleanImagesOfTheTerrainsSize) {
    ASSERT_TRUE(GlFixture::get().ready());
    ResourceStore* store = GlFixture::get().store();
    ScratchDir dir("images");
    InFolder folder(dir);
    // An RGB terrain of 5 x 3 whose list line claims nothing of its size; the stamp is grey.
    dir.write("Countries/land.png", encodePng(5, 3, 3, std::string(45, '\x50')));
    dir.write("Countries/stamp.png", encodePng(2, 2, 1, std::string(4, '\xFF')));
    dir.write("Countries/countries.txt", "Land,land.png,stamp.png,1,1,4,2,1,50,50,3,100\n"
                                         "Lost,none.png,stamp.png,1,1,4,2,1,50,50,3,100\n");
    ProgressRecord progress;
    progress.terrainSurface = 77; // whatever was there before the first read
    testing::internal::CaptureStderr();
    progress.loadLevelList();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(progress.levels.size(), 2u);
    EXPECT_EQ(progress.terrainSurface, -1);
    EXPECT_EQ(progress.levels[0].width, 5);
    EXPECT_EQ(store->surface(progress.levels[0].stampSurface)->bytesPerPixel(), 4);
    EXPECT_EQ(store->surfaceIndex("Countries/land.png"), -1); // its size came from the header alone
    progress.chooseLevel(0, 0);
    const int32_t terrain = progress.terrainSurface;
    ASSERT_NE(terrain, -1);
    EXPECT_EQ(store->surface(terrain)->bytesPerPixel(), 4);
    EXPECT_EQ(store->getPixel(terrain, 4, 2), 0xFF505050u);
    EXPECT_EQ(store->surface(progress.paintSurface)->width(), 5);
    EXPECT_EQ(store->texture(progress.paintTexture)->height, 3);
    EXPECT_EQ(progress.creaturesTotal, 3);
    store->putPixel(progress.paintSurface, 1, 1, 0xFFFFFFFFu);
    // A second read of the list keeps the images of the level being played.
    progress.loadLevelList();
    EXPECT_EQ(progress.levels.size(), 2u);
    EXPECT_EQ(progress.terrainSurface, terrain);
    progress.chooseLevel(0, 0);
    EXPECT_EQ(store->getPixel(progress.paintSurface, 1, 1), 0u);
    EXPECT_EQ(store->textureIndex("Countries/land.pngColor"), progress.paintTexture);
    // A level whose terrain is missing: no images at all, the old ones released.
    progress.chooseLevel(1, 0);
    EXPECT_EQ(progress.terrainSurface, -1);
    EXPECT_EQ(progress.paintTexture, -1);
    EXPECT_EQ(store->surfaceIndex("Countries/land.png"), -1);
    EXPECT_EQ(store->textureIndex("Countries/land.pngColor"), -1);
}
