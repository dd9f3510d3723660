// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CCircleProgressUI.h"

namespace tx512::test {
namespace {

using ui::CCircleProgressUI;
using Op = ui::RecordingRenderTarget::Op;

constexpr const char* kRing = R"(<VerticalLayout>
  <CircleProgress name="ring" width="100" height="100" min="0" max="100" value="25"
                  bkcolor="#FF202020" forecolor="#FF00C000"/>
</VerticalLayout>)";

TEST(CircleProgress, QuarterRingStartsAtTheBottom) {
    ControlsTestWindow w;
    w.Load(kRing);
    auto* ring = w.Find<CCircleProgressUI>("ring", "CircleProgress");
    ASSERT_NE(ring, nullptr);
    ASSERT_EQ(ring->GetPos(), (ui::Rect{0, 0, 100, 100}));

    auto pies = Paint(*ring).Of(Op::FillPie);
    ASSERT_EQ(pies.size(), 3u);
    // Background: the whole disc.
    EXPECT_EQ(pies[0].rect, (ui::Rect{0, 0, 100, 100}));
    EXPECT_FLOAT_EQ(pies[0].sweepAngle, 360.0f);
    EXPECT_EQ(pies[0].color, 0xFF202020u);
    // The value: a quarter, from six o'clock clockwise.
    EXPECT_EQ(pies[1].rect, (ui::Rect{0, 0, 100, 100}));
    EXPECT_FLOAT_EQ(pies[1].startAngle, 90.0f);
    EXPECT_FLOAT_EQ(pies[1].sweepAngle, 90.0f);
    EXPECT_EQ(pies[1].color, 0xFF00C000u);
    // The white middle leaves a ring 10 pixels wide.
    EXPECT_EQ(pies[2].rect, (ui::Rect{10, 10, 90, 90}));
    EXPECT_FLOAT_EQ(pies[2].sweepAngle, 360.0f);
    EXPECT_EQ(pies[2].color, 0xFFFFFFFFu);
}

TEST(CircleProgress, SweepIsMeasuredFromTheMinimum) {
    CCircleProgressUI ring;
    ring.SetMaxValue(150);
    ring.SetMinValue(50);
    ring.SetValue(50);
    EXPECT_FLOAT_EQ(ring.GetSweepAngle(), 0.0f);
    ring.SetValue(100);
    EXPECT_FLOAT_EQ(ring.GetSweepAngle(), 180.0f);
    ring.SetValue(150);
    EXPECT_FLOAT_EQ(ring.GetSweepAngle(), 360.0f);
}

TEST(CircleProgress, EmptyRangeOrValueDrawsNoSlice) {
    CCircleProgressUI ring;
    ring.SetPos(ui::Rect{0, 0, 50, 50}, false);
    ring.SetForeColor(0xFF00FF00);
    ring.SetMaxValue(0);  // min 0, max 0: nothing to divide by
    EXPECT_FLOAT_EQ(ring.GetSweepAngle(), 0.0f);
    auto pies = Paint(ring).Of(Op::FillPie);
    // No background colour, no slice: only the white middle.
    ASSERT_EQ(pies.size(), 1u);
    EXPECT_EQ(pies[0].color, 0xFFFFFFFFu);
}

TEST(CircleProgress, RingWidthFollowsTheDpi) {
    ControlsTestWindow w;
    w.manager.SetDPI(192);
    w.Load(kRing, {800, 600});
    auto* ring = w.Find<CCircleProgressUI>("ring", "CircleProgress");
    ASSERT_NE(ring, nullptr);
    auto pies = Paint(*ring).Of(Op::FillPie);
    ASSERT_EQ(pies.size(), 3u);
    EXPECT_EQ(pies[0].rect, (ui::Rect{0, 0, 200, 200}));
    EXPECT_EQ(pies[2].rect, (ui::Rect{20, 20, 180, 180}));
}

}  // namespace
}  // namespace tx512::test
