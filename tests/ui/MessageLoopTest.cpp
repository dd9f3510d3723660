// SPDX-License-Identifier: GPL-3.0-or-later
// The message loop: posted and sent messages, sends from other threads, timers on the
// injected clock, modal nesting and quit.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CMessageLoop.h"
#include "ui/IMessageTarget.h"

namespace {

using namespace ui;

// Records what it handles; answers wParam * 2.
class Target : public IMessageTarget {
public:
    std::intptr_t HandleLoopMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t) override {
        handled.push_back(msg);
        handledOn = std::this_thread::get_id();
        if (onMessage) onMessage(msg);
        return static_cast<std::intptr_t>(wParam) * 2;
    }
    std::vector<unsigned> handled;
    std::thread::id handledOn;
    std::function<void(unsigned)> onMessage;
};

TEST(MessageLoopTest, PostedMessagesRunInOrderAndOnlyForLiveTargets) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    EXPECT_TRUE(CMessageLoop::PostMessage(h, WM_USER + 1));
    EXPECT_TRUE(CMessageLoop::PostMessage(h, WM_USER + 2));
    EXPECT_TRUE(target.handled.empty()) << "posting does not run the handler";
    EXPECT_EQ(driver.RunPending(), 2);
    EXPECT_EQ(target.handled, (std::vector<unsigned>{WM_USER + 1, WM_USER + 2}));
    // Messages still queued for a target that goes away are dropped with it.
    CMessageLoop::PostMessage(h, WM_USER + 3);
    driver.Loop().RemoveTarget(h);
    driver.RunPending();
    EXPECT_EQ(target.handled.size(), 2u);
    EXPECT_FALSE(CMessageLoop::PostMessage(h, WM_USER + 4));
    EXPECT_EQ(CMessageLoop::SendMessage(h, WM_USER + 5, 21), 0);
}

TEST(MessageLoopTest, SendFromTheLoopThreadRunsAtOnce) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    EXPECT_EQ(CMessageLoop::SendMessage(h, WM_USER, 21), 42);
    EXPECT_EQ(target.handled.size(), 1u);
}

TEST(MessageLoopTest, SendFromAnotherThreadBlocksUntilTheUiThreadHandlesIt) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    std::atomic<std::intptr_t> result{-1};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        result = CMessageLoop::SendMessage(h, 0x0C12, 5);
        returned = true;
    });
    // Until the UI thread runs its queue, the sender waits.
    // Real time on purpose: a sender that returned without its answer would show within it.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(returned.load());
    while (driver.RunPending() == 0) std::this_thread::yield();
    worker.join();
    EXPECT_EQ(result.load(), 10);
    EXPECT_EQ(target.handledOn, std::this_thread::get_id()) << "handled on the UI thread";
}

TEST(MessageLoopTest, ASenderIsReleasedWhenCancelledTargetGoneOrLoopDestroyed) {
    auto driver = std::make_unique<CHeadlessDriver>();
    Target target;
    WindowHandle h = driver->Loop().AddTarget(&target);
    // Cancelled while still queued: returns 0 and the handler never runs.
    platform::Event stop;
    std::thread cancelled([&] { EXPECT_EQ(CMessageLoop::SendMessage(h, WM_USER, 1, 0, &stop), 0); });
    // Real time on purpose: the send is blocked when its stop event is set.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop.Set();
    cancelled.join();
    driver->RunPending();
    EXPECT_TRUE(target.handled.empty());
    // Waiting while the window goes away.
    std::atomic<bool> done{false};
    std::thread orphaned([&] {
        EXPECT_EQ(CMessageLoop::SendMessage(h, WM_USER, 1), 0);
        done = true;
    });
    // Real time on purpose: the send is blocked when its target goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    driver->Loop().RemoveTarget(h);
    orphaned.join();
    EXPECT_TRUE(done.load());
    // Waiting while the whole loop is destroyed (shutdown with a worker mid-send).
    WindowHandle h2 = driver->Loop().AddTarget(&target);
    std::thread lastSend([&] { EXPECT_EQ(CMessageLoop::SendMessage(h2, WM_USER, 1), 0); });
    // Real time on purpose: the send is blocked when its loop goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    driver.reset();
    lastSend.join();
    EXPECT_TRUE(target.handled.empty());
}

TEST(MessageLoopTest, WakeHookTellsAnOuterLoopAboutQueuedWork) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    std::atomic<int> wakes{0};
    driver.Loop().SetWakeHook([&] { ++wakes; });
    std::thread worker([&] {
        CMessageLoop::PostMessage(h, WM_USER);
        driver.Loop().PostQuitMessage(0);
    });
    worker.join();
    EXPECT_EQ(wakes.load(), 2);
    EXPECT_EQ(driver.Loop().Run(), 0);
    EXPECT_EQ(target.handled.size(), 1u) << "the queued message ran before the loop ended";
    driver.Loop().SetWakeHook(nullptr);
    CMessageLoop::PostMessage(h, WM_USER);
    EXPECT_EQ(wakes.load(), 2);
}

