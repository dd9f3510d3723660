// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "run until idle" step of the device tests: turns the UI loops until the devices'
// workers have nothing left and every completion has run, which is what a user sees once
// a device has answered. Nothing here waits for a time to pass: it turns the loops as
// long as they have work and only rests while a worker thread is still busy.
#include <chrono>
#include <functional>
#include <initializer_list>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "ui/CMessageLoop.h"

namespace test_support {

// False when the work did not end within `limit` (an operation that never completes).
inline bool RunUntilIdle(std::initializer_list<ui::CMessageLoop*> loopList,
                         const std::function<bool()>& idle,
                         std::chrono::milliseconds limit = kEventualLimit) {
    const std::vector<ui::CMessageLoop*> loops(loopList);
    const auto turn = [&] {
        int ran = 0;
        for (ui::CMessageLoop* loop : loops)
            if (loop != nullptr) ran += loop->RunPending();
        return ran;
    };
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const int ran = turn();
        // A completion counts as work until it ran, so idle holds only when a second
        // turn after it finds nothing either.
        if (ran == 0 && idle() && turn() == 0) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        if (ran == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace test_support
