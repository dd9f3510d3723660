// SPDX-License-Identifier: GPL-3.0-or-later
// Label markup, and Qt keys and wheels in the library's terms.
#include "QtTestSupport.h"
#include "ui/qt/MarkupText.h"
#include "ui/qt/QtInputMapper.h"

namespace {

using ui::qt::MarkupRun;
using ui::qt::MarkupText;
using ui::qt::QtInputMapper;

TEST(MarkupTextTest, TagsStyleTheTextBetweenThem) {
    const std::vector<MarkupRun> runs = MarkupText::Parse("a{b}b{c #FF00FF00}c{/c}{/b}<n>{f 3}d");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].text, "a");
    EXPECT_FALSE(runs[0].bold);
    EXPECT_TRUE(runs[1].bold);
    EXPECT_FALSE(runs[1].color.has_value());
    EXPECT_EQ(runs[2].text, "c");
    EXPECT_EQ(runs[2].color, std::optional<ui::Color>(0xFF00FF00));
    EXPECT_TRUE(runs[3].lineBreak);
    EXPECT_EQ(runs[4].text, "d");
    EXPECT_FALSE(runs[4].bold);
    EXPECT_EQ(runs[4].fontId, 3);
}

TEST(MarkupTextTest, WhatIsNoTagStaysText) {
    EXPECT_EQ(MarkupText::PlainText("I <3 {x} {b}keys{/b} 1<2>0 {c} {"), "I <3 {x} keys 1<2>0 {c} {");
    EXPECT_EQ(MarkupText::PlainText("one{n}two\nthree"), "one\ntwo\nthree");
    EXPECT_TRUE(MarkupText::Parse("").empty());
}

TEST(QtInputMapperTest, KeysMapToVirtualKeyCodes) {
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_A, Qt::NoModifier), 'A');
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_Exclam, Qt::ShiftModifier), '1');  // shifted 1
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_F5, Qt::NoModifier), 0x74);
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_5, Qt::KeypadModifier), 0x65);
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_Return, Qt::NoModifier), ui::vk::Return);
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_Escape, Qt::NoModifier), ui::vk::Escape);
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_BracketLeft, Qt::NoModifier), 0xDB);
    EXPECT_EQ(QtInputMapper::VirtualKey(Qt::Key_Launch0, Qt::NoModifier), 0);
    EXPECT_EQ(QtInputMapper::KeyState(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton),
              ui::MK_SHIFT | ui::MK_CONTROL | ui::MK_LBUTTON);
}

TEST(QtInputMapperTest, SmoothWheelsAddUpToNotches) {
    int residual = 0;
    EXPECT_EQ(QtInputMapper::WheelNotches(residual, 240), 2);
    EXPECT_EQ(QtInputMapper::WheelNotches(residual, 40), 0);
    EXPECT_EQ(QtInputMapper::WheelNotches(residual, 40), 0);
    EXPECT_EQ(QtInputMapper::WheelNotches(residual, 40), 1);
    EXPECT_EQ(QtInputMapper::WheelNotches(residual, 60), 0);
    EXPECT_EQ(QtInputMapper::WheelNotches(residual, -120), -1);  // turning back starts afresh
}

}  // namespace
