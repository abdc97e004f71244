#include <gtest/gtest.h>

#include "assets/StringHelpers.h"

TEST(StringHelpers, PaddingIsCappedAtTenDigitsAndNeverTruncates) {
    EXPECT_EQ(toStringPadded(7, 3), "007");
    EXPECT_EQ(toStringPadded(1234, 2), "1234");
    EXPECT_EQ(toStringPadded(0, 0), "0");
    EXPECT_EQ(toStringPadded(5, 10), "0000000005");
    EXPECT_EQ(toStringPadded(5, 4000000000u), "0000000005");
    EXPECT_EQ(toStringPadded(4294967295u, 12), "4294967295");
}

TEST(StringHelpers, ReplaceFirstAndAll) {
    EXPECT_EQ(replaceFirst("a_VAR_b_VAR_", "_VAR_", "1"), "a1b_VAR_");
    EXPECT_EQ(replaceAll("a_VAR_b_VAR_", "_VAR_", "1"), "a1b1");
    // The search resumes after the inserted text: no endless loop when `to` holds `from`.
    EXPECT_EQ(replaceAll("xx", "x", "xx"), "xxxx");
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    // An empty pattern matches nowhere.
    EXPECT_EQ(replaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(replaceFirst("abc", "", "z"), "abc");
    EXPECT_EQ(replaceAll("", "a", "b"), "");
    EXPECT_TRUE(contains("hello", "ell"));
    EXPECT_TRUE(contains("hello", ""));
    EXPECT_FALSE(contains("hello", "Hell"));
}

TEST(StringHelpers, SplitKeepsInnerEmptiesButNoTrailingOne) {
    using V = std::vector<std::string>;
    EXPECT_EQ(split("", ','), V{});
    EXPECT_EQ(split("a", ','), V{"a"});
    EXPECT_EQ(split("a,b,", ','), (V{"a", "b"}));
    EXPECT_EQ(split("a,,b", ','), (V{"a", "", "b"}));
    EXPECT_EQ(split(",a", ','), (V{"", "a"}));
    EXPECT_EQ(split(",", ','), V{""});
    EXPECT_EQ(split("a\tb\t\tc", '\t'), (V{"a", "b", "", "c"}));
}
