// SPDX-License-Identifier: GPL-3.0-or-later
// One 64-byte request and its reply through HidDevice over the virtual bus, against the
// simulated keyboard: the HID layer's share of every command exchange.
#include <benchmark/benchmark.h>

#include "device/hid/HidDevice.h"
#include "device/hid/VirtualBus.h"
#include "sim/SimulatedDevices.h"

using namespace device;

namespace {

void BM_HidExchangeVirtualBus(benchmark::State& state) {
    VirtualBus bus;
    auto devices = sim::PlugSimulatedDevices(bus);
    std::string path;
    for (const auto& p : bus.PathsOf(*devices.keyboard)) {
        if (p.find("&mi_01&col04") != std::string::npos) path = p;
    }
    HidDevice hid(bus.Backend());
    if (!hid.Open(path, true, true, true, false)) {
        state.SkipWithError("cannot open the keyboard's vendor collection");
        return;
    }
    uint8_t request[64] = {4, 0x01, 0x00, 0x01};  // BeginConfig, checksum 1
    uint8_t reply[64];
    size_t n = 0;
    for (auto _ : state) {
        if (!hid.WriteReport(request, sizeof request, &n, 1000) || !hid.ReadReport(reply, sizeof reply, &n, 1000)) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    state.counters["exchanges_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HidExchangeVirtualBus)->UseRealTime();

}  // namespace
