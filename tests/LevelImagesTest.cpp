#include <array>
#include <cstdlib>
#include <cstring>
#include <glad/gl.h>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

#include "GlFixture.h"
#include "TestSupport.h"
#include "assets/PackWriter.h"
#include "base/GameWide.h"
#include "persist/ProgressRecord.h"

// The surface tests run without a GL context; the rectangle upload and the level's images need one.
TEST(Surfaces, PixelsAreOneToFourBytesInMemoryOrderAndNothingOutside) {
    for (int channels = 1; channels <= 4; ++channels) {
        auto bytes = std::make_unique<uint8_t[]>(6 * static_cast<size_t>(channels));
        for (int i = 0; i < 3 * 2 * channels; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(0x10 + i);
        ImageData image(3, 2, channels, std::move(bytes));
        // Pixel (1, 1) starts at byte 4 x channels.
        const uint32_t at11[] = {0x14u, 0x1918u, 0x1E1D1Cu, 0x23222120u};
        const uint32_t written[] = {0xD4u, 0xC3D4u, 0xB2C3D4u, 0xA1B2C3D4u};
        image.setPixel(2, 0, 0xA1B2C3D4u);
        image.setPixel(5, 5, 1); // outside: nothing happens
        EXPECT_EQ(std::tuple(image.pixel(1, 1), image.pixel(2, 0), image.pixel(3, 0), image.pixel(-1, 0)),
                  std::tuple(at11[channels - 1], written[channels - 1], 0u, 0u))
            << channels;
    }
    SurfaceStore store;
    store.putPixel(-1, 0, 0, 5);
    const int32_t s = store.createBlank("pixels", 2, 2);
    store.putPixel(s, 1, 1, 0x11223344u);
    EXPECT_EQ(std::tuple(store.getPixel(-1, 0, 0), store.name(-1), store.name(s), store.get(s)->pixels()[12]),
              std::tuple(0u, "NULL", "pixels", 0x44));
    EXPECT_EQ(store.createBlank("empty", 0, 5), -1);
    // A freed surface slot is not offered again at once; deleting what is not loaded says so.
    store.remove("pixels");
    EXPECT_EQ(store.get(s), nullptr);
    EXPECT_GT(store.createBlank("next", 1, 1), s);
    testing::internal::CaptureStdout();
    store.remove("never.png");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "The file never.png is not loaded yet. Cannot delete it.\n");
}

// Its scan names a Huffman table it never defines: what the heap held before must not show.
TEST(Surfaces, ADamagedJpegDecodesTheSameWhateverTheHeapHeldBefore) {
    const std::string jpeg = readWhole(VOV_SOURCE_DIR "/tests/data/undefined-huffman-table.jpg");
    std::set<std::string> outcomes;
    for (const int fill : {0x00, 0xFF, 0x5A}) {
        void* leftover = std::memset(std::malloc(100000), fill, 100000);
        asm volatile("" : : "r"(leftover) : "memory"); // or the filling is optimised away
        std::free(leftover);
        const auto image = ImageData::decode(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size());
        const auto* bytes = image ? reinterpret_cast<const char*>(image->pixels()) : "";
        outcomes.emplace(bytes, image ? static_cast<size_t>(image->pitch()) * image->height() : 0);
    }
    EXPECT_EQ(outcomes.size(), 1u);
}

