// SPDX-License-Identifier: GPL-3.0-or-later
// What the hot-plug scanner costs while nothing changes, and how quickly it reports an
// arrival or a removal.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "device/hid/HidrawBackend.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/DeviceScanner.h"
#include "sim/SimulatedDevices.h"

using namespace device;
using Clock = std::chrono::steady_clock;

namespace {

class CountingClient : public ScannerClient {
public:
    void SendScannerMessage(uint32_t message, size_t) override {
        std::lock_guard lock(mutex_);
        (message == kDeviceArrivedMessage ? arrivals_ : removals_)++;
        last_ = Clock::now();
        changed_.notify_all();
    }
    void PostFirstScanDone() override {}
    // Waits for the counts; returns when the last message came.
    Clock::time_point WaitFor(int arrivals, int removals) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(5), [&] { return arrivals_ >= arrivals && removals_ >= removals; });
        return last_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int arrivals_ = 0, removals_ = 0;
    Clock::time_point last_;
};

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One pass with the keyboard and the pad attached and claimed: presence tests only.
void BM_ScannerIdlePassVirtualBus(benchmark::State& state) {
    VirtualBus bus;
    auto devices = sim::PlugSimulatedDevices(bus);
    SlotList slots;
    CountingClient client;
    DeviceScanner scanner(slots, client, bus.Backend());
    scanner.RunPass();
    const auto before = scanner.Stats();
    for (auto _ : state) scanner.RunPass();
    const auto after = scanner.Stats();
    const double passes = double(after.passes - before.passes);
    state.counters["enumerations_per_minute"] = double(after.enumerations - before.enumerations) / passes * 600;
    state.counters["presence_tests_per_pass"] = double(after.presenceTests - before.presenceTests) / passes;
}
BENCHMARK(BM_ScannerIdlePassVirtualBus);

// One pass on this machine's hidraw backend (whatever is attached; claimed slots are
// presence-tested through sysfs).
void BM_ScannerIdlePassHidraw(benchmark::State& state) {
    SlotList slots;
    CountingClient client;
    DeviceScanner scanner(slots, client, std::make_shared<HidrawBackend>());
    scanner.RunPass();
    const auto before = scanner.Stats();
    for (auto _ : state) scanner.RunPass();
    const auto after = scanner.Stats();
    state.counters["enumerations_per_minute"] =
        double(after.enumerations - before.enumerations) / double(after.passes - before.passes) * 600;
}
BENCHMARK(BM_ScannerIdlePassHidraw);

// One full listing of this machine's hidraw nodes: what a change costs.
void BM_HidrawEnumeration(benchmark::State& state) {
    HidrawBackend backend;
    std::vector<std::string> paths;
    for (auto _ : state) benchmark::DoNotOptimize(backend.Enumerate(paths));
    state.counters["paths"] = double(paths.size());
}
BENCHMARK(BM_HidrawEnumeration);

// The scanner thread running its 100 ms loop for 3 s with both devices claimed: the
// process CPU time it takes, scaled to a minute.
void BM_ScannerThreadIdleCpu(benchmark::State& state) {
    for (auto _ : state) {
        VirtualBus bus;
        auto devices = sim::PlugSimulatedDevices(bus);
        SlotList slots;
        CountingClient client;
        DeviceScanner scanner(slots, client, bus.Backend());
        scanner.Start();
        client.WaitFor(4, 0);
        const auto enumerationsBefore = scanner.Stats().enumerations;
        const double cpuBefore = CpuSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double cpu = CpuSeconds() - cpuBefore;
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const auto enumerations = scanner.Stats().enumerations - enumerationsBefore;
        scanner.Stop();
        state.SetIterationTime(wall);
        state.counters["cpu_ms_per_minute"] = cpu / wall * 60 * 1000;
        state.counters["enumerations_per_minute"] = double(enumerations) / wall * 60;
    }
}
BENCHMARK(BM_ScannerThreadIdleCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// From plug (or unplug) of the keyboard to the last of its two messages.
void BM_ArrivalAndRemovalLatency(benchmark::State& state) {
    double arrival = 0, removal = 0;
    int rounds = 0;
    for (auto _ : state) {
        VirtualBus bus;
        SlotList slots;
        CountingClient client;
        DeviceScanner scanner(slots, client, bus.Backend());
        scanner.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));  // into the idle part of the loop
        auto start = Clock::now();
        auto devices = sim::PlugSimulatedDevices(bus);
        auto done = client.WaitFor(4, 0);
        arrival += std::chrono::duration<double, std::milli>(done - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        start = Clock::now();
        devices.keyboard->Unplug();
        done = client.WaitFor(4, 2);
        removal += std::chrono::duration<double, std::milli>(done - start).count();
        scanner.Stop();
        ++rounds;
        state.SetIterationTime(std::chrono::duration<double>(done - start).count());
    }
    state.counters["arrival_ms"] = arrival / rounds;
    state.counters["removal_ms"] = removal / rounds;
}
BENCHMARK(BM_ArrivalAndRemovalLatency)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
