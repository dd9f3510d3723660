// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock that moves only when told (tests and the headless driver).
#include <atomic>

#include "ui/IClock.h"

namespace ui {

class ManualClock : public IClock {
public:
    explicit ManualClock(std::int64_t startMs = 0) : m_now(startMs) {}
    std::int64_t NowMs() const override { return m_now.load(); }
    bool IsManual() const override { return true; }
    void Advance(std::int64_t ms) { m_now += ms; }
    void Set(std::int64_t ms) { m_now = ms; }

private:
    std::atomic<std::int64_t> m_now;
};

}  // namespace ui
