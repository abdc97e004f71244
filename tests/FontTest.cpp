#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "base/GameWide.h"
#include "text/Font.h"
#include "text/FontLoader.h"
#include "text/GameTexts.h"
#include "text/TextLine.h"

namespace {
// Glyphs " " (width 2), "A" (3), "B" (2), "1" (2); size 3.
const std::vector<int> kMarkers = {0, 2, 5, 7, 9};

std::unique_ptr<Font> parseFont(MemoryPictures& pictures, const std::string& description, uint32_t size = 3) {
    return FontLoader::parseDescription(reinterpret_cast<const uint8_t*>(description.data()),
                                        description.size(), "Assets/font/fonts/test.txt", size, 1, pictures);
}

// A GameTexts with one loaded font of `bands` bands, registered for the TextLines of a test.
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

// Each item's source x or y, in order.
std::vector<int> sources(const TextLine& line, bool y) {
    std::vector<int> out;
    for (const TextDrawItem& item : line.items)
        out.push_back(y ? item.source.y : item.source.x);
    return out;
}
} // namespace

TEST(FontLoading, MarkersBandsAndGapsMakeTheAtlasAndGlyphs) {
    OneFontTexts fonts;
    const Font& font = *fonts.texts.font(0);
    const MemoryPictures& pictures = fonts.pictures;
    ASSERT_EQ(pictures.atlases.size(), 1u);
    EXPECT_EQ(pictures.atlasNames[0] + " " + pictures.released.at(0),
              "Assets/font/fonts/EXP_pic.png Assets/font/fonts/pic.png");
    const ImageData& atlas = *pictures.atlases[0];
    ASSERT_EQ(font.glyphs.size(), 4u);
    // Atlas width W + 2 x gap x (n - 1) - 1, height (size + 2 x gap) x bands; glyph k starts at
    // x(k) + (2k + 1) x gap.
    EXPECT_EQ(std::vector<int>({font.colourCount, atlas.width(), atlas.height(),
                                int(font.glyphs.at('A').srcX), int(font.glyphs.at('A').width),
                                font.glyphs.at('A').texture, int(font.glyphs.at('1').srcX)}),
              std::vector<int>({2, 10 + 2 * 4 - 1, 5 * 2, 2 + 3, 3, 100, 7 + 7}));
    EXPECT_TRUE(font.hasDigit[1] && !font.hasDigit[2]);
    // Glyph 1 ("A") band 1 lands at (srcX, 1 x 3 + 3); its pixels say glyph 1, band 1. The gaps
    // around glyphs and bands stay clear.
    EXPECT_EQ(atlas.pixel(5, 6), 0xFF00330Bu);
    for (const auto& [x, y, red] : {std::tuple{7, 8, 11u}, {5, 1, 11u}, {1, 1, 1u}})
        EXPECT_EQ(atlas.pixel(x, y) & 0xFF, red) << x << "," << y;
    for (const auto& [x, y] : {std::pair{4, 1}, {8, 1}, {5, 0}, {5, 4}, {5, 5}})
        EXPECT_EQ(atlas.pixel(x, y) >> 24, 0u) << x << "," << y;
}

TEST(FontLoading, BadDescriptionsListsAndPicturesStayInBounds) {
    MemoryPictures pictures;
    pictures.pictures["Assets/font/fonts/pic.png"] = makeFontPicture(kMarkers, 10, 3, 2);
    pictures.pictures["Assets/font/fonts/one.png"] = makeFontPicture({0}, 6, 3, 2);
    pictures.pictures["Assets/font/fonts/flat.png"] = makeFontPicture(kMarkers, 10, 3, 0, 2);
    pictures.pictures["Assets/font/fonts/short.png"] = makeFontPicture({0, 4, 6}, 7, 3, 1);
    // More characters than glyphs: the extra ones get none; the first definition of a code wins.
    auto font = parseFont(pictures, "##pic.png\n AAB1XYZ\n");
    EXPECT_EQ(font->glyphs.size(), 3u);
    EXPECT_EQ(font->glyphs.at('A').srcX + font->glyphs.at('B').srcX, 5u + 14u);
    // A single marker defines no glyph; less than one band high gives no band; a missing picture,
    // characters before any picture, or a size of 0 leave nothing to draw.
    for (const auto& [description, size] : {std::pair{"##one.png\nAB\n", 3u},
                                            {"##flat.png\n AB1\n", 3u},
                                            {"AB\n##missing.png\nAB\n", 3u},
                                            {"##pic.png\n AB1\n", 0u}})
        EXPECT_FALSE(parseFont(pictures, description, size)->drawable()) << description;
    // A second picture restarts numbering; a shorter second picture keeps the first's band count.
    font = parseFont(pictures, "##pic.png\n AB1\n##short.png\nCD\n");
    EXPECT_EQ(
        std::vector<int>({font->colourCount, int(font->glyphs.at('C').srcX), int(font->glyphs.at('D').srcX)}),
        std::vector<int>({2, 1, 4 + 3}));
    EXPECT_EQ(font->glyphs.at('D').texture, font->atlases.back());

    const std::string list = "# fonts\n\na.txt\t12\nbroken\nb.txt\t9x\tmore\n";
    const auto entries =
        FontLoader::parseFontList(reinterpret_cast<const uint8_t*>(list.data()), list.size(), "Assets/font/");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description + std::to_string(entries[0].size) + std::to_string(entries[1].size),
              "Assets/font/a.txt129");
    EXPECT_EQ(FontLoader::atlasName("a\\b/c.png"), "a\\b/EXP_c.png");
}

