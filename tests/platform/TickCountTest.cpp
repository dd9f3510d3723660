// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "platform/Event.h"
#include "platform/TickCount.h"

using namespace std::chrono;

TEST(TickCount, AdvancesOnlyInSteps64PerSecond) {
    std::set<uint32_t> seen;
    auto end = steady_clock::now() + milliseconds(120);
    while (steady_clock::now() < end) seen.insert(platform::TickCount());
    ASSERT_GE(seen.size(), 5u);
    uint32_t previous = *seen.begin();
    for (auto it = std::next(seen.begin()); it != seen.end(); ++it) {
        uint32_t step = *it - previous;
        // 15.625 ms shows as alternating 15 and 16 ms; never a smaller step.
        EXPECT_TRUE(step == 15 || step == 16 || step % 15 <= step / 15) << step;
        EXPECT_GE(step, 15u);
        previous = *it;
    }
}

TEST(TickCount, SleepUntilNextTickWakesOnTheNextStep) {
    platform::Event stop;
    uint32_t before = platform::TickCount();
    ASSERT_TRUE(platform::SleepUntilNextTick(stop));
    uint32_t after = platform::TickCount();
    EXPECT_NE(before, after);
    EXPECT_LE(after - before, 32u);
}

TEST(TickCount, SleepUntilNextTickEndsAtOnceOnStop) {
    platform::Event stop;
    stop.Set();
    auto start = steady_clock::now();
    EXPECT_FALSE(platform::SleepUntilNextTick(stop));
    EXPECT_LT(duration_cast<milliseconds>(steady_clock::now() - start).count(), 5);
    EXPECT_TRUE(stop.IsSet());
}

TEST(TickCount, StepsBetweenRecoversWholeStepsAcrossTheWrap) {
    auto at = [](uint64_t steps) { return static_cast<uint32_t>(steps * 125 / 8); };
    for (uint64_t start : {0ull, 7ull, 1000001ull, (1ull << 32) * 8 / 125 - 3}) {
        for (uint32_t n : {0u, 1u, 2u, 3u, 4u, 28u, 64u}) {
            EXPECT_EQ(platform::TickStepsBetween(at(start), at(start + n)), n) << start;
        }
    }
}
