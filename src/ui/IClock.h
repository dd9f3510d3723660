// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message loop's time source, in milliseconds. The system clock is the steady clock;
// tests inject a ManualClock so that timers fire without sleeping.
#include <cstdint>
#include <memory>

namespace ui {

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::int64_t NowMs() const = 0;
    // A manual clock only moves when told; an idle loop then jumps it to the next timer
    // instead of sleeping.
    virtual bool IsManual() const { return false; }
};

std::shared_ptr<IClock> SystemClock();

}  // namespace ui
