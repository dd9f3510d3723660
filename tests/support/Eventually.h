// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting in a test for work another thread does: the condition is polled until it holds,
// so the test goes on as soon as the work is done and a loaded machine only makes it wait
// longer instead of failing it. The limit only ends a test whose work never comes.
#include <chrono>
#include <functional>
#include <thread>

namespace test_support {

inline constexpr std::chrono::milliseconds kEventualLimit{10000};

inline bool Eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds limit = kEventualLimit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        // The one poll interval of the tests: short against any limit, long enough to
        // leave the core to the thread being waited for.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace test_support
