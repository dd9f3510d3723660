// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "sim/FaultPlan.h"

namespace sim {
namespace {

TEST(FaultPlan, MatchesByCommandSkipsThenActsTheGivenNumberOfTimes) {
    FaultPlan plan;
    Fault f;
    f.kind = Fault::Kind::Unplug;
    f.command = 9;
    f.skip = 2;
    f.times = 2;
    plan.Arm(f);

    EXPECT_FALSE(plan.Take(1));  // another command passes untouched and is not counted
    EXPECT_FALSE(plan.Take(9));
    EXPECT_FALSE(plan.Take(9));
    const auto third = plan.Take(9);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->kind, Fault::Kind::Unplug);
    EXPECT_TRUE(plan.Take(9));
    EXPECT_FALSE(plan.Take(9));
    EXPECT_TRUE(plan.Empty());
}

TEST(FaultPlan, FaultsActInTheOrderArmedAndClearDisarmsAll) {
    FaultPlan plan;
    plan.Arm({Fault::Kind::StatusFF, -1, 0, 1, 0});
    plan.Arm({Fault::Kind::SlowReply, -1, 0, 1, 300});
    plan.Arm({Fault::Kind::NoReply, -1, 0, 0, 0});  // acts no times: never armed
    EXPECT_EQ(plan.Take(3)->kind, Fault::Kind::StatusFF);
    const auto slow = plan.Take(3);
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->delayMs, 300);
    EXPECT_TRUE(plan.Empty());

    plan.Arm({Fault::Kind::NoReply, -1, 0, 5, 0});
    plan.Clear();
    EXPECT_FALSE(plan.Take(3));
}

}  // namespace
}  // namespace sim
