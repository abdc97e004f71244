#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "base/GameWide.h"
#include "text/Font.h"
#include "text/FontLoader.h"
#include "text/GameTexts.h"
#include "text/TextLine.h"

namespace {
// Glyphs " " (width 2), "A" (3), "B" (2), "1" (2); size 3, two bands.
const std::vector<int> kMarkers = {0, 2, 5, 7, 9};

std::unique_ptr<Font> parseFont(MemoryPictures& pictures, const std::string& description, uint32_t size = 3,
                                uint32_t gap = 1) {
    return FontLoader::parseDescription(reinterpret_cast<const uint8_t*>(description.data()),
                                        description.size(), "Assets/font/fonts/test.txt", size, gap,
                                        pictures);
}

const uint8_t* atlasPixel(const ImageData& atlas, int x, int y) {
    return atlas.pixels() + (static_cast<size_t>(y) * atlas.width() + x) * 4;
}

// A GameTexts with one loaded font, registered for the TextLines of a test.
class OneFontTexts {
  public:
    explicit OneFontTexts(int bands = 2) {
        pictures.pictures["Assets/font/fonts/pic.png"] = makeFontPicture(kMarkers, 10, 3, bands);
        texts.addFont(parseFont(pictures, "##pic.png\n AB\n1\n"));
        GameWide<GameTexts>::set(&texts);
    }
    ~OneFontTexts() { GameWide<GameTexts>::set(nullptr); }
    MemoryPictures pictures;
    GameTexts texts;
};
} // namespace

TEST(FontLoading, MarkersBandsAndGapsMakeTheAtlasAndGlyphs) {
    MemoryPictures pictures;
    pictures.pictures["Assets/font/fonts/pic.png"] = makeFontPicture(kMarkers, 10, 3, 2);
    const auto font = parseFont(pictures, "##pic.png\n AB\n1\n");
    ASSERT_EQ(pictures.atlases.size(), 1u);
    EXPECT_EQ(pictures.atlasNames[0], "Assets/font/fonts/EXP_pic.png");
    EXPECT_EQ(pictures.released, std::vector<std::string>{"Assets/font/fonts/pic.png"});
    EXPECT_EQ(font->colourCount, 2);
    const ImageData& atlas = *pictures.atlases[0];
    // Width W + 2 x gap x (n - 1) - 1, height (size + 2 x gap) x bands.
    EXPECT_EQ(atlas.width(), 10 + 2 * 4 - 1);
    EXPECT_EQ(atlas.height(), 5 * 2);

    ASSERT_EQ(font->glyphs.size(), 4u);
    const Glyph& a = font->glyphs.at('A');
    EXPECT_EQ(a.srcX, 2u + 3u);
    EXPECT_EQ(a.width, 3u);
    EXPECT_EQ(a.texture, 100);
    EXPECT_EQ(font->glyphs.at('1').srcX, 7u + 7u);
    EXPECT_TRUE(font->hasDigit[1]);
    EXPECT_FALSE(font->hasDigit[2]);

    // Glyph 1 ("A") band 1 lands at (srcX, 1 x 3 + 3); its pixels say glyph 1, band 1.
    const uint8_t* p = atlasPixel(atlas, 5, 6);
    EXPECT_EQ(p[0], 11);
    EXPECT_EQ(p[1], 51);
    EXPECT_EQ(atlasPixel(atlas, 7, 8)[0], 11);
    // The gaps around glyphs and bands stay clear.
    EXPECT_EQ(atlasPixel(atlas, 4, 1)[3], 0);
    EXPECT_EQ(atlasPixel(atlas, 8, 1)[3], 0);
    EXPECT_EQ(atlasPixel(atlas, 5, 0)[3], 0);
    EXPECT_EQ(atlasPixel(atlas, 5, 4)[3], 0);
    EXPECT_EQ(atlasPixel(atlas, 5, 5)[3], 0);
    EXPECT_EQ(atlasPixel(atlas, 5, 1)[0], 11);
    EXPECT_EQ(atlasPixel(atlas, 1, 1)[0], 1);
}

TEST(FontLoading, BadDescriptionsAndPicturesStayInBounds) {
    MemoryPictures pictures;
    pictures.pictures["Assets/font/fonts/pic.png"] = makeFontPicture(kMarkers, 10, 3, 2);
    // More characters than glyphs: the extra ones get none; the first definition of a code wins.
    auto font = parseFont(pictures, "##pic.png\n AAB1XYZ\n");
    EXPECT_EQ(font->glyphs.size(), 3u);
    EXPECT_EQ(font->glyphs.at('A').srcX, 5u);
    EXPECT_EQ(font->glyphs.at('B').srcX, 14u);
    EXPECT_FALSE(font->glyphs.count('1'));

    // A single marker defines no glyph at all.
    pictures.pictures["Assets/font/fonts/one.png"] = makeFontPicture({0}, 6, 3, 2);
    font = parseFont(pictures, "##one.png\nAB\n");
    EXPECT_TRUE(font->glyphs.empty());
    EXPECT_FALSE(font->drawable());

    // Less than one band high: no bands, nothing to draw.
    pictures.pictures["Assets/font/fonts/flat.png"] = makeFontPicture(kMarkers, 10, 3, 0, 2);
    font = parseFont(pictures, "##flat.png\n AB1\n");
    EXPECT_EQ(font->colourCount, 0);
    EXPECT_FALSE(font->drawable());

    // A missing picture, characters before any picture, a size of 0.
    font = parseFont(pictures, "AB\n##missing.png\nAB\n");
    EXPECT_TRUE(font->glyphs.empty());
    font = parseFont(pictures, "##pic.png\n AB1\n", 0);
    EXPECT_FALSE(font->drawable());

    // A second picture restarts numbering; a shorter second picture keeps the first's band count.
    pictures.pictures["Assets/font/fonts/short.png"] = makeFontPicture({0, 4, 6}, 7, 3, 1);
    font = parseFont(pictures, "##pic.png\n AB1\n##short.png\nCD\n");
    EXPECT_EQ(font->colourCount, 2);
    EXPECT_EQ(font->glyphs.at('C').srcX, 1u);
    EXPECT_EQ(font->glyphs.at('D').srcX, 4u + 3u);
    EXPECT_EQ(font->glyphs.at('D').texture, font->atlases.back());
}

