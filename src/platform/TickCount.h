// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tick counter the lighting speeds were tuned against: monotonic milliseconds
// that advance in steps of 15.625 ms (64 Hz), wrapping like a 32-bit millisecond count.
#include <cstdint>

namespace platform {

class Event;

constexpr double kTickStepMs = 15.625;

uint32_t TickCount();

// Sleeps until TickCount() has moved to its next step, or until `stop` is set.
// Returns false when the stop event ended the sleep (the signal is left in place
// for a manual-reset event).
bool SleepUntilNextTick(Event& stop);

// Sleeps until TickCount() has moved `steps` steps on (at least one), or until `stop` is set.
bool SleepTicks(Event& stop, unsigned steps);

// How many 15.625 ms steps lie between two TickCount() values (wrap-safe).
uint32_t TickStepsBetween(uint32_t earlier, uint32_t later);

}  // namespace platform
