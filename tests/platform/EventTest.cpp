// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Event.h"

using platform::Event;
using namespace std::chrono;

namespace {

int64_t ElapsedMs(steady_clock::time_point since) {
    return duration_cast<milliseconds>(steady_clock::now() - since).count();
}

bool FdReadable(const Event& e) {
    pollfd p{e.fd(), POLLIN, 0};
    return ::poll(&p, 1, 0) == 1;
}

}  // namespace

TEST(Event, ManualResetStaysSetForEveryWaiterUntilReset) {
    Event e(Event::Mode::ManualReset);
    EXPECT_FALSE(e.Wait(0));
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(FdReadable(e));
    e.Reset();
    EXPECT_FALSE(e.Wait(0));
    EXPECT_FALSE(FdReadable(e));
}

TEST(Event, AutoResetReleasesExactlyOneWaiterPerSet) {
    Event e(Event::Mode::AutoReset);
    e.Set();
    e.Set();  // a second Set on a set event does not count twice
    EXPECT_TRUE(e.IsSet());
    EXPECT_TRUE(e.Wait(0));
    EXPECT_FALSE(e.Wait(0));
    EXPECT_FALSE(FdReadable(e));

    std::atomic<int> woken{0};
    std::thread a([&] { woken += e.Wait(300) ? 1 : 0; });
    std::thread b([&] { woken += e.Wait(300) ? 1 : 0; });
    // Real time on purpose: both waiters block before the event is set.
    std::this_thread::sleep_for(milliseconds(20));
    e.Set();
    a.join();
    b.join();
    EXPECT_EQ(woken.load(), 1);
}

TEST(Event, WaitHonoursItsTimeLimit) {
    Event e;
    auto start = steady_clock::now();
    EXPECT_FALSE(e.Wait(50));
    auto elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 50);
    EXPECT_LT(elapsed, 1000);
}

TEST(Event, SetFromAnotherThreadEndsAnInfiniteWait) {
    Event e;
    std::thread t([&] {
        // Real time on purpose: a set from another thread while the wait runs.
        std::this_thread::sleep_for(milliseconds(30));
        e.Set();
    });
    auto start = steady_clock::now();
    EXPECT_TRUE(e.Wait(-1));
    EXPECT_LT(ElapsedMs(start), 1000);
    t.join();
}

TEST(Event, WaitAnyPrefersTheFirstEventAndTimesOut) {
    Event stop, done;
    EXPECT_EQ(Event::WaitAny(stop, done, 20), -1);
    done.Set();
    EXPECT_EQ(Event::WaitAny(stop, done, 0), 1);
    stop.Set();
    EXPECT_EQ(Event::WaitAny(stop, done, 0), 0);  // both set: the stop event wins

    Event autoStop(Event::Mode::AutoReset), other;
    std::thread t([&] {
        // Real time on purpose: a set from another thread while the wait runs.
        std::this_thread::sleep_for(milliseconds(20));
        autoStop.Set();
    });
    EXPECT_EQ(Event::WaitAny(autoStop, other, 2000), 0);
    EXPECT_FALSE(autoStop.IsSet());  // taken by the wait
    t.join();
}
