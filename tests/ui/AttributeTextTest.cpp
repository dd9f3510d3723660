// SPDX-License-Identifier: GPL-3.0-or-later
// Reading attribute values as layouts and programs write them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/AttributeText.h"
#include "ui/TDrawInfo.h"

namespace {

using namespace ui;

TEST(AttributeTextTest, Colours) {
    EXPECT_EQ(attr::ParseColor("#FF112233"), 0xFF112233u);
    EXPECT_EQ(attr::ParseColor("#112233"), 0xFF112233u) << "six digits are opaque";
    EXPECT_EQ(attr::ParseColor("0x00444444"), 0x00444444u) << "an explicit alpha of 0 stays";
    EXPECT_EQ(attr::ParseColor(" #ff00ff00 "), 0xFF00FF00u);
    EXPECT_EQ(attr::ParseColor("4278190080"), 0xFF000000u);
    EXPECT_EQ(attr::ParseColor("#"), 0u);
    EXPECT_EQ(attr::ParseColor("red"), 0u);
    EXPECT_EQ(attr::ParseColor("#1FFFFFFFFF"), 0xFFFFFFFFu) << "extra digits keep the low 32 bits";
}

TEST(AttributeTextTest, NumbersRectanglesAndBooleans) {
    EXPECT_EQ(attr::ParseInt("42"), 42);
    EXPECT_EQ(attr::ParseInt("-7px"), -7);
    EXPECT_EQ(attr::ParseInt("+5"), 5);
    EXPECT_EQ(attr::ParseInt("+-5"), 0);
    EXPECT_EQ(attr::ParseInt("abc"), 0);
    EXPECT_EQ(attr::ParseInt("99999999999"), 2147483647) << "saturates instead of wrapping";
    EXPECT_EQ(attr::ParseRect("1,2,3,4"), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(attr::ParseRect("1, 2"), (Rect{1, 2, 0, 0}));
    EXPECT_EQ(attr::ParseRect(""), (Rect{}));
    EXPECT_EQ(attr::ParseSize("630,500"), (Size{630, 500}));
    EXPECT_TRUE(attr::ParseBool("TRUE"));
    EXPECT_TRUE(attr::ParseBool("1"));
    EXPECT_FALSE(attr::ParseBool("false"));
    EXPECT_FALSE(attr::ParseBool("yes"));
}

TEST(AttributeTextTest, AttributeListsKeepOrderAndQuotes) {
    std::vector<std::pair<std::string, std::string>> seen;
    attr::ForEachAttribute(R"(a="1" b='two words'  c=3 d="x='y'" e="")",
                           [&](std::string_view n, std::string_view v) { seen.emplace_back(n, v); });
    std::vector<std::pair<std::string, std::string>> expected{
        {"a", "1"}, {"b", "two words"}, {"c", "3"}, {"d", "x='y'"}, {"e", ""}};
    EXPECT_EQ(seen, expected);
    // A broken tail is dropped, what came before stays.
    seen.clear();
    attr::ForEachAttribute(R"(a="1" b="unclosed)",
                           [&](std::string_view n, std::string_view v) { seen.emplace_back(n, v); });
    EXPECT_EQ(seen.size(), 1u);
}

TEST(AttributeTextTest, Alignment) {
    unsigned style = DT_VCENTER | DT_SINGLELINE;
    EXPECT_EQ(attr::ParseAlign("center", style, false), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(attr::ParseAlign("right", DT_CENTER, false), DT_RIGHT);
    EXPECT_EQ(attr::ParseAlign("bottom", style, true), DT_BOTTOM | DT_SINGLELINE);
    EXPECT_EQ(attr::ParseAlign("wrap", style, false), DT_VCENTER | DT_WORDBREAK);
}

TEST(AttributeTextTest, ImageStrings) {
    TDrawInfo bare = TDrawInfo::Parse(" common/device_ico/kb_device_normal.png ");
    EXPECT_EQ(bare.sImageName, "common/device_ico/kb_device_normal.png");
    EXPECT_TRUE(bare.rcSource.IsEmpty());
    TDrawInfo full = TDrawInfo::Parse(
        "file='power/powered.png' source='0,0,20,10' dest='2,2,22,12' corner='1,1,1,1' fade='300' mask='#FFFF00FF' xtiled='true'");
    EXPECT_EQ(full.sImageName, "power/powered.png");
    EXPECT_EQ(full.rcSource, (Rect{0, 0, 20, 10}));
    EXPECT_EQ(full.rcDest, (Rect{2, 2, 22, 12}));
    EXPECT_EQ(full.rcCorner, (Rect{1, 1, 1, 1}));
    EXPECT_EQ(full.uFade, 255) << "clamped";
    EXPECT_EQ(full.dwMask, 0xFFFF00FFu);
    EXPECT_TRUE(full.bXTiled);
    EXPECT_FALSE(full.bYTiled);
    EXPECT_TRUE(TDrawInfo::Parse("").IsEmpty());
    EXPECT_TRUE(TDrawInfo::Parse("source='0,0,1,1'").IsEmpty()) << "no file, no image";
}

}  // namespace
