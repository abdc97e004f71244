// Text drawn for real: a GL context from the offscreen driver, the fonts of the pack.
#include <SDL.h>
#include <algorithm>
#include <glad/gl.h>
#include <gtest/gtest.h>
#include <memory>

#include "GlFixture.h"
#include "assets/AssetPack.h"
#include "base/GameWide.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/Font.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"
#include "text/TextLine.h"

namespace {
constexpr int kShotW = 320, kShotH = 200;

// The game's own start-up steps that text needs: pack, store, window and context, texts and fonts.
class TextGL : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GlFixture::get().ready());
        store_ = GlFixture::get().store();
        texts_ = std::make_unique<GameTexts>();
        GameWide<GameTexts>::set(texts_.get());
        texts_->loadLanguage(0, "Assets/");
        ASSERT_GE(texts_->fontCount(), 6u);
        target_ = store_->textureIndex("TextShot");
        if (target_ < 0) target_ = store_->createRenderTexture("TextShot", kShotW, kShotH, true, false);
        ASSERT_GE(target_, 0);
    }
    void TearDown() override {
        GameWide<GameTexts>::set(nullptr);
        texts_.reset();
    }

    void clear() {
        Renderer::instance()->bindTarget(Renderer::TextureTarget, target_);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    std::vector<uint8_t> read() {
        std::vector<uint8_t> pixels(static_cast<size_t>(kShotW) * kShotH * 4);
        glReadPixels(0, 0, kShotW, kShotH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    // The one colour of band `band` of font `number`, as its first picture holds it.
    uint32_t bandColour(int number, int band) {
        static const char* const kPictures[] = {"sans_bold_12_0.png", "sans_12_0.png"};
        const auto image = SurfaceStore::readImage(std::string("Assets/font/fonts/") + kPictures[number]);
        const int size = texts_->font(number)->size;
        for (int yy = 1 + band * size; yy < 1 + (band + 1) * size; ++yy)
            for (int xx = 0; xx < image->width(); ++xx) {
                const uint8_t* p = image->pixels() + (yy * image->width() + xx) * image->bytesPerPixel();
                if (p[3] == 255) return p[0] << 16 | p[1] << 8 | p[2];
            }
        return 0xFFFFFFFF;
    }

    ResourceStore* store_ = nullptr;
    std::unique_ptr<GameTexts> texts_;
    int32_t target_ = -1;
};

struct Seen {
    int count = 0, minX = 1 << 30, maxX = -1;
};
Seen find(const std::vector<uint8_t>& pixels, uint32_t rgb) {
    Seen seen;
    for (int i = 0; i < kShotW * kShotH; ++i) {
        const uint8_t* p = &pixels[static_cast<size_t>(i) * 4];
        if ((static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]) != rgb) continue;
        ++seen.count;
        seen.minX = std::min(seen.minX, i % kShotW);
        seen.maxX = std::max(seen.maxX, i % kShotW);
    }
    return seen;
}
} // namespace

TEST_F(TextGL, TwoFontsInTwoBandsDrawTheirBandColoursWithinTheLine) {
    for (int number = 0; number < 2; ++number) {
        const uint32_t normal = bandColour(number, 0), warning = bandColour(number, 2);
        ASSERT_NE(normal, warning);
        for (int band : {0, 2}) {
            clear();
            TextLine line(static_cast<uint16_t>(number), static_cast<uint8_t>(band));
            line.setString(40, 50, "Vov 0123", TextLine::Left);
            ASSERT_GT(line.width, 20);
            line.draw(false);
            const auto pixels = read();
            const Seen own = find(pixels, band == 0 ? normal : warning);
            const Seen other = find(pixels, band == 0 ? warning : normal);
            EXPECT_GT(own.count, 30) << "font " << number << " band " << band;
            EXPECT_EQ(other.count, 0) << "font " << number << " band " << band;
            EXPECT_GE(own.minX, 40);
            EXPECT_LT(own.maxX, 40 + line.width);
        }
        // "$2" inside a band-0 line switches to the warning colour for what follows.
        clear();
        TextLine mixed(static_cast<uint16_t>(number), 0);
        mixed.setString(10, 10, "ABC$2DEF", TextLine::Left);
        mixed.draw(false);
        const auto pixels = read();
        const Seen a = find(pixels, normal), b = find(pixels, warning);
        EXPECT_GT(a.count, 10);
        EXPECT_GT(b.count, 10);
        EXPECT_LT(a.maxX, b.minX);
    }
}

// Every language's text draws in both fonts, and a box's pages after the first draw too.
TEST_F(TextGL, EveryLanguageDrawsAndABoxDrawsItsLaterPages) {
    for (uint32_t language = 0; language < GameTexts::kLanguageCount; ++language) {
        texts_->changeLanguage(language);
        for (int number = 0; number < 2; ++number) {
            clear();
            TextLine line(static_cast<uint16_t>(number), 0);
            line.setKey(4, 4, "LEVELTEXT_WIN", TextLine::Left);
            line.draw(false);
            EXPECT_GT(find(read(), bandColour(number, 0)).count, 20) << "language " << language;
        }
    }
    texts_->changeLanguage(0);
    // Six lines, four to a page: the second page holds lines 5 and 6.
    TextBox box(0, 0);
    box.setRawText("Vov|Vov|Vov|Vov|Aruz|Aruz", 40, 50);
    ASSERT_EQ(box.lineCount, 6);
    box.pageStart = 4;
    clear();
    box.draw();
    const Seen page = find(read(), bandColour(0, 0));
    EXPECT_GT(page.count, 20);
    EXPECT_GE(page.minX, 40);
    clear();
    box.drawInBand(2, 1, 1);
    EXPECT_GT(find(read(), bandColour(0, 2)).count, 20);
}