TEST(Surfaces, LooseFileFirstThenThePackAndFewerChannelsBecomeRgba) {
    InScratchFolder folder("surfaces");
    const ScratchDir& dir = folder.dir();
    PackWriter writer;
    const std::string red = encodePng(1, 1, 3, std::string("\xff\x00\x00", 3));
    writer.add("pic.png", {red.begin(), red.end()});
    writer.add("packed.png", {red.begin(), red.end()});
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    AssetPack* before = GameWide<AssetPack>::get();
    GameWide<AssetPack>::set(&pack);
    dir.write("pic.png", encodePng(1, 1, 3, std::string("\x00\xff\x00", 3)));
    dir.write("packed.png", "not a picture"); // a loose file that does not decode: the pack's
    dir.write("grey.png", encodePng(2, 1, 1, std::string("\x00\x80", 2)));
    dir.write("greyalpha.png", encodePng(1, 1, 2, std::string("\x40\x20", 2)));
    SurfaceStore store;
    const int32_t loose = store.getOrLoad("pic.png"), packed = store.load("packed.png");
    EXPECT_EQ(store.getOrLoad("pic.png"), loose);
    const int32_t grey = store.load("grey.png"), greyAlpha = store.load("greyalpha.png");
    EXPECT_EQ(store.get(grey)->bytesPerPixel(), 1);
    for (int32_t s : {loose, packed, grey, greyAlpha})
        store.convertToRgba(s);
    EXPECT_EQ(std::tuple(store.getPixel(loose, 0, 0), store.getPixel(packed, 0, 0),
                         store.getPixel(grey, 1, 0), store.getPixel(greyAlpha, 0, 0),
                         store.get(grey)->bytesPerPixel()),
              std::tuple(0xFF00FF00u, 0xFF0000FFu, 0xFF808080u, 0x20404040u, 4));
    // The size from the header alone, from the loose file or the pack; nothing for what is no picture.
    int w = -1, h = -1, w2 = -1, h2 = -1;
    EXPECT_TRUE(SurfaceStore::pictureSize("grey.png", &w, &h) &&
                SurfaceStore::pictureSize("packed.png", &w2, &h2));
    EXPECT_EQ((std::array{w, h, w2, h2}), (std::array{2, 1, 1, 1}));
    dir.write("text.png", "not a picture");
    EXPECT_TRUE(!SurfaceStore::pictureSize("text.png", &w, &h) && w + h == 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(store.load("none.png") == -1 && !SurfaceStore::pictureSize("none.png", &w, &h));
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
    GameWide<AssetPack>::set(before);
}

TEST(LevelImages, RectangleUploadChangesOnlyThatRectangle) {
    ASSERT_TRUE(GlFixture::get().ready());
    ResourceStore* store = GlFixture::get().store();
    SurfaceStore& surfaces = store->surfaces();
    auto textureBytes = [store](int32_t texture, int w, int h) {
        std::vector<uint8_t> bytes(static_cast<size_t>(w) * h * 4);
        glBindTexture(GL_TEXTURE_2D, store->texture(texture)->glTexture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return bytes;
    };
    const int32_t s = surfaces.createBlank("rect-upload", 7, 5);
    const int32_t t = store->createRenderTexture("rect-upload", 7, 5, false, false);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            surfaces.putPixel(s, x, y, 0xFF000000u | static_cast<uint32_t>(y * 7 + x + 1));
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
    surfaces.remove("rect-upload");
}

TEST(LevelImages, ChoosingALevelTwiceStartsFromCleanImagesOfTheTerrainsSize) {
    ASSERT_TRUE(GlFixture::get().ready());
    ResourceStore* store = GlFixture::get().store();
    const SurfaceStore& surfaces = store->surfaces();
    InScratchFolder folder("images");
    // An RGB terrain of 5 x 3 whose list line claims nothing of its size; the stamp is grey.
    folder.dir().write("Countries/land.png", encodePng(5, 3, 3, std::string(45, '\x50')));
    folder.dir().write("Countries/stamp.png", encodePng(2, 2, 1, std::string(4, '\xFF')));
    folder.dir().write("Countries/countries.txt", "Land,land.png,stamp.png,1,1,4,2,1,50,50,3,100\n"
                                                  "Lost,none.png,stamp.png,1,1,4,2,1,50,50,3,100\n");
    ProgressRecord progress;
    progress.terrainSurface = 77; // whatever was there before the first read
    testing::internal::CaptureStderr();
    progress.loadLevelList();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(progress.levels.size(), 2u);
    // The terrain's size came from its header alone; the grey stamp is made RGBA.
    EXPECT_EQ(std::tuple(progress.terrainSurface, progress.levels[0].width,
                         surfaces.find("Countries/land.png"),
                         surfaces.get(progress.levels[0].stampSurface)->bytesPerPixel()),
              std::tuple(-1, 5, -1, 4));
    progress.chooseLevel(0, 0);
    const int32_t terrain = progress.terrainSurface;
    EXPECT_EQ(std::tuple(surfaces.getPixel(terrain, 4, 2), surfaces.get(progress.paintSurface)->width(),
                         store->texture(progress.paintTexture)->height, progress.creaturesTotal),
              std::tuple(0xFF505050u, 5, 3, 3));
    store->surfaces().putPixel(progress.paintSurface, 1, 1, 0xFFFFFFFFu);
    // A second read of the list keeps the images of the level being played.
    progress.loadLevelList();
    EXPECT_EQ(std::tuple(progress.levels.size(), progress.terrainSurface), std::tuple(2u, terrain));
    progress.chooseLevel(0, 0);
    EXPECT_EQ(std::tuple(surfaces.getPixel(progress.paintSurface, 1, 1),
                         store->textureIndex("Countries/land.pngColor")),
              std::tuple(0u, progress.paintTexture));
    // A level whose terrain is missing: no images at all, the old ones released.
    progress.chooseLevel(1, 0);
    EXPECT_EQ(std::tuple(progress.terrainSurface, progress.paintTexture, surfaces.find("Countries/land.png"),
                         store->textureIndex("Countries/land.pngColor")),
              std::tuple(-1, -1, -1, -1));
}
