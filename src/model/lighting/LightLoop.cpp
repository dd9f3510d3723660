// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/LightLoop.h"

#include <algorithm>
#include <mutex>

#include "platform/Event.h"
#include "platform/TickCount.h"
#include "platform/Trace.h"

namespace lighting {

namespace {

constexpr int kClosedWaitMs = 100;
constexpr uint32_t kMaxIdleTicks = 4;  // 62.5 ms

class TickCountTime final : public LoopTime {
public:
    uint32_t Now() override { return platform::TickCount(); }
    bool SleepTicks(platform::Event& stop, unsigned ticks) override {
        return platform::SleepTicks(stop, ticks);
    }
    bool PauseClosed(platform::Event& stop, int ms) override { return stop.Wait(ms); }
};

}  // namespace

LoopTime& RealLoopTime() {
    static TickCountTime time;
    return time;
}

LightLoop::LightLoop(CLightEffects& effects, const LoopConfig& config)
    : effects_(effects), state_(effects.State()), host_(effects.Host()), config_(config),
      time_(&RealLoopTime()) {}

void LightLoop::Restart(uint32_t now) {
    t0_ = now;
    count_ = 0;
    lastPass_ = now;
    started_ = true;
}

uint32_t LightLoop::PassesSince(uint32_t now) {
    const uint32_t passes =
        started_ ? std::clamp<uint32_t>(now - lastPass_, 1, kMaxCatchUpPasses) : 1;
    started_ = true;
    lastPass_ = now;
    return passes;
}

LightLoop::PassResult LightLoop::RunPass(uint32_t now) {
    state_.now = now;
    if (!host_.IsCommandChannelOpen() || host_.IsSynchronised()) {
        // Time spent idle is not caught up afterwards.
        lastPass_ = now;
        started_ = true;
        return host_.IsCommandChannelOpen() ? PassResult::Synchronised : PassResult::ChannelClosed;
    }
    const uint32_t passes = PassesSince(now);
    if (config_.counting == Counting::TickChanges && now - t0_ > 1) {
        // The thread may sleep several ticks at once (IdleTicks); count every change missed.
        count_ += std::max<uint32_t>(1, platform::TickStepsBetween(t0_, now));
        t0_ = now;
    }

    const ModeRow& row = RowOf(effects_.Modes(), state_.settings.ThreadMode());
    if (row.step == EffectOp::Playback) {
        if (config_.counting == Counting::EveryPass)
            count_ = count_ + passes < count_ ? UINT32_MAX : count_ + passes;
        PlayProgram(passes, now);
    } else {
        StepEffect(row, state_.settings.ThreadSpeed(), passes);
    }

    std::lock_guard lock(host_.LightListLock());
    state_.lightList.Apply(state_.colours, std::clamp(host_.LedCount(), 0, kLedSlots), passes, now);
    return PassResult::Drawn;
}

void LightLoop::StepEffect(const ModeRow& row, uint8_t speed, uint32_t passes) {
    const uint32_t threshold = row.ThresholdOf(speed);
    if (config_.counting == Counting::TickChanges) {
        if (count_ < threshold) return;
        count_ = 0;
        effects_.RunStep(row.step);
        stillDrawn_ = true;
        return;
    }
    for (uint32_t i = 0; i < passes; ++i) {
        if (++count_ < threshold) continue;
        count_ = 0;
        effects_.RunStep(row.step);
        stillDrawn_ = true;
    }
}

bool LightLoop::Still() {
    const EffectOp op = RowOf(effects_.Modes(), state_.settings.ThreadMode()).step;
    if (op != EffectOp::EffectAllOff && op != EffectOp::EffectStatic) return false;
    if (!stillDrawn_) return false;
    std::lock_guard lock(host_.LightListLock());
    return !state_.lightList.HasActiveEntries();
}

void LightLoop::PlayProgram(uint32_t passes, uint32_t now) {
    const int ledCount = std::clamp(host_.LedCount(), 0, kLedSlots);
    for (uint32_t i = 0; i < passes; ++i) {
        if (!state_.program.Pass(state_.colours, ledCount, state_.settings.Speed(), now,
                                 host_.LightStepLock())) {
            effects_.EffectAllOff();
            return;
        }
    }
}

// A stepping mode with no light list to animate changes nothing until its threshold is
// reached, so the thread sleeps up to then instead of waking on every tick. The sleep is
// capped so that a new mode or a key press shows within a few ticks.
unsigned LightLoop::IdleTicks() {
    if (config_.counting != Counting::TickChanges) return 1;
    const ModeRow& row = RowOf(effects_.Modes(), state_.settings.ThreadMode());
    if (row.step == EffectOp::Playback) return 1;
    {
        std::lock_guard lock(host_.LightListLock());
        if (state_.lightList.HasActiveEntries()) return 1;
    }
    const uint32_t threshold = row.ThresholdOf(state_.settings.ThreadSpeed());
    const uint32_t left = threshold > count_ ? threshold - count_ : 1;
    return static_cast<unsigned>(std::clamp<uint32_t>(left, 1, kMaxIdleTicks));
}

void LightLoop::Run(platform::Event& stop) {
    state_.wake.Reset();  // what happened before the start is seen by the first pass
    Restart(time_->Now());
    while (!stop.IsSet()) {
        if (!effects_.ColoursWanted()) {
            sleeps_ = sleeps_ + 1;
            if (platform::Event::WaitAny(stop, state_.wake, -1) != 1) break;
            // The time asleep is not caught up: the effect starts afresh.
            Restart(time_->Now());
            stillDrawn_ = false;
            effects_.RestartEffect();
            continue;
        }
        wakeups_ = wakeups_ + 1;
        if (RunPass(time_->Now()) == PassResult::ChannelClosed) {
            if (time_->PauseClosed(stop, kClosedWaitMs)) break;
            continue;
        }
        if (Still()) {
            // Nothing on the picture can change until a setting, the light list or a
            // colour does, and each of those sets the wake event.
            sleeps_ = sleeps_ + 1;
            state_.resting.store(true, std::memory_order_release);
            const int woken = platform::Event::WaitAny(stop, state_.wake, -1);
            state_.resting.store(false, std::memory_order_release);
            if (woken != 1) break;
            host_.OnLightThreadWakes();
            stillDrawn_ = false;
            continue;
        }
        if (!time_->SleepTicks(stop, IdleTicks())) break;
    }
    platform::Trace(config_.exitText);
}

}  // namespace lighting
