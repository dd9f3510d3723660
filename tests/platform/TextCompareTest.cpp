// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/TextCompare.h"

using platform::CompareNoCase;
using platform::EqualsNoCase;

TEST(TextCompare, FoldsAsciiAndOtherScripts) {
    EXPECT_TRUE(EqualsNoCase("MousePad", "mousepad"));
    EXPECT_TRUE(EqualsNoCase("Ä", "ä"));
    EXPECT_TRUE(EqualsNoCase("ΣΟΦΙΑ", "σοφια"));
    EXPECT_TRUE(EqualsNoCase("Профиль 1", "профиль 1"));
    EXPECT_TRUE(EqualsNoCase("宏1", "宏1"));
    EXPECT_FALSE(EqualsNoCase("a", "ab"));
    EXPECT_FALSE(EqualsNoCase("Ä", "A"));
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
}

TEST(TextCompare, InvalidUtf8ComparesByteForByteAndNeverMatchesALetter) {
    EXPECT_TRUE(EqualsNoCase("\xC3", "\xC3"));
    EXPECT_FALSE(EqualsNoCase("\xC3", "\xE3"));
    EXPECT_FALSE(EqualsNoCase("\xC3" "A", "\xC3" "b"));
    EXPECT_FALSE(EqualsNoCase("\xC0\x80", std::string_view("\0", 1)));  // overlong NUL
    EXPECT_EQ(platform::ToLowerUtf8("ÄB\xFFz"), "äb\xFFz");
}
