// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/audio/CallWatch.h"

#include "platform/Trace.h"

namespace device::audio {

CallWatch::CallWatch(int limitMs, Clock clock) : limitMs_(limitMs), clock_(std::move(clock)) {}

std::int64_t CallWatch::Now() const {
    if (clock_) return clock_();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool CallWatch::Begin() {
    if (hung_.load()) return false;
    startedMs_.store(Now());
    return true;
}

void CallWatch::End() {
    const std::int64_t started = startedMs_.exchange(-1);
    if (started >= 0 && Now() - started > limitMs_ && !hung_.exchange(true))
        platform::TraceF("audio library call took %lld ms: not called again\n",
                         static_cast<long long>(Now() - started));
}

bool CallWatch::Hung() const {
    if (hung_.load()) return true;
    const std::int64_t started = startedMs_.load();
    return started >= 0 && Now() - started > limitMs_;
}

}  // namespace device::audio
