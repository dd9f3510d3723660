// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Win32-style event: manual- or auto-reset, waitable with a time limit, and
// pollable beside a device fd. fd() is readable exactly while the event is set,
// so a worker can poll() it together with a hidraw fd; after such a poll, call
// Wait(0) to take the signal (an auto-reset event is consumed by that call).
#include <mutex>

namespace platform {

class Event {
public:
    enum class Mode { ManualReset, AutoReset };

    explicit Event(Mode mode = Mode::ManualReset, bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;  // a peek: never consumes an auto-reset signal

    // True when the event was (or became) set within timeoutMs; a negative limit waits
    // forever. An auto-reset event is reset by the wait that takes it: one Set, one waiter.
    bool Wait(int timeoutMs);

    // Waits for either event, `first` checked first (put the stop event there).
    // Returns 0 or 1 for the event that ended the wait, -1 on time-out.
    static int WaitAny(Event& first, Event& second, int timeoutMs);

    int fd() const { return fd_; }

private:
    bool TryTake();  // takes the signal if set; auto-reset consumes it

    const Mode mode_;
    int fd_ = -1;
    mutable std::mutex mutex_;
    bool set_ = false;
};

}  // namespace platform
