// Text drawn for real: a GL context from the offscreen driver, the fonts of the pack.
#include <algorithm>
#include <functional>
#include <glad/gl.h>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "base/GameWide.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/Font.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"
#include "text/TextLine.h"

namespace {
constexpr int kShotW = 320, kShotH = 200;

// Where one colour shows in a shot: how often, and its outermost columns and rows.
struct Seen {
    int count = 0, minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
};

class TextGL : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GlFixture::get().ready());
        ResourceStore* store = GlFixture::get().store();
        GameWide<GameTexts>::set(&texts_);
        texts_.loadLanguage(0, "Assets/");
        ASSERT_GE(texts_.fontCount(), 6u);
        target_ = store->textureIndex("TextShot");
        if (target_ < 0) target_ = store->createRenderTexture("TextShot", kShotW, kShotH, true, false);
        ASSERT_GE(target_, 0);
    }
    void TearDown() override { GameWide<GameTexts>::set(nullptr); }

    // Draws into a cleared shot and reports where each colour of `colours` shows.
    std::vector<Seen> shot(const std::function<void()>& draw, const std::vector<uint32_t>& colours) {
        Renderer::instance()->bindTarget(Renderer::TextureTarget, target_);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        std::vector<uint8_t> pixels(static_cast<size_t>(kShotW) * kShotH * 4);
        glReadPixels(0, 0, kShotW, kShotH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        std::vector<Seen> seen(colours.size());
        for (int i = 0; i < kShotW * kShotH; ++i) {
            const uint8_t* p = &pixels[static_cast<size_t>(i) * 4];
            const auto it =
                std::find(colours.begin(), colours.end(), uint32_t(p[0]) << 16 | p[1] << 8 | p[2]);
            if (it == colours.end()) continue;
            Seen& s = seen[it - colours.begin()];
            s = {s.count + 1, std::min(s.minX, i % kShotW), std::max(s.maxX, i % kShotW),
                 std::min(s.minY, i / kShotW), std::max(s.maxY, i / kShotW)};
        }
        return seen;
    }
    // The one colour of band `band` of font `number`, as its first picture holds it.
    uint32_t bandColour(int number, int band) {
        static const char* const kPictures[] = {"sans_bold_12_0.png", "sans_12_0.png"};
        const auto image = SurfaceStore::readImage(std::string("Assets/font/fonts/") + kPictures[number]);
        const int size = texts_.font(number)->size;
        for (int y = 1 + band * size; y < 1 + (band + 1) * size; ++y)
            for (int x = 0; x < image->width(); ++x)
                if (const uint32_t p = image->pixel(x, y); p >> 24 == 255)
                    return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
        return 0xFFFFFFFF;
    }

    GameTexts texts_;
    int32_t target_ = -1;
};
} // namespace

TEST_F(TextGL, TwoFontsDrawTheirBandColoursWithinTheLine) {
    for (uint16_t number = 0; number < 2; ++number) {
        const uint32_t normal = bandColour(number, 0), warning = bandColour(number, 2);
        ASSERT_NE(normal, warning);
        for (uint8_t band : {0, 2}) {
            TextLine line(number, band);
            line.setString(40, 50, "Vov 0123", TextLine::Left);
            const auto seen = shot([&] { line.draw(false); }, {normal, warning});
            const Seen& own = seen[band ? 1 : 0];
            EXPECT_TRUE(own.count > 30 && seen[band ? 0 : 1].count == 0 && own.minX >= 40 &&
                        own.maxX < 40 + line.width)
                << "font " << number << " band " << int(band);
        }
        // "$2" inside a band-0 line switches to the warning colour for what follows.
        TextLine mixed(number, 0);
        mixed.setString(10, 10, "ABC$2DEF", TextLine::Left);
        const auto seen = shot([&] { mixed.draw(false); }, {normal, warning});
        EXPECT_TRUE(seen[0].count > 10 && seen[1].count > 10);
        EXPECT_LT(seen[0].maxX, seen[1].minX);
    }
}

// A box draws the page it is on: the second page holds lines 5 and 6, in the box's band.
TEST_F(TextGL, ABoxDrawsItsLaterPages) {
    TextBox box(0, 0);
    box.setRawText("Vov|Vov|Vov|Vov|Aruz|Aruz", 40, 50);
    ASSERT_EQ(box.lineCount, 6);
    const int size = texts_.font(0)->size;
    const Seen first = shot([&] { box.draw(); }, {bandColour(0, 0)})[0];
    EXPECT_GT(first.maxY - first.minY, 3 * size);
    box.pageStart = 4;
    const Seen second = shot([&] { box.draw(); }, {bandColour(0, 0)})[0];
    EXPECT_TRUE(second.count > 20 && second.minX >= 40 && second.maxY - second.minY < 2 * size);
    EXPECT_GT(shot([&] { box.drawInBand(2, 1, 1); }, {bandColour(0, 2)})[0].count, 20);
}