TEST(TextLayout, WidthsAlignmentAndColourEscapes) {
    OneFontTexts fonts;
    TextLine line(0, 0);
    line.setString(100, 20, "AB", TextLine::Left);
    EXPECT_EQ(line.width * 10 + line.lastGlyph, 51);
    std::vector<int> drawX = {line.drawX};
    line.setString(100, 20, "AB", TextLine::Right);
    drawX.push_back(line.drawX);
    line.setString(100, 20, "AB", TextLine::Centre);
    drawX.push_back(line.drawX);
    line.setString("A B"); // keeps the place and the alignment
    drawX.push_back(line.drawX);
    EXPECT_EQ(drawX, (std::vector<int>{100, 95, 98, 100 - 7 / 2})); // half widths round down

    // "$1" switches to band 1 (top 6), "$9" is clamped to the last band, "$x" returns to the line's
    // own band and the "x" is drawn (as the lowest-coded glyph, the space); a last "$" is dropped.
    line.setString(0, 0, "A$1B$9A$xA$", TextLine::Left);
    EXPECT_EQ(sources(line, true), (std::vector<int>{1, 6, 6, 1, 1}));
    EXPECT_EQ(line.items[3].source.x, 1);
    // A line in band 1 (7 is clamped) keeps band 1; setColour lays it out again.
    TextLine shadow(0, 7);
    shadow.setString(0, 0, "A$xA", 0);
    EXPECT_EQ(sources(shadow, true), (std::vector<int>{6, 6, 6}));
    shadow.setColour(0);
    EXPECT_EQ(shadow.items[0].source.y, 1);
    // Digits go through the digit table; UTF-8 the font lacks (and code-0 leads) take the space.
    line.setString(0, 0, "1\xC3\xA9\xC6\x80\xE3\x81", 0);
    EXPECT_EQ(sources(line, false), (std::vector<int>{14, 1, 1, 1}));

    // "$:" is band 10 (top 21 gaps + 30 rows down); "$;" is no escape and draws its ";".
    OneFontTexts twelveBands(12);
    TextLine many(0, 0);
    many.setString(0, 0, "A$:A$;A", 0);
    EXPECT_EQ(sources(many, true), (std::vector<int>{1, 51, 1, 1}));
}

TEST(TextLayout, VariablesTypingAndNoFont) {
    {
        OneFontTexts fonts;
        TextLine line(5, 0); // beyond the list: the last font
        line.setString(50, 0, "_VAR_A_VAR__VAR_", TextLine::Right);
        line.replaceVariable("B");
        EXPECT_EQ(line.text + " " + line.key, "BABB NONE");
        EXPECT_EQ(line.drawX, 50 - (2 + 3 + 2 + 2)); // right-aligned by the replaced width
        line.setString("x_VAR_");
        line.replaceVariable("_VAR_");
        EXPECT_EQ(line.text, "x_VAR_");
        line.typing = true;
        line.setString("AB_VAR_");
        line.replaceVariable("1");
        EXPECT_EQ(line.lastGlyph * 10 + line.typeTimer, -10);
    }
    GameTexts empty;
    GameWide<GameTexts>::set(&empty);
    TextLine line(0, 3);
    line.setString(10, 10, "Hello", 0);
    EXPECT_TRUE(line.items.empty() && line.width == 0 && line.lastGlyph == -1);
    line.draw(true); // must not touch GL or read anything
    // No language loaded: the key is not looked up, but it is kept (with the place) for the
    // language change that re-reads it.
    line.setKey(4, 5, "OPT_START", 0);
    EXPECT_EQ(line.key + std::to_string(line.x) + std::to_string(line.items.size()), "OPT_START40");
    GameWide<GameTexts>::set(nullptr);
}
