// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The light thread of one device: each pass advances the running effect (counted in tick
// changes on the keyboard, in passes on the pad), or plays the light program, then lays
// the per-LED light list over the result.
//
// The animations are timed in passes of one millisecond, but waking a thread a thousand
// times a second costs power for nothing the eye can see: the loop wakes once per tick of
// TickCount (64 per second) and RunPass catches up the millisecond passes since the
// previous wake, so the pass-counted animations (light programs, light list, the pad)
// keep their speed.
// RunPass can be stepped without a thread, at any tick, for tests.
//
// The keyboard animates its own LEDs; the host's colours serve the preview, the streamed
// custom colours and LEDs the host drives. While none of them is wanted the thread
// sleeps until the state's wake event (or its stop event) is set, and starts the effect
// afresh when it wakes. A still effect (all off, static) with no light list entry that
// changes on its own sleeps the same way once it has drawn, until a setting changes.
#include <cstdint>
#include <span>
#include <string_view>

#include "model/lighting/CLightEffects.h"
#include "model/lighting/ModeTable.h"
#include "model/lighting/Relaxed.h"

namespace platform {
class Event;
}

namespace lighting {

enum class Counting {
    TickChanges,  // the count grows once per change of the tick counter (keyboard)
    EveryPass,    // the count grows once per millisecond pass (mouse pad)
};

struct LoopConfig {
    Counting counting;
    std::string_view exitText;  // traced when the thread ends
};

inline constexpr LoopConfig kKeyboardLoop{Counting::TickChanges, "KB灯光线程设定退出"};
inline constexpr LoopConfig kPadLoop{Counting::EveryPass, "MS灯光线程设定退出"};

// Where the thread body reads the tick counter and waits for it. The device's thread uses
// the real one; a test gives its own so that a run covers seconds of ticks at once and
// counts the same on a loaded machine as on an idle one.
class LoopTime {
public:
    virtual ~LoopTime() = default;
    virtual uint32_t Now() = 0;  // a TickCount() value
    // Sleeps `ticks` tick steps (at least one); false when `stop` ended the sleep.
    virtual bool SleepTicks(platform::Event& stop, unsigned ticks) = 0;
    // The pause while the command channel is closed; true when `stop` ended it.
    virtual bool PauseClosed(platform::Event& stop, int ms) = 0;
};

// TickCount() and real sleeps.
LoopTime& RealLoopTime();

class LightLoop {
public:
    enum class PassResult {
        Drawn,
        ChannelClosed,  // nothing done; the thread waits 100 ms
        Synchronised,   // the device follows the synchronised lighting: nothing drawn
    };
    // A wake after a longer gap (a stalled machine) catches up this many passes at most.
    static constexpr uint32_t kMaxCatchUpPasses = 1000;

    LightLoop(CLightEffects& effects, const LoopConfig& config);

    // What the thread does when it starts: t0 = now, counts from zero.
    void Restart(uint32_t now);
    // One wake of the thread at tick `now` (milliseconds, wrapping).
    PassResult RunPass(uint32_t now);

    // The thread body: runs passes until `stop` is set, sleeping until the next tick in
    // between (100 ms while the command channel is closed), then traces the exit text.
    void Run(platform::Event& stop);
    // The clock Run reads and sleeps on: the real one unless a test sets another before
    // the thread starts.
    void SetTime(LoopTime& time) { time_ = &time; }

    // Passes of Run so far, and the times it went to sleep because nobody wanted the
    // colours, for measuring and tests.
    uint64_t Wakeups() const { return wakeups_; }
    uint64_t Sleeps() const { return sleeps_; }

private:
    uint32_t PassesSince(uint32_t now);
    unsigned IdleTicks();
    bool Still();
    void StepEffect(const ModeRow& row, uint8_t speed, uint32_t passes);
    void PlayProgram(uint32_t passes, uint32_t now);

    CLightEffects& effects_;
    LightingState& state_;
    ILightingHost& host_;
    LoopConfig config_;
    LoopTime* time_;

    // Light thread only.
    uint32_t t0_ = 0;
    uint32_t count_ = 0;
    uint32_t lastPass_ = 0;
    bool started_ = false;
    bool stillDrawn_ = false;  // a still effect has drawn since the last wake
    Relaxed<uint64_t> wakeups_{0};
    Relaxed<uint64_t> sleeps_{0};
};

}  // namespace lighting