TEST(FontLoading, FontListSkipsCommentsEmptyAndShortLines) {
    const std::string list = "# fonts\n\na.txt\t12\nbroken\nb.txt\t9x\tmore\n";
    const auto entries =
        FontLoader::parseFontList(reinterpret_cast<const uint8_t*>(list.data()), list.size(), "Assets/font/");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "Assets/font/a.txt");
    EXPECT_EQ(entries[0].size, 12u);
    EXPECT_EQ(entries[1].size, 9u);
    EXPECT_EQ(FontLoader::atlasName("pic.png"), "EXP_pic.png");
    EXPECT_EQ(FontLoader::atlasName("a\\b/c.png"), "a\\b/EXP_c.png");
}

TEST(TextLayout, WidthsAlignmentAndColourEscapes) {
    OneFontTexts fonts;
    TextLine line(0, 0);
    EXPECT_EQ(line.lineHeight, 3);
    line.setString(100, 20, "AB", TextLine::Left);
    EXPECT_EQ(line.width, 5);
    EXPECT_EQ(line.drawX, 100);
    EXPECT_EQ(line.lastGlyph, 1);
    line.setString(100, 20, "AB", TextLine::Right);
    EXPECT_EQ(line.drawX, 95);
    line.setString(100, 20, "AB", TextLine::Centre);
    EXPECT_EQ(line.drawX, 98); // half of 5 rounds down
    line.setString("A B");
    EXPECT_EQ(line.drawX, 100 - 7 / 2);

    // "$1" switches to band 1 (top 6), "$9" is clamped to the last band, "$x" returns to the
    // line's own band and the "x" is drawn (as the lowest-coded glyph, the space).
    line.setString(0, 0, "A$1B$9A$xA$", TextLine::Left);
    ASSERT_EQ(line.items.size(), 5u);
    EXPECT_EQ(line.items[0].source.y, 1);
    EXPECT_EQ(line.items[1].source.y, 6);
    EXPECT_EQ(line.items[2].source.y, 6);
    EXPECT_EQ(line.items[3].source.x, 1); // the "x"
    EXPECT_EQ(line.items[3].source.y, 1);
    EXPECT_EQ(line.items[4].source.y, 1);

    // A line in band 1 keeps band 1 after "$x"; setColour re-lays it out.
    TextLine shadow(0, 7);
    EXPECT_EQ(shadow.colour, 1);
    shadow.setString(0, 0, "A", 0);
    EXPECT_EQ(shadow.items[0].source.y, 6);
    shadow.setColour(0);
    EXPECT_EQ(shadow.items[0].source.y, 1);

    // Digits go through the digit table; UTF-8 the font lacks (and code-0 leads) take the space.
    line.setString(0, 0, "1\xC3\xA9\xC6\x80\xE3\x81", 0);
    ASSERT_EQ(line.items.size(), 4u);
    EXPECT_EQ(line.items[0].source.x, 14);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(line.items[i].source.x, 1) << i;

    // "$:" is band 10 (top 21 gaps + 30 rows down); "$;" is no escape and draws its ";".
    OneFontTexts twelveBands(12);
    TextLine many(0, 0);
    many.setString(0, 0, "A$:A$;A", 0);
    ASSERT_EQ(many.items.size(), 4u);
    EXPECT_EQ(many.items[1].source.y, 51);
    EXPECT_EQ(many.items[2].source.y, 1);
    EXPECT_EQ(many.items[3].source.y, 1);
}

TEST(TextLayout, VariablesAnywhereAndTypingLines) {
    OneFontTexts fonts;
    TextLine line(5, 0); // beyond the list: the last font
    EXPECT_NE(line.font, nullptr);
    line.setString(50, 0, "_VAR_A_VAR__VAR_", TextLine::Right);
    line.replaceVariable("B");
    EXPECT_EQ(line.text, "BABB");
    EXPECT_EQ(line.key, "NONE");
    EXPECT_EQ(line.width, 2 + 3 + 2 + 2);
    EXPECT_EQ(line.drawX, 50 - 9);
    line.setString("x_VAR_");
    line.replaceVariable("_VAR_");
    EXPECT_EQ(line.text, "x_VAR_");

    line.typing = true;
    line.setString("AB_VAR_");
    line.replaceVariable("1");
    EXPECT_EQ(line.lastGlyph, -1);
    EXPECT_EQ(line.typeTimer, 0);
}

TEST(TextLayout, NoFontOrNoLanguageLaysOutNothing) {
    GameTexts empty;
    GameWide<GameTexts>::set(&empty);
    TextLine line(0, 3);
    line.setString(10, 10, "Hello", 0);
    EXPECT_TRUE(line.items.empty());
    EXPECT_EQ(line.width, 0);
    EXPECT_EQ(line.lastGlyph, -1);
    line.draw(true); // must not touch GL or read anything
    // No language loaded: the key is not looked up, but it is kept (with the place) for the
    // language change that re-reads it.
    line.setKey(4, 5, "OPT_START", 0);
    EXPECT_EQ(line.key, "OPT_START");
    EXPECT_EQ(line.x, 4);
    EXPECT_TRUE(line.items.empty());
    GameWide<GameTexts>::set(nullptr);
}
