// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting engine's costs: one step of each keyboard mode (the dearest one is the
// figure to watch), a light-program pass and the light-list overlay; and a real light
// thread in mode 4 for a few seconds, for its CPU share and its wake-ups per second.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "model/lighting/LightEngine.h"
#include "platform/TickCount.h"
#include "platform/WorkerThread.h"

namespace {

using namespace lighting;

class BenchHost : public IKeyboardLightingHost {
public:
    bool IsCommandChannelOpen() const override { return true; }
    bool IsSynchronised() const override { return false; }
    int LedCount() const override { return kLedSlots; }
    std::mutex& LightStepLock() override { return stepLock_; }
    std::mutex& LightListLock() override { return listLock_; }
    void StreamCustomColours() override {}
    void LoadCustomColours() override {}
    int KeyCodeOfLed(int led) const override { return led; }

private:
    std::mutex stepLock_;
    std::mutex listLock_;
};

LightSetting Mode(uint8_t mode, bool multi = true) {
    LightSetting s;
    s.mode = mode;
    s.brightness = 5;
    s.speed = 4;
    s.direction = 1;
    s.multiColour = multi ? 1 : 0;
    s.red = 200;
    return s;
}

void BM_Step(benchmark::State& state) {
    const auto mode = static_cast<uint8_t>(state.range(0));
    BenchHost host;
    KeyboardLightEngine engine(host);
    engine.Effects().ApplySettings(Mode(mode));
    const EffectOp op = RowOf(kKeyboardModes, mode).step;
    uint32_t now = 0;
    for (auto _ : state) {
        engine.State().now = now += 16;
        // Keep the reactive modes busy: a key every step.
        if (mode == 8 || mode == 9 || mode == 29) engine.Effects().OnKeyEvent(now % 126, 1);
        engine.Effects().RunStep(op);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Step)->DenseRange(1, 30)->Unit(benchmark::kNanosecond);

void BM_ProgramPassAndOverlay(benchmark::State& state) {
    BenchHost host;
    KeyboardLightEngine engine(host);
    engine.Effects().ApplySettings(Mode(31));
    LightStep wave;
    wave.mode = 4;
    wave.multiColour = 1;
    wave.brightness = 5;
    wave.timeMs = -1;
    engine.Effects().LoadLightSteps({wave});
    std::vector<LightSetting> list(kLedSlots, Mode(0));
    for (auto& entry : list) entry.present = 1;
    engine.Effects().LoadLightList(list);
    uint32_t tick = 0;
    engine.Loop().Restart(0);
    for (auto _ : state) {
        // One wake: 15-16 millisecond passes of the program, then the full overlay.
        engine.Loop().RunPass(++tick * 125 / 8);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ProgramPassAndOverlay)->Unit(benchmark::kMicrosecond);

// One wake of the loop in mode 4 without the sleep: the engine's own share of a wake.
void BM_WakeMode4(benchmark::State& state) {
    BenchHost host;
    KeyboardLightEngine engine(host);
    engine.Effects().ApplySettings(Mode(4));
    engine.Loop().Restart(0);
    uint32_t tick = 0;
    for (auto _ : state) {
        engine.Loop().RunPass(++tick * 125 / 8);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WakeMode4)->Unit(benchmark::kNanosecond);

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

struct ThreadUse {
    double user = 0;
    double system = 0;
    long switches = 0;
};

// Runs `body` on a worker thread for `seconds` and reports what that thread used.
template <typename Body>
void MeasureThread(benchmark::State& state, Body body, const std::function<uint64_t()>& wakeups) {
    ThreadUse use;
    platform::WorkerThread thread;
    const auto start = std::chrono::steady_clock::now();
    thread.Start([&](platform::Event& stop) {
        rusage before{};
        getrusage(RUSAGE_THREAD, &before);
        body(stop);
        rusage after{};
        getrusage(RUSAGE_THREAD, &after);
        use.user = Seconds(after.ru_utime) - Seconds(before.ru_utime);
        use.system = Seconds(after.ru_stime) - Seconds(before.ru_stime);
        use.switches = (after.ru_nvcsw + after.ru_nivcsw) - (before.ru_nvcsw + before.ru_nivcsw);
    });
    std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
    thread.Stop(1000);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = use.user + use.system;
    state.counters["cpu_pct_of_core"] = 100.0 * cpu / wall;
    state.counters["user_pct"] = 100.0 * use.user / wall;
    state.counters["system_pct"] = 100.0 * use.system / wall;
    state.counters["cpu_ms_per_minute"] = 1000.0 * cpu * 60.0 / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(wakeups()) / wall;
    state.counters["ctx_switches_per_s"] = static_cast<double>(use.switches) / wall;
}

void BM_LightThreadMode4(benchmark::State& state) {
    for (auto _ : state) {
        BenchHost host;
        KeyboardLightEngine engine(host);
        engine.Effects().ApplySettings(Mode(4));
        MeasureThread(
            state, [&](platform::Event& stop) { engine.RunThread(stop); },
            [&] { return engine.Loop().Wakeups(); });
    }
}
BENCHMARK(BM_LightThreadMode4)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor under the light thread: a thread that only sleeps from tick to tick.
void BM_TickSleepOnly(benchmark::State& state) {
    for (auto _ : state) {
        uint64_t wakes = 0;
        MeasureThread(
            state,
            [&](platform::Event& stop) {
                while (platform::SleepUntilNextTick(stop)) ++wakes;
            },
            [&] { return wakes; });
    }
}
BENCHMARK(BM_TickSleepOnly)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
