// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the skin library's message loop on Qt's event loop, on the UI thread.
//
// The library's loop stays the program's main loop (Run, nested modal runs, quit); when it
// has nothing to do it lets Qt wait for input instead of waiting itself, with one Qt timer
// armed for the library's next timer. Work that arrives while Qt waits (a post from a
// worker thread, input, a Qt nested loop such as a file dialog) is run by the pump, which
// then hands control back to the library's loop so that a modal run can see it ended.
//
// Nothing runs while nothing is due: no Qt timer is armed when the library has no timer.
// Posts from other threads reach Qt through Wake(). The library's loop cannot yet tell
// anyone that another thread queued work, so until it can, a pump polls for such work
// while idle: every PollIntervalMs() after activity, backing off to eight times that
// while the polls find nothing (0 = never, for programs without worker threads).
#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>

namespace ui {
class CMessageLoop;
}

namespace ui::qt {

class QtMessagePump : public QObject {
public:
    explicit QtMessagePump(CMessageLoop& loop, QObject* parent = nullptr);
    ~QtMessagePump() override;
    QtMessagePump(const QtMessagePump&) = delete;
    QtMessagePump& operator=(const QtMessagePump&) = delete;

    CMessageLoop& Loop() { return m_loop; }

    // The program's main loop: runs until the library's loop is quit; returns its code.
    int Run();
    // Runs everything due now, re-arms the timer and lets the windows follow; called
    // after every piece of Qt input handed to the library. Returns the work done.
    int Kick();
    // Any thread: have the UI thread look at the library's queue soon.
    void Wake();
    // Runs after every batch of library work (the desktop syncs its windows here).
    void SetAfterWork(std::function<void()> afterWork) { m_afterWork = std::move(afterWork); }

    // Whether the library's loop reports posts from other threads itself (then no polling).
    static bool LoopCanWake();
    int PollIntervalMs() const { return m_pollMs; }
    void SetPollIntervalMs(int ms) {
        m_pollMs = ms < 0 ? 0 : ms;
        m_currentPollMs = m_pollMs;
    }

    // For measurements: how often Qt woke the pump (its timer or a wake request).
    long long WakeUps() const { return m_wakeUps; }
    bool TimerArmed() const { return m_timer.isActive(); }

protected:
    bool event(QEvent* event) override;

private:
    bool Idle();  // the library loop's idle hook
    void ArmTimer();
    void ReturnToLoop();

    CMessageLoop& m_loop;
    QTimer m_timer;
    std::atomic<bool> m_wakePosted{false};
    std::function<void()> m_afterWork;
    int m_idleDepth = 0;
    int m_pollMs = 50;
    int m_currentPollMs = 50;
    long long m_wakeUps = 0;
    bool m_inAfterWork = false;
};

}  // namespace ui::qt
