// SPDX-License-Identifier: GPL-3.0-or-later
// The key table seen from Linux: every key the table has is found from its evdev code and
// gives the same code back, and keys it does not have are not taken for another.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/macro/InputTables.h"

namespace {

int RowNamed(const std::string& name) {
    const auto rows = input::KeyRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

TEST(InputTables, EveryKeyRowIsFoundFromItsEvdevCodeAndBack) {
    const auto rows = input::KeyRows();
    ASSERT_EQ(rows.size(), 113u);
    std::set<int> codes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        const int code = input::EvdevCodeOf(rows[i]);
        ASSERT_GT(code, 0);
        EXPECT_TRUE(codes.insert(code).second) << "code " << code << " used twice";
        EXPECT_EQ(input::KeyRowOfEvdev(code), static_cast<int>(i));
        // The row found again by what a capture carries on Windows.
        EXPECT_EQ(input::KeyRowOfScanCode(rows[i].scanCode, rows[i].extended), static_cast<int>(i));
    }
}

TEST(InputTables, TheCodesOfLinuxNameTheKeysTheKeyboardPrints) {
    // KEY_A, KEY_ESC, KEY_RIGHTCTRL, KEY_RIGHTALT, KEY_LEFTMETA, KEY_KPENTER, KEY_KPSLASH,
    // KEY_SYSRQ, KEY_PAUSE, KEY_NUMLOCK, KEY_UP, KEY_DELETE, KEY_COMPOSE, KEY_RIGHTSHIFT,
    // KEY_102ND, KEY_YEN, KEY_HANGEUL.
    const std::pair<int, const char*> known[] = {
        {30, "A"},          {1, "Esc"},        {97, "RCtrl"},     {100, "RAlt"},
        {125, "LWin"},      {96, "Num Enter"}, {98, "Num /"},     {99, "Print Scr"},
        {119, "Pause"},     {69, "Num Lock"},  {103, "Up"},       {111, "Delete"},
        {127, "App"},       {54, "RShift"},    {86, "K45"},       {124, "K14"},
        {122, "K151"},      {55, "Num *"},     {28, "Enter"},     {57, "Space"},
    };
    for (const auto& [code, name] : known) EXPECT_EQ(input::KeyRowOfEvdev(code), RowNamed(name)) << name;
    // KEY_MUTE, KEY_VOLUMEUP, KEY_F13, KEY_F24, KEY_PLAYPAUSE, nothing, out of range.
    for (int code : {113, 115, 183, 194, 164, 0, -5, 100000})
        EXPECT_EQ(input::KeyRowOfEvdev(code), -1) << code;
}

}  // namespace
