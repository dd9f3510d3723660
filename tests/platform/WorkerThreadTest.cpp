// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/WorkerThread.h"

using platform::Event;
using platform::WorkerThread;
using namespace std::chrono;

TEST(WorkerThread, StopEndsABodyWaitingOnItsStopEvent) {
    WorkerThread worker;
    std::atomic<int> passes{0};
    worker.Start([&](Event& stop) {
        while (!stop.Wait(1)) ++passes;
    });
    // Real time on purpose: the body runs a while before it is stopped.
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_TRUE(worker.Running());
    EXPECT_EQ(worker.Stop(1000), WorkerThread::StopResult::Ended);
    EXPECT_FALSE(worker.Running());
    EXPECT_GT(passes.load(), 0);
    EXPECT_EQ(worker.Stop(), WorkerThread::StopResult::Error);  // nothing left to stop
}

TEST(WorkerThread, RestartResetsTheStopEvent) {
    WorkerThread worker;
    worker.Start([](Event& stop) { stop.Wait(-1); });
    std::atomic<bool> sawOldSignal{true};
    Event entered;
    worker.Start([&](Event& stop) {
        sawOldSignal = stop.IsSet();  // the previous run's stop signal must be gone
        entered.Set();
        stop.Wait(-1);
    });
    ASSERT_TRUE(entered.Wait(2000));
    EXPECT_FALSE(sawOldSignal.load());
    EXPECT_EQ(worker.Stop(), WorkerThread::StopResult::Ended);
}

TEST(WorkerThread, ReportsAbandonedAndTimedOutOutcomes) {
    WorkerThread thrower;
    thrower.Start([](Event&) { throw std::runtime_error("boom"); });
    EXPECT_EQ(thrower.Stop(), WorkerThread::StopResult::Abandoned);

    WorkerThread slow;
    slow.Start([](Event& stop) {
        stop.Wait(-1);
        // Real time on purpose: a body slower to end than the stop waits.
        std::this_thread::sleep_for(milliseconds(150));
    });
    EXPECT_EQ(slow.Stop(20), WorkerThread::StopResult::TimedOut);
    EXPECT_FALSE(slow.Running());  // joined after the report
}

TEST(WorkerThread, ExitTextsNameEachOutcome) {
    EXPECT_EQ(WorkerThread::ExitText(WorkerThread::StopResult::Ended),
              "线程退出：：对象处于激发状态\n");
    EXPECT_EQ(WorkerThread::ExitText(WorkerThread::StopResult::TimedOut),
              "线程退出：：对象处于非激发状态，超时\n");
    EXPECT_EQ(WorkerThread::ExitText(WorkerThread::StopResult::Error), "线程退出：：错误\n");
}
