// SPDX-License-Identifier: GPL-3.0-or-later
// The session's request to end reaches the program as a call, not as sudden death.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/Eventually.h"
#include "platform/TerminationSignals.h"

namespace {

bool WaitFor(const std::atomic<int>& value, int expected) {
    return test_support::Eventually([&] { return value.load() == expected; });
}

TEST(TerminationSignals, TermIntAndHupAreHandedToTheProgramInsteadOfEndingIt) {
    // A new watcher for each: a second signal to one watcher ends the process. The mask
    // left blocked by the previous watcher keeps the process alive in between.
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        std::atomic<int> received{0};
        platform::TerminationSignals signals([&received](int n) { received = n; });
        ASSERT_TRUE(signals.Watching());
        // Without the watcher this would end the test process.
        ASSERT_EQ(kill(getpid(), number), 0);
        EXPECT_TRUE(WaitFor(received, number)) << number;
    }
}

TEST(TerminationSignalsDeathTest, ASecondSignalEndsTheProgramAtOnce) {
    EXPECT_EXIT(
        {
            std::atomic<int> received{0};
            platform::TerminationSignals signals([&received](int n) { received = n; });
            kill(getpid(), SIGTERM);
            // Sent only once the first is taken: two pending signals would merge into one.
            if (!WaitFor(received, SIGTERM)) _exit(1);
            kill(getpid(), SIGINT);
            // Real time on purpose: the second signal must end the process before this does.
            std::this_thread::sleep_for(std::chrono::seconds(5));
            _exit(2);
        },
        ::testing::ExitedWithCode(128 + SIGINT), "");
}

}  // namespace
