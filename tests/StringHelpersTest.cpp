#include <gtest/gtest.h>

#include "assets/StringHelpers.h"

TEST(StringHelpers, PaddingReplacingAndSplitting) {
    EXPECT_EQ(toStringPadded(7, 3) + " " + toStringPadded(1234, 2) + " " + toStringPadded(0, 0),
              "007 1234 0");
    // Padding is capped at ten digits and never truncates.
    EXPECT_EQ(toStringPadded(5, 4000000000u) + toStringPadded(4294967295u, 12), "00000000054294967295");
    EXPECT_EQ(replaceFirst("a_VAR_b_VAR_", "_VAR_", "1") + replaceAll("a_VAR_b_VAR_", "_VAR_", "1"),
              "a1b_VAR_a1b1");
    // The search resumes after the inserted text (no endless loop when `to` holds `from`); an empty
    // pattern matches nowhere.
    EXPECT_EQ(replaceAll("xx", "x", "xx") + replaceAll("aaa", "aa", "b"), "xxxxba");
    EXPECT_EQ(replaceAll("abc", "", "z") + replaceFirst("abc", "", "z"), "abcabc");
    EXPECT_TRUE(contains("hello", "ell") && contains("hello", "") && !contains("hello", "Hell"));
    // Inner empty fields stay, a trailing one goes.
    using V = std::vector<std::string>;
    EXPECT_TRUE(split("", ',').empty());
    EXPECT_EQ(split("a,b,", ','), (V{"a", "b"}));
    EXPECT_EQ(split(",a,,b", ','), (V{"", "a", "", "b"}));
    EXPECT_EQ(split(",", ','), V{""});
}
