// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/WritePump.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace device {

namespace {

using Clock = std::chrono::steady_clock;

enum class WaitEnd { Done, Stopped, Cancelled, TimedOut };

// Waits for `done`, with the stop event first and the cancel event second in priority.
WaitEnd WaitForDone(platform::Event& done, platform::Event& stop, platform::Event* cancel,
                    bool forever, Clock::time_point deadline) {
    for (;;) {
        if (stop.IsSet()) return WaitEnd::Stopped;
        if (cancel && cancel->IsSet()) {
            cancel->Wait(0);  // takes the signal of an auto-reset event
            return WaitEnd::Cancelled;
        }
        if (done.IsSet()) return WaitEnd::Done;
        int timeout = -1;
        if (!forever) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return WaitEnd::TimedOut;
            timeout = static_cast<int>(left) + 1;
        }
        pollfd fds[3] = {{stop.fd(), POLLIN, 0}, {done.fd(), POLLIN, 0}, {cancel ? cancel->fd() : -1, POLLIN, 0}};
        if (::poll(fds, 3, timeout) < 0 && errno != EINTR) return WaitEnd::TimedOut;
    }
}

}  // namespace

struct WritePump::State {
    explicit State(std::shared_ptr<HidConnection> c) : connection(std::move(c)) {}

    std::shared_ptr<HidConnection> connection;
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<uint8_t> buffer;  // the bytes the kernel is given; owned here, not by the caller
    bool hasJob = false;
    bool busy = false;
    bool lastOk = false;
    bool quit = false;
    platform::Event done{platform::Event::Mode::ManualReset};

    void Run() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return hasJob || quit; });
            if (!hasJob) return;
            lock.unlock();
            const bool ok = connection->Write(buffer);
            lock.lock();
            hasJob = false;
            busy = false;
            lastOk = ok;
            done.Set();
            if (quit) return;
        }
    }
};

WritePump::WritePump(std::shared_ptr<HidConnection> connection)
    : state_(std::make_shared<State>(std::move(connection))) {}

WritePump::~WritePump() {
    std::unique_lock lock(state_->mutex);
    state_->quit = true;
    state_->wake.notify_all();
    const bool held = state_->busy;
    lock.unlock();
    if (!thread_.joinable()) return;
    if (held) {
        // The kernel still holds a transfer: the thread ends by itself when it returns,
        // and its reference keeps the buffer and the connection alive until then.
        thread_.detach();
    } else {
        thread_.join();
    }
}

bool WritePump::Busy() const {
    std::lock_guard lock(state_->mutex);
    return state_->busy;
}

WritePump::Result WritePump::Write(std::span<const uint8_t> report, int timeoutMs,
                                   platform::Event& stop, platform::Event* cancel) {
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    auto toResult = [](WaitEnd end) {
        return end == WaitEnd::TimedOut ? Result::TimedOut : Result::Cancelled;
    };

    // A transfer left over from a call that gave up is still the kernel's: wait for it.
    for (;;) {
        {
            std::lock_guard lock(state_->mutex);
            if (!state_->busy) break;
        }
        WaitEnd end = WaitForDone(state_->done, stop, cancel, forever, deadline);
        if (end != WaitEnd::Done) return toResult(end);
    }

    {
        std::lock_guard lock(state_->mutex);
        state_->buffer.assign(report.begin(), report.end());
        state_->hasJob = true;
        state_->busy = true;
        state_->done.Reset();
        if (!thread_.joinable()) {
            auto state = state_;
            thread_ = std::thread([state] { state->Run(); });
        }
        state_->wake.notify_one();
    }
    WaitEnd end = WaitForDone(state_->done, stop, cancel, forever, deadline);
    if (end != WaitEnd::Done) return toResult(end);
    std::lock_guard lock(state_->mutex);
    return state_->lastOk ? Result::Written : Result::Failed;
}

}  // namespace device
