#include <gtest/gtest.h>

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
        texts.addFont(FontLoader::parseDescription(reinterpret_cast<const uint8_t*>(description.data()),
                                                   description.size(), "Assets/font/fonts/t.txt", 3, 1,
                                                   pictures));
        GameTexts::parseTable(reinterpret_cast<const uint8_t*>(table.data()), table.size(),
                              const_cast<GameTexts::Table&>(texts.texts()));
        GameWide<GameTexts>::set(&texts);
    }
    ~BoxWorld() { GameWide<GameTexts>::set(nullptr); }

    // One frame of the main loop: the delta comes from the fake clock, capped as the loop caps it.
    void frame(TextBox& box, uint32_t ms) {
        const uint32_t before = clock.now;
        clock.advance(ms);
        frameDeltaMs = std::min<uint32_t>(clock.now - before, FrameClock::kLongestFrameMs);
        box.update();
    }
    MemoryPictures pictures;
    GameTexts texts;
    FakeClock clock;
};
} // namespace

TEST(TextBoxPaging, FivePiecesMakeTwoPagesAndTheFifthSitsAtTheTop) {
    BoxWorld world("FIVE\tA|AB|B|1|BA\n");
    TextBox box;
    box.setText("FIVE", 10, 20);
    ASSERT_EQ(box.lineCount, 5);
    EXPECT_EQ(box.totalHeight, 15);
    EXPECT_EQ(box.lines[3]->drawY, 29);
    EXPECT_EQ(box.lines[4]->drawY, 20);
    EXPECT_EQ(box.maxWidth, 5);

    box.setTypingDelay(20);
    // Fast frames: every line of the page types until the page is full.
    for (int i = 0; i < 100 && !box.pageFull; ++i)
        world.frame(box, 30);
    EXPECT_TRUE(box.pageFull);
    EXPECT_FALSE(box.finished);
    EXPECT_EQ(box.currentLine, 4);
    const int16_t shown = box.lines[4]->lastGlyph;
    world.frame(box, 30);
    EXPECT_EQ(box.lines[4]->lastGlyph, shown) << "a full page waits for the scene";
    box.nextPage();
    EXPECT_EQ(box.pageStart, 4);
    for (int i = 0; i < 100 && !box.finished; ++i)
        world.frame(box, 30);
    EXPECT_TRUE(box.finished);
}

TEST(TextBoxTyping, TimerMustExceedTheDelayAndOneGlyphPerFrame) {
    BoxWorld world("T\tABAB\n");
    TextBox box;
    box.setTextTyped("T", "VERY_FAST", 0, 0, "0");
    EXPECT_EQ(box.lines[0]->typeDelay, 20);
    world.frame(box, 16);
    EXPECT_EQ(box.lines[0]->lastGlyph, -1);
    world.frame(box, 16);
    EXPECT_EQ(box.lines[0]->lastGlyph, 0);

    box.setTypingDelay(20);
    world.frame(box, 10);
    world.frame(box, 10);
    EXPECT_EQ(box.lines[0]->lastGlyph, -1) << "exactly the delay reveals nothing";
    box.setTypingDelay(20);
    world.frame(box, 500); // capped at 18 and still one glyph at most
    world.frame(box, 500);
    EXPECT_EQ(box.lines[0]->lastGlyph, 0);

    box.setTextTyped("T", "WHATEVER", 0, 0, "0");
    EXPECT_EQ(box.lines[0]->typeDelay, 100);
    box.setTypingDelay(0);
    EXPECT_EQ(box.lines[0]->lastGlyph, 3);
    world.frame(box, 16);
    EXPECT_TRUE(box.finished);
}

TEST(TextBoxLayout, AlignmentRawTextRefreshAndRecolour) {
    BoxWorld world("K\tAB|A\nV\tA_VAR_\n");
    TextBox box(0, 1);
    box.setText("K", 100, 50);
    box.setAlignment(1, 2);
    EXPECT_EQ(box.verticalOffset, -6);
    EXPECT_EQ(box.lines[0]->drawX, 95);
    EXPECT_EQ(box.lines[1]->drawY, 47);
    EXPECT_EQ(box.lines[0]->items[0].source.y, 6) << "the box's own band";
    box.setColour(0);
    EXPECT_EQ(box.lines[1]->items[0].source.y, 1);
    box.setPosition(200, 50);
    EXPECT_EQ(box.lines[0]->drawX, 195);
    box.placeLinesAt32();
    EXPECT_EQ(box.lines[1]->drawY, 50 - 64 + 32);

    box.setRawText("GO IN", 0, 0);
    EXPECT_EQ(box.lines[0]->text, "GO IN");
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
    const_cast<GameTexts::Table&>(world.texts.texts())["K"] = "B|B|B|B|B|B";
    box.refreshText();
    EXPECT_EQ(box.lineCount, 6);
    EXPECT_EQ(box.linesPerPage, 6);
    EXPECT_EQ(box.lines[5]->drawY, 15);
    EXPECT_EQ(box.lines[0]->drawX, 99);
}
