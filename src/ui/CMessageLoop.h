// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The UI thread's message loop: posted and sent window messages, tasks, window and
// control timers, nested modal loops and quit.
//
// Threads: Post*, SendMessage and PostQuitMessage may be called from any thread; all
// else belongs to the thread that created the loop. SendMessage from another thread
// blocks until the UI thread has handled the message (or the target is gone, the loop is
// destroyed, or the optional cancel event is set while the message still waits), and then
// returns the handler's result (0 when it never ran).
//
// Timers are low priority, as window timers are: they fire only when no message waits,
// at most once per expiry however late, and are then re-armed from the current time.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "ui/IClock.h"
#include "ui/UIDefs.h"

namespace platform {
class Event;
}

namespace ui {

class IMessageTarget;

class CMessageLoop {
public:
    // Becomes the current loop of the calling thread (the UI thread).
    explicit CMessageLoop(std::shared_ptr<IClock> clock = nullptr);
    ~CMessageLoop();  // releases waiting senders; the thread has no current loop afterwards
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    static CMessageLoop* Current();  // the calling thread's loop, or null
    IClock& Clock() const { return *m_clock; }
    std::int64_t Now() const { return m_clock->NowMs(); }
    bool IsLoopThread() const { return std::this_thread::get_id() == m_thread; }

    // ---- targets (UI thread). Handles are unique for the whole process.
    WindowHandle AddTarget(IMessageTarget* target);
    // Drops the target's queued messages (their senders get 0) and its timers.
    void RemoveTarget(WindowHandle handle);
    IMessageTarget* FindTarget(WindowHandle handle) const;

    // ---- any thread
    // False when no live window has that handle. `payload` is kept alive until the
    // handler returns (a message may point into it).
    static bool PostMessage(WindowHandle target, unsigned msg, std::uintptr_t wParam = 0,
                            std::intptr_t lParam = 0, std::shared_ptr<void> payload = {});
    static std::intptr_t SendMessage(WindowHandle target, unsigned msg, std::uintptr_t wParam = 0,
                                     std::intptr_t lParam = 0,
                                     platform::Event* cancel = nullptr);
    bool PostTask(std::function<void()> task);
    // Ends every running level of the loop once the messages queued so far have run;
    // Run returns `code`.
    void PostQuitMessage(int code = 0);

    // ---- running (UI thread)
    int Run();  // until quit; returns the quit code and clears the quit state
    // A nested loop that runs until `done` returns true (true) or the loop is quit (false).
    bool RunModal(const std::function<bool()>& done);
    bool IsQuitting() const;
    int ModalDepth() const { return m_modalDepth; }
    // Everything due now, without waiting; the number of messages, tasks and timers run.
    int RunPending();
    // Manual clock only: moves time forward in steps to each timer due on the way, running
    // what falls due; returns the work done. With a system clock it just runs what is due.
    int AdvanceTime(std::int64_t ms);
    // Called whenever a loop level has nothing to do, before it waits; return true when
    // it produced work. Tests answer dialogs from here.
    void SetIdleHook(std::function<bool()> hook) { m_idleHook = std::move(hook); }
    // Called on the posting thread (any thread) each time work is queued or quit is
    // posted, so that an outer event loop waiting in place of this one can wake up.
    void SetWakeHook(std::function<void()> hook);

    // ---- timers (UI thread). `owner` and `id` name a timer; setting it again re-arms it.
    void SetTimer(const void* owner, unsigned id, unsigned elapseMs, std::function<void()> fire);
    bool KillTimer(const void* owner, unsigned id);
    void KillTimers(const void* owner);
    bool HasTimer(const void* owner, unsigned id) const;
    std::optional<std::int64_t> NextTimerDue() const;

private:
    struct SendState;
    struct Item;
    struct Timer;

    bool Enqueue(Item item);
    bool RunOne();    // one queued item; false when the queue is empty
    bool FireOneTimer();
    void Dispatch(Item& item);
    void WaitForWork();

    std::shared_ptr<IClock> m_clock;
    std::thread::id m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Item> m_queue;
    bool m_quit = false;
    int m_quitCode = 0;
    bool m_closed = false;
    int m_modalDepth = 0;
    std::map<WindowHandle, IMessageTarget*> m_targets;
    std::vector<Timer> m_timers;
    std::uint64_t m_timerSerial = 0;
    std::function<bool()> m_idleHook;
    std::shared_ptr<const std::function<void()>> m_wakeHook;  // guarded by m_mutex
};

}  // namespace ui
