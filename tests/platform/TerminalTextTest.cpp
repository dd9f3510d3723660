// SPDX-License-Identifier: GPL-3.0-or-later
// What a name from someone else's file turns into on its way to a terminal.
#include <gtest/gtest.h>

#include "platform/TerminalText.h"

namespace platform {
namespace {

TEST(TerminalText, ControlsAreEscapedAndEverythingElsePrintsAsItIs) {
    EXPECT_EQ(EscapedForTerminal("Game 1 ä 中"), "Game 1 ä 中");
    EXPECT_EQ(EscapedForTerminal("a\x1b[31mb\x7f"), "a\\x1B[31mb\\x7F");
    EXPECT_EQ(EscapedForTerminal("\u009B2J\u0085"), "\\x9B2J\\x85");
    EXPECT_EQ(EscapedForTerminal("x\u202Eexe.gnp\u2067y"), "x\\u202Eexe.gnp\\u2067y");
    // Bytes that are not UTF-8, a cut sequence and an over-long form of ESC: shown as
    // bytes, never handed on for a terminal to interpret.
    EXPECT_EQ(EscapedForTerminal("\x9b" "2J"), "\\x9B2J");
    EXPECT_EQ(EscapedForTerminal("ok\xe2\x80"), "ok\\xE2\\x80");
    EXPECT_EQ(EscapedForTerminal("\xc0\x9b"), "\\xC0\\x9B");
}

TEST(TerminalText, StrippingKeepsWhatIsNotAControl) {
    EXPECT_EQ(WithoutHiddenControls("a\tb\u0080c\u009Fd\u202Ae\u2069f"), "abcdef");
    // Neighbours of the ranges stay, and so do bytes that are not UTF-8 (only shown escaped).
    EXPECT_EQ(WithoutHiddenControls("\u00A0\u2029\u202F\u2065\u206A"), "\u00A0\u2029\u202F\u2065\u206A");
    EXPECT_EQ(WithoutHiddenControls("x\xff"), "x\xff");
}

TEST(TerminalText, JsonKeepsItsMeaningButLosesItsControls) {
    EXPECT_EQ(EscapedForJson(R"({"name":"a)" "\u202E" R"(b","n":1})"), R"({"name":"a\u202Eb","n":1})");
    EXPECT_EQ(EscapedForJson(R"({"name":"ä"})"), R"({"name":"ä"})");
}

}  // namespace
}  // namespace platform
