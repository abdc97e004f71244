#include <gtest/gtest.h>
#include <tuple>

#include "FontTestSupport.h"
#include "TestSupport.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "text/FontLoader.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
// One font of size 3 (" ", "A", "B", "1"), and a loaded table holding the test's texts.
class BoxWorld {
  public:
    explicit BoxWorld(const std::string& table) {
        pictures.pictures["Assets/font/fonts/pic.png"] = makeFontPicture({0, 2, 5, 7, 9}, 10, 3, 2);
        const std::string description = "##pic.png\n AB1\n";
        texts.addFont(FontLoader::parseDescription(bytes(description), description.size(),
                                                   "Assets/font/fonts/t.txt", 3, 1, pictures));
        GameTexts::parseTable(bytes(table), table.size(), this->table());
        GameWide<GameTexts>::set(&texts);
    }
    ~BoxWorld() { GameWide<GameTexts>::set(nullptr); }
    static const uint8_t* bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
    GameTexts::Table& table() { return const_cast<GameTexts::Table&>(texts.texts()); }

    // One frame of the main loop: the delta comes from the fake clock, capped as the loop caps it.
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
} // namespace

TEST(TextBox, FivePiecesMakeTwoPagesTypedAPageAtATime) {
    BoxWorld world("FIVE\tA|AB|B|1|BA\n");
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
    BoxWorld world("T\tABAB\n");
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
    BoxWorld world("K\tAB|A\nV\tA_VAR_\n");
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
    EXPECT_EQ(box.lines[0]->text, "A11");
    EXPECT_EQ(box.maxWidth, 3 + 2 + 2);
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
