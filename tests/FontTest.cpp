// Fonts cut from a picture made in memory, lines laid out in them, and boxes that page and type
// them; no GL.
#include <gtest/gtest.h>
#include <tuple>

#include "Fakes.h"
#include "TestSupport.h"
#include "assets/ImageData.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "text/FontLoader.h"
#include "text/FontPictures.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
class MemoryPictures final : public FontPictures {
  public:
    const ImageData* picture(const std::string& name) override {
        const auto found = pictures.find(name);
        return found == pictures.end() ? nullptr : found->second.get();
    }
    // Atlases are kept as copies and numbered from 100.
    int32_t makeAtlas(const std::string& atlasName, const ImageData& atlas) override {
        atlasNames.push_back(atlasName);
        auto copy = std::make_unique<uint8_t[]>(static_cast<size_t>(atlas.pitch()) * atlas.height());
        std::copy(atlas.pixels(), atlas.pixels() + atlas.pitch() * atlas.height(), copy.get());
        atlases.push_back(std::make_unique<ImageData>(atlas.width(), atlas.height(), 4, std::move(copy)));
        return static_cast<int32_t>(atlases.size()) - 1 + 100;
    }
    void release(const std::string& name) override { released.push_back(name); }

    std::map<std::string, std::unique_ptr<ImageData>> pictures;
    std::vector<std::unique_ptr<ImageData>> atlases;
    std::vector<std::string> atlasNames, released;
};

// Glyphs " " (width 2), "A" (3), "B" (2), "1" (2).
const std::vector<int> kMarkers = {0, 2, 5, 7, 9};

// Markers (magenta) in row 0 and `bands` bands of 3 rows. Every glyph pixel is opaque and tells its
// glyph and band: red = 10 x glyph + 1, green = 50 x band + 1.
void addPicture(MemoryPictures& to, const std::string& name, const std::vector<int>& markers, int width,
                int bands, int extraRows = 0) {
    const int height = 1 + 3 * bands + extraRows;
    auto image = std::make_unique<ImageData>(
        width, height, 4, std::make_unique<uint8_t[]>(static_cast<size_t>(width) * height * 4));
    for (int m : markers)
        image->setPixel(m, 0, 0xFFFF00FF);
    for (int c = 0; c < bands; ++c)
        for (size_t k = 0; k + 1 < markers.size(); ++k)
            for (int x = markers[k]; x < markers[k + 1]; ++x)
                for (int r = 0; r < 3; ++r)
                    image->setPixel(x, 1 + c * 3 + r, 0xFF000000u | (50u * c + 1) << 8 | (10u * k + 1));
    to.pictures["Assets/font/fonts/" + name] = std::move(image);
}

std::unique_ptr<Font> parseFont(MemoryPictures& pictures, const std::string& description, uint32_t size = 3) {
    return FontLoader::parseDescription(bytesOf(description), description.size(), "Assets/font/fonts/t.txt",
                                        size, 1, pictures);
}

class OneFontTexts {
  public:
    explicit OneFontTexts(int bands = 2, const std::string& table = "") {
        addPicture(pictures, "pic.png", kMarkers, 10, bands);
        texts.addFont(parseFont(pictures, "##pic.png\n AB\n1\n"));
        GameTexts::parseTable(bytesOf(table), table.size(), this->table());
        GameWide<GameTexts>::set(&texts);
    }
    ~OneFontTexts() { GameWide<GameTexts>::set(nullptr); }
    GameTexts::Table& table() { return const_cast<GameTexts::Table&>(texts.texts()); }

    // Frames of the main loop: the delta comes from the fake clock, capped as the loop caps it.
    void frame(TextBox& box, uint32_t ms, int count = 1) {
        for (int i = 0; i < count; ++i) {
            const uint32_t before = clock.now;
            clock.advance(ms);
            frameDeltaMs = std::min<uint32_t>(clock.now - before, FrameClock::kLongestFrameMs);
            box.update();
        }
    }
    MemoryPictures pictures;
    GameTexts texts;
    FakeClock clock;
};

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
    addPicture(pictures, "pic.png", kMarkers, 10, 2);
    addPicture(pictures, "one.png", {0}, 6, 2);
    addPicture(pictures, "flat.png", kMarkers, 10, 0, 2);
    addPicture(pictures, "short.png", {0, 4, 6}, 7, 1);
    // More characters than glyphs: the extra ones get none; the first definition of a code wins.
    auto font = parseFont(pictures, "##pic.png\n AAB1XYZ\n");
    EXPECT_EQ(std::tuple(font->glyphs.size(), font->glyphs.at('A').srcX + font->glyphs.at('B').srcX),
              std::tuple(size_t{3}, 5u + 14u));
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
    const auto entries = FontLoader::parseFontList(bytesOf(list), list.size(), "Assets/font/");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description + std::to_string(entries[0].size) + std::to_string(entries[1].size),
              "Assets/font/a.txt129");
    EXPECT_EQ(FontLoader::atlasName("a\\b/c.png"), "a\\b/EXP_c.png");
}

