// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The time limit on calls into a library that may hang: a call that runs longer than the
// limit marks the library hung, and a hung library is not called again. The rule counts
// each call on its own, from the very first one (loading included), so a sequence of
// calls stops at the first that hangs instead of running into the next ones.
//
// Threads: Begin and End from the one thread that calls the library; Hung from any.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace device::audio {

class CallWatch {
public:
    using Clock = std::function<std::int64_t()>;  // milliseconds, monotonic

    explicit CallWatch(int limitMs, Clock clock = {});

    // False (and the call must not be made) once the library is hung; else the call's
    // start is noted.
    bool Begin();
    // The call returned: one that took longer than the limit marks the library hung.
    void End();
    // A call ran past the limit, or the one under way has been running longer than it.
    bool Hung() const;
    int LimitMs() const { return limitMs_; }

    // Begin and End around one call, as a scope.
    class Call {
    public:
        explicit Call(CallWatch* watch) : watch_(watch), allowed_(!watch || watch->Begin()) {}
        ~Call() {
            if (watch_ != nullptr && allowed_) watch_->End();
        }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;
        bool Allowed() const { return allowed_; }

    private:
        CallWatch* watch_;
        bool allowed_;
    };

private:
    std::int64_t Now() const;

    int limitMs_;
    Clock clock_;
    std::atomic<std::int64_t> startedMs_{-1};  // -1 while no call runs
    std::atomic<bool> hung_{false};
};

}  // namespace device::audio
