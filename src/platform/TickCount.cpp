// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TickCount.h"

#include <poll.h>
#include <time.h>

#include <cerrno>

#include "platform/Event.h"

namespace platform {

namespace {

constexpr int64_t kStepNs = 15'625'000;  // 1/64 s

int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

}  // namespace

uint32_t TickCount() {
    const int64_t steps = MonotonicNs() / kStepNs;
    // 15.625 ms = 125/8 ms; the result wraps like a 32-bit millisecond counter.
    return static_cast<uint32_t>(static_cast<uint64_t>(steps) * 125 / 8);
}

bool SleepUntilNextTick(Event& stop) { return SleepTicks(stop, 1); }

uint32_t TickStepsBetween(uint32_t earlier, uint32_t later) {
    // Both values are whole steps rounded down to the millisecond, so the difference is
    // within a millisecond of n * 15.625: rounding recovers n.
    const uint64_t ms = static_cast<uint32_t>(later - earlier);
    return static_cast<uint32_t>((ms * 8 + 62) / 125);
}

bool SleepTicks(Event& stop, unsigned steps) {
    const int64_t next = (MonotonicNs() / kStepNs + (steps == 0 ? 1 : steps)) * kStepNs;
    for (;;) {
        if (stop.IsSet()) return false;
        const int64_t left = next - MonotonicNs();
        if (left <= 0) return true;
        timespec timeout{static_cast<time_t>(left / 1'000'000'000),
                         static_cast<long>(left % 1'000'000'000)};
        pollfd p{stop.fd(), POLLIN, 0};
        int r = ::ppoll(&p, 1, &timeout, nullptr);
        if (r > 0 && stop.IsSet()) return false;
        if (r < 0 && errno != EINTR) return !stop.IsSet();
    }
}

}  // namespace platform
