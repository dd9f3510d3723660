// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <stdexcept>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, or -1 for "no limit".
int Remaining(bool forever, Clock::time_point deadline) {
    if (forever) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    // Round up so that a wait never returns early because of truncation.
    return left.count() <= 0 ? 0 : static_cast<int>(left.count()) + 1;
}

bool PollFds(pollfd* fds, nfds_t count, int timeoutMs) {
    for (;;) {
        int r = ::poll(fds, count, timeoutMs);
        if (r >= 0) return r > 0;
        if (errno != EINTR) return false;
    }
}

}  // namespace

Event::Event(Mode mode, bool initiallySet) : mode_(mode) {
    fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("eventfd failed");
    if (initiallySet) Set();
}

Event::~Event() {
    if (fd_ >= 0) ::close(fd_);
}

void Event::Set() {
    std::lock_guard lock(mutex_);
    if (set_) return;
    set_ = true;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    if (!set_) return;
    set_ = false;
    uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(fd_, &value, sizeof value);
}

bool Event::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool Event::TryTake() {
    std::lock_guard lock(mutex_);
    if (!set_) return false;
    if (mode_ == Mode::AutoReset) {
        set_ = false;
        uint64_t value;
        [[maybe_unused]] ssize_t n = ::read(fd_, &value, sizeof value);
    }
    return true;
}

bool Event::Wait(int timeoutMs) {
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        if (TryTake()) return true;
        int left = Remaining(forever, deadline);
        if (left == 0) return false;
        pollfd p{fd_, POLLIN, 0};
        // Another waiter may take an auto-reset signal between poll and TryTake: loop.
        PollFds(&p, 1, left);
    }
}

int Event::WaitAny(Event& first, Event& second, int timeoutMs) {
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        if (first.TryTake()) return 0;
        if (second.TryTake()) return 1;
        int left = Remaining(forever, deadline);
        if (left == 0) return -1;
        pollfd p[2] = {{first.fd_, POLLIN, 0}, {second.fd_, POLLIN, 0}};
        PollFds(p, 2, left);
    }
}

}  // namespace platform
