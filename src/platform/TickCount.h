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

}  // namespace platform