TEST(TextLayout, WidthsAlignmentAndColourEscapes) {
    OneFontTexts fonts;
    TextLine line(0, 0);
    std::vector<int> drawX;
    for (uint32_t align : {TextLine::Left, TextLine::Right, TextLine::Centre}) {
        line.setString(100, 20, "AB", align);
        drawX.push_back(line.drawX);
    }
    EXPECT_EQ(line.width * 10 + line.lastGlyph, 51);
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
    // No language loaded: the key is not looked up, but it is kept (with the place) for the
    // language change that re-reads it.
    line.setKey(4, 5, "OPT_START", 0);
    EXPECT_EQ(line.key + std::to_string(line.x) + std::to_string(line.items.size()), "OPT_START40");
    GameWide<GameTexts>::set(nullptr);
}

TEST(TextBox, FivePiecesMakeTwoPagesTypedAPageAtATime) {
    OneFontTexts world(2, "FIVE\tA|AB|B|1|BA\n");
    TextBox box;
    box.setText("FIVE", 10, 20);
    // The fifth line sits at the top of the second page.
    EXPECT_EQ(std::make_tuple(box.lineCount, box.totalHeight, box.lines[3]->drawY, box.lines[4]->drawY,
                              box.maxWidth),
              std::make_tuple(5, 15, 29, 20, 5));
    // Fast frames type every line of the page until it is full; a full page waits for the scene.
    box.setTypingDelay(20);
    world.frame(box, 30, 100);
    EXPECT_EQ(std::make_tuple(box.pageFull, box.finished, box.currentLine, box.lines[4]->lastGlyph),
              std::make_tuple(true, false, 4, -1));
    box.nextPage();
    EXPECT_EQ(box.pageStart, 4);
    world.frame(box, 30, 100);
    EXPECT_TRUE(box.finished);
}

TEST(TextBox, TypingTimerMustExceedTheDelayAndShowsOneGlyphPerFrame) {
    OneFontTexts world(2, "T\tABAB\n");
    TextBox box;
    std::vector<int> glyphs;
    auto frames = [&](uint32_t ms, int count) {
        world.frame(box, ms, count);
        glyphs.push_back(box.lines[0]->lastGlyph);
    };
    box.setTextTyped("T", "VERY_FAST", 0, 0, "0");
    const int fast = box.lines[0]->typeDelay;
    frames(16, 1);
    frames(16, 1);
    box.setTypingDelay(20);
    frames(10, 2); // exactly the delay reveals nothing
    box.setTypingDelay(20);
    frames(500, 2); // capped at 18, and still one glyph at most
    EXPECT_EQ(glyphs, (std::vector<int>{-1, 0, -1, 0}));
    box.setTextTyped("T", "WHATEVER", 0, 0, "0");
    EXPECT_EQ(std::make_tuple(fast, box.lines[0]->typeDelay), std::make_tuple(20, uint16_t{100}));
    box.setTypingDelay(0);
    EXPECT_EQ(box.lines[0]->lastGlyph, 3);
    world.frame(box, 16);
    EXPECT_TRUE(box.finished);
}

TEST(TextBox, AlignmentRawTextRefreshAndRecolour) {
    OneFontTexts world(2, "K\tAB|A\nV\tA_VAR_\n");
    TextBox box(0, 1);
    box.setText("K", 100, 50);
    box.setAlignment(1, 2);
    EXPECT_EQ(std::make_tuple(box.verticalOffset, box.lines[0]->drawX, box.lines[1]->drawY),
              std::make_tuple(-6, 95, 47));
    EXPECT_EQ(box.lines[0]->items[0].source.y, 6) << "the box's own band";
    box.setColour(0);
    EXPECT_EQ(box.lines[1]->items[0].source.y, 1);
    box.setPosition(200, 50);
    box.placeLinesAt32();
    EXPECT_EQ(std::make_tuple(box.lines[0]->drawX, box.lines[1]->drawY), std::make_tuple(195, 50 - 64 + 32));

    box.setRawText("GO IN", 0, 0);
    box.refreshText();
    EXPECT_EQ(box.lines[0]->text, "GO IN");
    box.setText("V", 0, 0);
    box.replaceVariable("11");
    EXPECT_EQ(box.lines[0]->text + std::to_string(box.maxWidth), "A117");
    box.key = "none";
    box.refreshText();
    EXPECT_EQ(box.lines[0]->text, "");

    // A language change: the box re-reads its key and keeps its alignment.
    box.setText("K", 100, 0);
    box.setAlignment(2, 1);
    world.table()["K"] = "B|B|B|B|B|B";
    box.refreshText();
    EXPECT_EQ(std::make_tuple(box.lineCount, box.linesPerPage, box.lines[5]->drawY, box.lines[0]->drawX),
              std::make_tuple(6, 6, 15, 99));
}
