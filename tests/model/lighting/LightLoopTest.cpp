// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "model/lighting/ColourTables.h"
#include "model/lighting/LightingTestRig.h"
#include "platform/Event.h"
#include "platform/Trace.h"
#include "platform/WorkerThread.h"

namespace lighting::test {
namespace {

LightSetting ListEntry(uint8_t mode, Rgb colour, uint8_t brightness = 5, uint8_t speed = 4) {
    LightSetting s = Setting(mode, brightness, speed, 0, false, colour);
    s.present = 1;
    return s;
}

TEST(LightLoop, KeyboardStepsOnceTheTickChangesReachTheThreshold) {
    KeyboardRig rig;
    rig.Apply(Setting(4, 5, 0, 1));  // threshold 5
    rig.StartLoop();
    rig.RunTicks(4);
    EXPECT_EQ(rig.Effect().phase, 0);
    EXPECT_EQ(rig.Led(0), Rgba{});
    rig.RunTicks(1);
    EXPECT_EQ(rig.Effect().phase, 1);
    EXPECT_EQ(rig.Led(0), Rgba(kColourWheel[1], 255));
    // Waking again within the same tick counts nothing.
    for (int i = 0; i < 10; ++i) rig.engine.Loop().RunPass(TickAt(rig.tick));
    rig.RunTicks(4);
    EXPECT_EQ(rig.Effect().phase, 1);
    rig.RunTicks(1);
    EXPECT_EQ(rig.Effect().phase, 2);
}

TEST(LightLoop, WakingEveryFewTicksStepsOnTheSameTicksAsWakingEveryTick) {
    KeyboardRig every, sparse;
    for (auto* rig : {&every, &sparse}) {
        rig->Apply(Setting(4, 5, 2, 1));  // threshold 3
        rig->StartLoop();
    }
    for (int i = 0; i < 12; ++i) {
        every.RunTicks(1);
        if (i % 3 == 2) {  // the sparse loop sleeps three ticks at a time
            sparse.tick += 3;
            sparse.engine.Loop().RunPass(TickAt(sparse.tick));
            EXPECT_EQ(sparse.Effect().phase, every.Effect().phase) << "tick " << i;
        }
    }
    EXPECT_EQ(every.Effect().phase, 4);
}

// The thread body's clock in virtual ticks: a sleep moves the counter on at once, and the
// run ends once it reaches `endMs`, as if stopped then.
class TickSteps final : public LoopTime {
public:
    explicit TickSteps(uint32_t endMs) : endMs_(endMs) {}
    uint32_t Now() override { return static_cast<uint32_t>(steps_ * 15625 / 1000); }
    bool SleepTicks(platform::Event&, unsigned ticks) override {
        steps_ += ticks == 0 ? 1 : ticks;
        return Now() < endMs_;
    }
    bool PauseClosed(platform::Event&, int ms) override {
        steps_ += (static_cast<uint64_t>(ms) * 1000 + 15624) / 15625;
        return Now() >= endMs_;
    }

private:
    uint64_t steps_ = 0;
    uint32_t endMs_;
};

TEST(LightLoop, ThreadWakesLessOftenInASlowModeThanWithALightListToAnimate) {
    auto wakeupsOver = [](bool withLightList) {
        KeyboardRig rig;
        rig.Apply(Setting(4, 5, 0, 1));  // threshold 5
        if (withLightList) rig.engine.Effects().LoadLightList({ListEntry(2, kUser)});
        TickSteps time(400);
        rig.engine.Loop().SetTime(time);
        platform::Event stop;
        rig.engine.Loop().Run(stop);
        return rig.engine.Loop().Wakeups();
    };
    const uint64_t slow = wakeupsOver(false);
    const uint64_t animated = wakeupsOver(true);
    EXPECT_GT(animated, 18u);      // about 25 in 400 ms: one per tick
    EXPECT_LT(slow * 2, animated);  // about 7: one per four ticks
}

TEST(LightLoop, ClosedOrSynchronisedDevicesGetNothingDrawn) {
    KeyboardRig rig;
    rig.Apply(Setting(4, 5, 4, 1));
    rig.Fx().SetLedColour(0, kSentinel.ToWord());
    rig.StartLoop();
    rig.host.open = false;
    EXPECT_EQ(rig.engine.Loop().RunPass(TickAt(++rig.tick)), LightLoop::PassResult::ChannelClosed);
    rig.host.open = true;
    rig.host.synchronised = true;
    EXPECT_EQ(rig.engine.Loop().RunPass(TickAt(++rig.tick)), LightLoop::PassResult::Synchronised);
    EXPECT_EQ(rig.Led(0), kSentinel);
    rig.host.synchronised = false;
    EXPECT_EQ(rig.engine.Loop().RunPass(TickAt(++rig.tick)), LightLoop::PassResult::Drawn);
    EXPECT_NE(rig.Led(0), kSentinel);
}

TEST(LightLoop, PadCountsEveryMillisecondPassAndCatchesUpNoIdleTime) {
    PadRig rig;
    rig.Apply(Setting(1, 5, 4, 1));  // spectrum, every 7 passes
    rig.StartLoop(64);
    rig.RunTicks(1);  // 15 ms
    EXPECT_EQ(rig.Effect().phase, 2);
    rig.RunTicks(7);  // 125 ms in all: 17 steps
    EXPECT_EQ(rig.Effect().phase, 17);

    rig.host.open = false;
    rig.RunTicks(64);
    rig.host.open = true;
    rig.RunTicks(1);  // 6 passes counted before + 15 now: three steps, not a second's worth
    EXPECT_EQ(rig.Effect().phase, 20);
}

TEST(LightLoop, PlaybackOfAnEmptyProgramIsDark) {
    KeyboardRig rig;
    rig.Apply(Setting(19));
    for (int n = 0; n < kLedSlots; ++n) rig.Fx().SetLedColour(n, kSentinel.ToWord());
    rig.StartLoop();
    rig.RunTicks(1);
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(rig.Led(n), Rgba{}) << n;

    rig.Fx().LoadLightSteps({ProgramStep(1, {255, 0, 0}, 1000)});
    rig.RunTicks(1);
    EXPECT_EQ(rig.Led(0), Rgba(255, 0, 0, 255));
    rig.Fx().LoadLightSteps({});
    rig.RunTicks(1);
    EXPECT_EQ(rig.Led(0), Rgba{});
}

TEST(LightLoop, ProgramStepsEndAfterTheirTimeAndANegativeTimeNever) {
    KeyboardRig rig;
    rig.Apply(Setting(31));
    rig.Fx().LoadLightSteps({ProgramStep(1, {255, 0, 0}, 100), ProgramStep(1, {0, 255, 0}, 0),
                             ProgramStep(1, {0, 0, 255}, -1)});
    rig.StartLoop();
    rig.RunTicks(7);  // the step's time runs from the first pass: 94 ms
    EXPECT_EQ(rig.engine.State().program.StepIndex(), 0u);
    EXPECT_EQ(rig.Led(0), Rgba(255, 0, 0, 255));
    rig.RunTicks(1);  // 110 ms: more than 100
    EXPECT_EQ(rig.engine.State().program.StepIndex(), 1u);
    rig.RunTicks(1);  // time 0 ends as soon as the tick has moved
    EXPECT_EQ(rig.engine.State().program.StepIndex(), 2u);
    EXPECT_EQ(rig.Led(0), Rgba(0, 0, 255, 255));
    rig.RunTicks(1000);
    EXPECT_EQ(rig.engine.State().program.StepIndex(), 2u);
}

TEST(LightLoop, ProgramCyclesAndBreathesAtItsPassPeriod) {
    KeyboardRig rig;
    rig.Apply(Setting(0));
    rig.Fx().LoadLightSteps({ProgramStep(0, {0, 0, 200}, 1000), ProgramStep(4, kUser, 1000)});
    rig.StartLoop(64);
    rig.RunTicks(8);  // 125 passes, a breath step every 7: phase 17
    EXPECT_EQ(rig.Led(125), Rgba(0, 0, 200, Scale(255, kBreathCurve[17])));
    rig.RunTicks(64);  // past 1000 ms: the wave step
    EXPECT_EQ(rig.engine.State().program.StepIndex(), 1u);
    rig.RunTicks(64);
    EXPECT_EQ(rig.engine.State().program.StepIndex(), 0u);
}

TEST(LightLoop, WaveStepRunsBothWays) {
    KeyboardRig rig;
    rig.Apply(Setting(0));
    LightStep forward = ProgramStep(4, kUser, -1, 4, 1);
    rig.Fx().LoadLightSteps({forward});
    rig.StartLoop();
    rig.RunTicks(1);  // 15 passes: two wave steps, wave phase 2, h = 3
    EXPECT_EQ(rig.Led(0), Rgba(kColourWheel[3], 255));
    EXPECT_EQ(rig.Led(1), Rgba(kColourWheel[15], 255));

    LightStep back = forward;
    back.direction = 1;
    KeyboardRig other;
    other.Apply(Setting(0));
    other.Fx().LoadLightSteps({back});
    other.StartLoop();
    other.RunTicks(1);  // wave phase 2: -2 - 64 = 190
    EXPECT_EQ(other.Led(0), Rgba(kColourWheel[190], 255));
    EXPECT_EQ(other.Led(1), Rgba(kColourWheel[10], 255));

    back.multiColour = 0;
    other.Fx().LoadLightSteps({back});
    other.RunTicks(1);  // wave phase 4: h = 188, w = 200 mod 96 = 8
    EXPECT_EQ(other.Led(0), Rgba(kUser, Scale(255, kWaveCurve[8])));
    EXPECT_EQ(other.Led(1), Rgba(kUser, Scale(255, kWaveCurve[20])));
}

TEST(LightLoop, LightListOverridesItsOwnLedsOnly) {
    PadRig rig;
    rig.Apply(Setting(3, 5, 4, 1, false, kUser));  // pad static
    std::vector<LightSetting> list(20);
    list[1] = ListEntry(1, {255, 0, 0}, 3);
    list[2] = ListEntry(4, {255, 0, 0});
    list[3] = ListEntry(2, {0, 255, 0});   // blink every 1400 ms
    list[16] = ListEntry(1, {255, 0, 0});  // beyond the pad's 15 LEDs
    rig.Fx().LoadLightList(list);
    rig.StartLoop(64);
    rig.RunTicks(7);
    EXPECT_EQ(rig.Led(0), Rgba(kUser, 255));
    EXPECT_EQ(rig.Led(1), Rgba(255, 0, 0, 162));
    EXPECT_EQ(rig.Led(2), Rgba{});
    EXPECT_EQ(rig.Led(3), Rgba{});  // 1109 ms since the start of the clock: still off
    EXPECT_EQ(rig.Led(16), Rgba{});
    rig.RunTicks(20);  // 1421 ms
    EXPECT_EQ(rig.Led(3), Rgba(0, 255, 0, 255));
}

TEST(LightLoop, LoadingTheLightListRestartsItsBreathing) {
    KeyboardRig rig;
    rig.Apply(Setting(6, 5, 4, 1, false, kUser));
    std::vector<LightSetting> list{ListEntry(0, {0, 0, 255})};
    rig.Fx().LoadLightList(list);
    rig.StartLoop(64);
    rig.RunTicks(8);
    EXPECT_EQ(rig.Led(0), Rgba(0, 0, 255, Scale(255, kBreathCurve[17])));
    rig.Fx().LoadLightList(list);
    rig.RunTicks(1);
    EXPECT_EQ(rig.Led(0), Rgba(0, 0, 255, Scale(255, kBreathCurve[2])));
}

class TraceCapture {
public:
    TraceCapture() {
        platform::SetTraceSink([this](std::string_view text) {
            std::lock_guard lock(mutex_);
            text_ += text;
        });
    }
    ~TraceCapture() { platform::SetTraceSink({}); }
    std::string Text() {
        std::lock_guard lock(mutex_);
        return text_;
    }

private:
    std::mutex mutex_;
    std::string text_;
};

TEST(LightThread, WakesAtMostOncePerTickWhileTheUiAndListenerWork) {
    TraceCapture trace;
    KeyboardRig rig;
    rig.host.keyCodes[45] = 4;
    rig.Apply(Setting(29, 5, 4, 1));
    platform::WorkerThread thread;
    thread.Start([&](platform::Event& stop) { rig.engine.RunThread(stop); });

    FakePreviewSink sink(kLedSlots);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500);
         ++i) {
        rig.Fx().OnKeyEvent(
            4, i % 2 ? CKeyboardLightEffects::kRelease : CKeyboardLightEffects::kPress);
        rig.Fx().RefreshKeyPreview(sink);
        if (i % 50 == 0) rig.Apply(Setting(i % 100 ? 29 : 8, 5, 4, 1));
        if (i % 30 == 0) rig.Fx().LoadLightList({ListEntry(1, {1, 1, 1})});
        // Real time on purpose: the UI's changes must land while the thread runs passes.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(thread.Stop(1000), platform::WorkerThread::StopResult::Ended);
    const uint64_t wakeups = rig.engine.Loop().Wakeups();
    EXPECT_GE(wakeups, 10u);
    EXPECT_LE(wakeups, static_cast<uint64_t>(64 * seconds + 3));
    EXPECT_EQ(trace.Text(), "KB灯光线程设定退出");
    EXPECT_TRUE(sink.shown[45].overlay);
}

TEST(LightThread, IdlesInLongWaitsWhileTheDeviceIsAway) {
    TraceCapture trace;
    PadRig rig;
    rig.host.open = false;
    platform::WorkerThread thread;
    thread.Start([&](platform::Event& stop) { rig.engine.RunThread(stop); });
    // Real time on purpose: how rarely a thread wakes while it waits on the clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    const auto stopAt = std::chrono::steady_clock::now();
    EXPECT_EQ(thread.Stop(1000), platform::WorkerThread::StopResult::Ended);
    EXPECT_LT(std::chrono::steady_clock::now() - stopAt, std::chrono::milliseconds(90));
    EXPECT_LE(rig.engine.Loop().Wakeups(), 5u);
    EXPECT_EQ(trace.Text(), "MS灯光线程设定退出");
}

}  // namespace
}  // namespace lighting::test
