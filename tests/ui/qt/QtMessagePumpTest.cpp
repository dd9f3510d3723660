// SPDX-License-Identifier: GPL-3.0-or-later
// The library's loop on Qt's: timers, posts and blocking sends from worker threads,
// nested modal runs and quit all work, and an idle loop arms nothing.
#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <thread>

#include "QtTestSupport.h"
#include "ui/IMessageTarget.h"

namespace {

constexpr unsigned kAsk = ui::WM_USER + 1;
constexpr unsigned kQuit = ui::WM_USER + 2;

// A window of the loop that answers kAsk with 42 and quits on kQuit.
class Answerer : public ui::IMessageTarget {
public:
    explicit Answerer(ui::CMessageLoop& loop) : m_loop(loop), handle(loop.AddTarget(this)) {}
    ~Answerer() override { m_loop.RemoveTarget(handle); }
    std::intptr_t HandleLoopMessage(unsigned msg, std::uintptr_t, std::intptr_t) override {
        if (msg == kAsk) {
            ++asked;
            return 42;
        }
        if (msg == kQuit) m_loop.PostQuitMessage(7);
        return 0;
    }

    ui::CMessageLoop& m_loop;
    ui::WindowHandle handle;
    int asked = 0;
};

TEST(QtMessagePumpTest, WorkerSendBlocksUntilTheUiThreadAnswers) {
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    Answerer target(loop);
    std::atomic<std::intptr_t> answer{0};
    std::thread worker([&] {
        answer = ui::CMessageLoop::SendMessage(target.handle, kAsk);
        ui::CMessageLoop::PostMessage(target.handle, kQuit);
    });
    const int code = pump.Run();
    worker.join();
    EXPECT_EQ(code, 7);
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(target.asked, 1);
}

TEST(QtMessagePumpTest, TimersFireOnTimeWithoutBusyWaiting) {
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    pump.SetPollIntervalMs(0);
    int fired = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 at = 0;
    loop.SetTimer(&fired, 1, 60, [&] {
        ++fired;
        at = clock.elapsed();
        loop.KillTimer(&fired, 1);
        loop.PostQuitMessage(0);
    });
    pump.Run();
    EXPECT_EQ(fired, 1);
    EXPECT_GE(at, 59);
    EXPECT_LT(at, 1000);
    EXPECT_LE(pump.WakeUps(), 3);  // one wake for the timer, not a spin
}

TEST(QtMessagePumpTest, ModalRunInsideTheLoopEndsWhenItsWindowSaysSo) {
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    bool done = false;
    bool finished = false;
    loop.PostTask([&] {
        loop.SetTimer(&done, 1, 30, [&] {
            loop.KillTimer(&done, 1);
            done = true;
        });
        finished = loop.RunModal([&] { return done; });
        loop.PostQuitMessage(0);
    });
    pump.Run();
    EXPECT_TRUE(finished);
}

TEST(QtMessagePumpTest, QtNestedLoopsStillRunTheLibrarysWork) {
    // A native dialog's own loop (here Qt's wait) must not freeze the library.
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    int fired = 0;
    loop.SetTimer(&fired, 1, 20, [&] { ++fired; });
    pump.Kick();
    QTest::qWait(150);
    EXPECT_GE(fired, 3);
    loop.KillTimer(&fired, 1);
}

TEST(QtMessagePumpTest, IdleLoopArmsNoTimer) {
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    pump.SetPollIntervalMs(0);
    int fired = 0;
    loop.SetTimer(&fired, 1, 1000, [&] { ++fired; });
    pump.Kick();
    EXPECT_TRUE(pump.TimerArmed());
    loop.KillTimer(&fired, 1);
    pump.Kick();
    EXPECT_FALSE(pump.TimerArmed());
    QTest::qWait(100);
    EXPECT_EQ(pump.WakeUps(), 0);
}

TEST(QtMessagePumpTest, WorkerQuitEndsTheLoop) {
    ui::CMessageLoop loop;
    ui::qt::QtMessagePump pump(loop);
    std::thread worker([&] { loop.PostQuitMessage(3); });
    EXPECT_EQ(pump.Run(), 3);
    worker.join();
}

}  // namespace
