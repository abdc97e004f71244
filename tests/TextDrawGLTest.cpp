// Text drawn for real: a GL context from the offscreen driver, the fonts of the pack.
#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <glad/gl.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "GlFixture.h"
#include "assets/AssetPack.h"
#include "core/GameWide.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/Font.h"
#include "text/GameTexts.h"
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
        const auto image = ResourceStore::readImage(std::string("Assets/font/fonts/") + kPictures[number]);
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

// One line per language in fonts 0 and 1, and one line in every band, saved for a look by eye.
TEST_F(TextGL, ScreenshotOfEveryLanguageAndBand) {
    const int scale = 2, w = 640, h = 400;
    int32_t big = store_->textureIndex("TextShotBig");
    if (big < 0) big = store_->createRenderTexture("TextShotBig", w, h, true, false);
    ASSERT_GE(big, 0);
    Renderer::instance()->bindTarget(Renderer::TextureTarget, big);
    glClearColor(0.25f, 0.19f, 0.21f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const char* const keys[] = {"OPT_START", "LEVELTEXT_WIN", "PAUSE_GOMAIN"};
    int16_t y = 4;
    for (uint32_t language = 0; language < GameTexts::kLanguageCount; ++language) {
        texts_->changeLanguage(language);
        TextLine a(0, 0), b(1, 0);
        a.setKey(4, y, keys[language % 3], TextLine::Left);
        a.appendString("");
        a.moveTo(4, y);
        b.setKey(w / 2 + 4, y, "LOADED_LEVELS", TextLine::Left);
        b.replaceVariable("42");
        a.drawInBand(1, 1, 1);
        a.draw(false);
        b.drawInBand(1, 1, 1);
        b.draw(false);
        y = static_cast<int16_t>(y + 20);
    }
    for (int font = 0; font < 2; ++font)
        for (uint8_t band = 0; band < texts_->font(font)->colourCount; ++band) {
            TextLine line(static_cast<uint16_t>(font), band);
            line.setString(static_cast<int16_t>(4 + font * w / 2), y,
                           "Band " + std::to_string(band) + ": Vov 0-9 %:/", TextLine::Left);
            line.draw(false);
            y = static_cast<int16_t>(y + 16);
            if (band == texts_->font(font)->colourCount - 1 && font == 0)
                y = static_cast<int16_t>(y - 16 * (band + 1));
        }
    TextLine backdrop(0, 0);
    backdrop.setString(40, static_cast<int16_t>(h - 40), "Backdrop under font 0", TextLine::Left);
    backdrop.draw(true);
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // GL rows run bottom-up; check that the picture is not empty before saving.
    std::map<uint32_t, int> colours;
    for (size_t i = 0; i < pixels.size(); i += 4)
        ++colours[pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]];
    EXPECT_GE(colours.size(), 6u);
    const char* dir = std::getenv("VOV_SCREENSHOT_DIR");
    if (!dir) return;
    // Rows come bottom-up from GL; the picture is enlarged so a person can read it.
    std::vector<uint8_t> scaled(static_cast<size_t>(w * scale) * h * scale * 4);
    for (int yy = 0; yy < h * scale; ++yy)
        for (int xx = 0; xx < w * scale; ++xx)
            std::copy_n(&pixels[(static_cast<size_t>(h - 1 - yy / scale) * w + xx / scale) * 4], 4,
                        &scaled[(static_cast<size_t>(yy) * w * scale + xx) * 4]);
    EXPECT_TRUE(savePng(std::string(dir) + "/texts.png", w * scale, h * scale, scaled));
}
