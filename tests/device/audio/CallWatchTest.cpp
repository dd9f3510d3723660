// SPDX-License-Identifier: GPL-3.0-or-later
// The time limit on library calls, on a clock the test moves.
#include <gtest/gtest.h>

#include <cstdint>

#include "device/audio/CallWatch.h"

namespace {

using device::audio::CallWatch;

TEST(CallWatch, EachCallIsTimedOnItsOwnAndAHungLibraryIsNeverCalledAgain) {
    std::int64_t now = 1000;
    CallWatch watch(3000, [&now] { return now; });
    // Many quick calls adding up past the limit are no hang.
    for (int i = 0; i < 10; ++i) {
        CallWatch::Call call(&watch);
        EXPECT_TRUE(call.Allowed());
        now += 2000;
    }
    EXPECT_FALSE(watch.Hung());
    {
        CallWatch::Call call(&watch);
        ASSERT_TRUE(call.Allowed());
        now += 3000;
        EXPECT_FALSE(watch.Hung()) << "at the limit is not past it";
        now += 1;
        EXPECT_TRUE(watch.Hung()) << "seen while the call is still under way";
    }
    EXPECT_TRUE(watch.Hung()) << "and remembered once it returned";
    now += 60000;
    const CallWatch::Call later(&watch);
    EXPECT_FALSE(later.Allowed());
    EXPECT_TRUE(CallWatch::Call(nullptr).Allowed()) << "no watch, no limit";
}

}  // namespace
