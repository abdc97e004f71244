#include <array>
#include <gtest/gtest.h>
#include <tuple>

#include "assets/StringHelpers.h"
#include "text/GameTexts.h"

namespace {
GameTexts::Table parse(const std::string& bytes) {
    GameTexts::Table table;
    GameTexts::parseTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table);
    return table;
}
} // namespace

// Split at the last tab, carriage returns kept, the first key wins, a line without a tab is its own
// key and text (the empty line too), a space before "#" is no comment, the last line needs no line feed.
TEST(GameTextsFormat, LinesSplitAtTheLastTabAndTheFirstKeyWins) {
    std::string flat; // key=text; in key order
    for (const auto& [key, text] :
         parse("A\tone\r\nA\ttwo\nK\tx\ty\nEND\t\n# comment\tno\n #not\tcomment\nlonely\n\nlast\tline"))
        flat += key + "=" + text + ";";
    EXPECT_EQ(flat, "=; #not=comment;A=one\r;END=;K\tx=y;last=line;lonely=lonely;");

    GameTexts texts;
    texts.changeLanguage(3); // before any language is loaded: nothing
    EXPECT_EQ(std::tuple(texts.getText("NOPE"), texts.loaded()), std::tuple("[!]", false));
    std::string suffixes;
    for (uint32_t language = 0; language <= 7; ++language)
        suffixes += GameTexts::languageSuffix(language) + " ";
    EXPECT_EQ(suffixes, "en.txt sp.txt cat.txt fr.txt it.txt gr.txt jp.txt  ");
}

TEST(StringHelpers, PaddingReplacingAndSplitting) {
    // Padding is capped at ten digits and never truncates.
    EXPECT_EQ(toStringPadded(7, 3) + " " + toStringPadded(1234, 2) + " " + toStringPadded(0, 0) +
                  toStringPadded(5, 4000000000u) + toStringPadded(4294967295u, 12),
              "007 1234 000000000054294967295");
    // The search resumes after the inserted text (no endless loop when `to` holds `from`); an empty
    // pattern matches nowhere.
    EXPECT_EQ(replaceFirst("a_VAR_b_VAR_", "_VAR_", "1") + replaceAll("a_VAR_b_VAR_", "_VAR_", "1") +
                  replaceAll("xx", "x", "xx") + replaceAll("aaa", "aa", "b") + replaceAll("abc", "", "z") +
                  replaceFirst("abc", "", "z"),
              "a1b_VAR_a1b1xxxxbaabcabc");
    EXPECT_TRUE(contains("hello", "ell") && contains("hello", "") && !contains("hello", "Hell"));
    // Inner empty fields stay, a trailing one goes.
    using V = std::vector<std::string>;
    EXPECT_EQ((std::array{split("", ','), split("a,b,", ','), split(",a,,b", ','), split(",", ',')}),
              (std::array{V{}, V{"a", "b"}, V{"", "a", "", "b"}, V{""}}));
}
