// The session's request to end reaches the program as a call, not as sudden death.
#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/TerminationSignals.h"

namespace {

bool WaitFor(const std::atomic<int>& value, int expected) {
    for (int i = 0; i < 200 && value.load() != expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return value.load() == expected;
}

TEST(TerminationSignals, TermIntAndHupAreHandedToTheProgramInsteadOfEndingIt) {
    std::atomic<int> received{0};
    {
        platform::TerminationSignals signals([&received](int number) { received = number; });
        ASSERT_TRUE(signals.Watching());
        // Without the watcher this would end the test process.
        ASSERT_EQ(kill(getpid(), SIGTERM), 0);
        EXPECT_TRUE(WaitFor(received, SIGTERM));
    }
    // A new watcher hears the next signal; the blocked mask kept the process alive between.
    received = 0;
    platform::TerminationSignals again([&received](int number) { received = number; });
    ASSERT_EQ(kill(getpid(), SIGHUP), 0);
    EXPECT_TRUE(WaitFor(received, SIGHUP));
}

}  // namespace