TEST(MessageLoopTest, ACancelArrivingWhileTheHandlerRunsWaitsForIt) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    platform::Event stop;
    std::atomic<bool> handlerRunning{false};
    std::atomic<bool> handlerFinished{false};
    std::atomic<bool> senderReturnedEarly{false};
    // The handler uses something the sender owns, so the sender must not leave before it ends.
    target.onMessage = [&](unsigned) {
        handlerRunning = true;
        stop.Set();
        // Real time on purpose: a handler still running when the sender is released.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        handlerFinished = true;
    };
    std::intptr_t result = -1;
    std::thread sender([&] {
        result = CMessageLoop::SendMessage(h, WM_USER, 4, 0, &stop);
        senderReturnedEarly = !handlerFinished.load();
    });
    while (driver.RunPending() == 0) std::this_thread::yield();
    sender.join();
    EXPECT_TRUE(handlerRunning.load());
    EXPECT_FALSE(senderReturnedEarly.load());
    EXPECT_EQ(result, 8) << "the handler ran, so its result counts";
}

TEST(MessageLoopTest, TimersFireOnTheInjectedClock) {
    CHeadlessDriver driver;
    std::vector<std::pair<int, std::int64_t>> fired;
    int a = 0, b = 0;
    driver.Loop().SetTimer(&a, 1055, 400, [&] { fired.emplace_back(1055, driver.Now()); });
    driver.Loop().SetTimer(&b, 1011, 100, [&] { fired.emplace_back(1011, driver.Now()); });
    driver.RunPending();
    EXPECT_TRUE(fired.empty()) << "nothing is due before time passes";
    driver.Advance(450);
    // Every expiry on the way, in time order.
    std::vector<std::pair<int, std::int64_t>> expected{
        {1011, 100}, {1011, 200}, {1011, 300}, {1055, 400}, {1011, 400}};
    EXPECT_EQ(fired, expected);
    // Killing stops it; setting it again re-arms from now.
    fired.clear();
    EXPECT_TRUE(driver.Loop().KillTimer(&b, 1011));
    EXPECT_FALSE(driver.Loop().KillTimer(&b, 1011));
    driver.Loop().SetTimer(&a, 1055, 400, [&] { fired.emplace_back(1055, driver.Now()); });
    driver.Advance(399);
    EXPECT_TRUE(fired.empty());
    driver.Advance(1);
    EXPECT_EQ(fired.size(), 1u);
    // A timer that kills itself from its callback fires once.
    int c = 0;
    int count = 0;
    driver.Loop().SetTimer(&c, 1, 10, [&] {
        ++count;
        driver.Loop().KillTimer(&c, 1);
    });
    driver.Advance(100);
    EXPECT_EQ(count, 1);
}

TEST(MessageLoopTest, LateTimersFireOnceAndMessagesGoFirst) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    int owner = 0;
    std::vector<std::string> order;
    driver.Loop().SetTimer(&owner, 7, 10, [&] { order.push_back("timer"); });
    target.onMessage = [&](unsigned) { order.push_back("message"); };
    // A clock jump past many periods: one expiry, after the queued message.
    driver.Clock().Advance(1000);
    CMessageLoop::PostMessage(h, WM_USER);
    driver.RunPending();
    EXPECT_EQ(order, (std::vector<std::string>{"message", "timer"}));
}

TEST(MessageLoopTest, NestedModalRunsAndQuit) {
    CHeadlessDriver driver;
    Target target;
    WindowHandle h = driver.Loop().AddTarget(&target);
    bool innerDone = false;
    bool outerDone = false;
    std::vector<int> depths;
    // The outer modal run opens an inner one from a message handler.
    target.onMessage = [&](unsigned msg) {
        depths.push_back(driver.Loop().ModalDepth());
        if (msg == WM_USER + 1) {
            CMessageLoop::PostMessage(h, WM_USER + 2);
            EXPECT_TRUE(driver.Loop().RunModal([&] { return innerDone; }));
            outerDone = true;
        } else if (msg == WM_USER + 2) {
            innerDone = true;
        }
    };
    CMessageLoop::PostMessage(h, WM_USER + 1);
    EXPECT_TRUE(driver.Loop().RunModal([&] { return outerDone; }));
    EXPECT_EQ(depths, (std::vector<int>{1, 2}));
    // Quit ends every level; Run returns the code and the loop can run again later.
    int owner = 0;
    driver.Loop().SetTimer(&owner, 1, 50, [&] {
        EXPECT_FALSE(driver.Loop().RunModal([] { return false; }));
        driver.Loop().KillTimer(&owner, 1);
    });
    driver.Loop().SetTimer(&target, 2, 70, [&] { driver.Loop().PostQuitMessage(3); });
    EXPECT_EQ(driver.Loop().Run(), 3);
    EXPECT_FALSE(driver.Loop().IsQuitting());
}

TEST(MessageLoopTest, IdleHookAnswersAWaitingModalRun) {
    CHeadlessDriver driver;
    bool answered = false;
    int idleCalls = 0;
    driver.OnIdle([&] {
        ++idleCalls;
        answered = true;
        return true;
    });
    EXPECT_TRUE(driver.Loop().RunModal([&] { return answered; }));
    EXPECT_EQ(idleCalls, 1);
}

}  // namespace
