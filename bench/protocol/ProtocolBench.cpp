// SPDX-License-Identifier: GPL-3.0-or-later
// Exchanges per second over the virtual bus, and the reports each device operation puts
// on the wire against the count its commands need (one report per command, bulk data in
// reports of 56 bytes).
//
//   protocol_bench --benchmark_counters_tabular=true
//
// Counters: reports = requests the device received per operation; expected = the count
// the operation's commands need; per_second = operations (or exchanges) per second.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <vector>

#include "device/hid/VirtualBus.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"

namespace {

using device::CommandChannel;
using device::CommandSet;

constexpr std::size_t Chunks(std::size_t bytes) { return (bytes + 55) / 56; }

std::string VendorPath(device::VirtualBus& bus, const sim::SimDevice& dev) {
    for (const std::string& p : bus.PathsOf(dev)) {
        if (p.find("&mi_01&col04") != std::string::npos) return p;
    }
    return {};
}

// A device of the given def on its own bus, with an open channel.
struct Rig {
    device::VirtualBus bus;
    std::shared_ptr<sim::SimDevice> dev;
    std::unique_ptr<CommandChannel> channel;
    std::unique_ptr<CommandSet> commands;

    explicit Rig(const sim::SimDeviceDefinition& def) : dev(std::make_shared<sim::SimDevice>(def)) {
        dev->Plug(bus);
        channel = std::make_unique<CommandChannel>(bus.Backend());
        channel->Open(VendorPath(bus, *dev));
        commands = std::make_unique<CommandSet>(*channel);
    }
};

sim::SimDeviceDefinition MouseDefinition() {
    sim::SimDeviceDefinition def = sim::MousePadDefinition();
    def.name = "mouse";
    def.productId = 0x7777;
    def.recoilSize = 1024;
    def.infoBlock[5] = 20;  // key slots
    def.infoBlock[6] = 8;   // 1 KiB of macros
    def.keySlots.assign(20, {0x20, 0x00, 0x04, sim::kNoLed});
    return def;
}

using Operation = std::function<void(CommandSet&, CommandChannel&)>;

void RunOperation(benchmark::State& state, const sim::SimDeviceDefinition& def, const Operation& op,
                  std::size_t expected) {
    Rig rig(def);
    std::size_t reports = 0;
    for (auto _ : state) {
        rig.dev->Log().Clear();
        op(*rig.commands, *rig.channel);
        reports = rig.dev->Log().Requests().size();
    }
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["expected"] = static_cast<double>(expected);
    state.counters["per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    if (reports != expected) state.SkipWithError("report count differs from the expected");
}

void BM_Exchange(benchmark::State& state) {
    Rig rig(sim::KeyboardDefinition());
    std::size_t failed = 0;
    for (auto _ : state) {
        if (!rig.commands->QueryLink()) ++failed;
        if (rig.dev->Log().Size() > 4096) rig.dev->Log().Clear();
    }
    state.counters["per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    if (failed) state.SkipWithError("an exchange failed");
}
BENCHMARK(BM_Exchange)->UseRealTime();

// Two threads on one channel: the colour stream and settings reads side by side.
void BM_ExchangeStreamAndCommands(benchmark::State& state) {
    static std::unique_ptr<Rig> rig;
    static const std::vector<std::uint8_t> colours(378, 0x22);
    if (state.thread_index() == 0) rig = std::make_unique<Rig>(sim::KeyboardDefinition());
    std::vector<std::uint8_t> block(26);
    std::size_t failed = 0;
    for (auto _ : state) {
        const int r = state.thread_index() == 0 ? rig->commands->StreamColours(colours, 0, 512)
                                                : rig->commands->ReadSettingsMemory(block, 0);
        if (r != 1) ++failed;
        if (rig->dev->Log().Size() > 4096) rig->dev->Log().Clear();
    }
    state.counters["failed"] = static_cast<double>(failed);
    if (state.thread_index() == 0) rig.reset();
}
BENCHMARK(BM_ExchangeStreamAndCommands)->Threads(2)->UseRealTime();

// ---- keyboard ----

void BM_KeyboardReadDeviceTables(benchmark::State& state) {
    RunOperation(state, sim::KeyboardDefinition(), [](CommandSet& c, CommandChannel& ch) {
        CommandSet::DeviceInfo info{};
        std::vector<std::uint8_t> keys(512), leds(512);
        c.BeginConfig();
        c.ReadDeviceInfo(info);
        if (!ch.SetTransferLength(info[5] * 3u)) return;
        c.ReadKeyTable(keys);
        c.ReadLedMap(leds);
        c.EndConfig(0);
    }, 1 + 1 + Chunks(378) + Chunks(126) + 1);
}
BENCHMARK(BM_KeyboardReadDeviceTables)->UseRealTime();

void BM_KeyboardReadSettings(benchmark::State& state) {
    RunOperation(state, sim::KeyboardDefinition(), [](CommandSet& c, CommandChannel&) {
        std::uint8_t index = 0;
        std::vector<std::uint8_t> block(26);
        c.ReadSettingsMemory({&index, 1}, 0);
        c.ReadSettingsMemory(block, static_cast<std::uint16_t>(index * 25));
    }, 2);
}
BENCHMARK(BM_KeyboardReadSettings)->UseRealTime();

void BM_KeyboardWriteKeyAssignments(benchmark::State& state) {
    RunOperation(state, sim::KeyboardDefinition(), [](CommandSet& c, CommandChannel& ch) {
        CommandSet::DeviceInfo info{};
        std::vector<std::uint8_t> table(512, 0);
        ch.SetTransferLength(378);
        c.ReadDeviceInfo(info);
        c.BeginConfig();
        c.WriteKeyTable(table, 0);
        c.EndConfig(0);
    }, 1 + 1 + Chunks(378) + 1);
}
BENCHMARK(BM_KeyboardWriteKeyAssignments)->UseRealTime();

void BM_KeyboardWriteMacros(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(state.range(0));
    RunOperation(state, sim::KeyboardDefinition(), [size](CommandSet& c, CommandChannel&) {
        CommandSet::DeviceInfo info{};
        const std::vector<std::uint8_t> image(size, 0x11);
        c.ReadDeviceInfo(info);
        c.BeginConfig();
        c.WriteMacroImage(image);
        c.EndConfig(0);
    }, 1 + 1 + Chunks(size) + 1);
}
BENCHMARK(BM_KeyboardWriteMacros)->Arg(34)->Arg(4096)->UseRealTime();

void BM_KeyboardWriteSettings(benchmark::State& state) {
    RunOperation(state, sim::KeyboardDefinition(), [](CommandSet& c, CommandChannel&) {
        const std::vector<std::uint8_t> block(26, 0);
        c.BeginConfig();
        c.WriteSettingsMemory(block, 0);
        c.EndConfig(0);
    }, 3);
}
BENCHMARK(BM_KeyboardWriteSettings)->UseRealTime();

void BM_KeyboardColourStream(benchmark::State& state) {
    RunOperation(state, sim::KeyboardDefinition(), [](CommandSet& c, CommandChannel&) {
        static const std::vector<std::uint8_t> colours(378, 0x40);
        c.StreamColours(colours, 0, 512);
    }, Chunks(378));
}
BENCHMARK(BM_KeyboardColourStream)->UseRealTime();

void BM_KeyboardHostLighting(benchmark::State& state) {
    RunOperation(state, sim::KeyboardDefinition(),
                 [](CommandSet& c, CommandChannel&) { c.EnableHostLighting(); }, 1);
}
BENCHMARK(BM_KeyboardHostLighting)->UseRealTime();

// ---- mouse pad ----

void BM_PadReadDeviceInformation(benchmark::State& state) {
    RunOperation(state, sim::MousePadDefinition(), [](CommandSet& c, CommandChannel&) {
        CommandSet::DeviceInfo info{};
        c.BeginConfig();
        c.ReadDeviceInfo(info);
        c.EndConfig(0);
    }, 3);
}
BENCHMARK(BM_PadReadDeviceInformation)->UseRealTime();

void BM_PadReadSettings(benchmark::State& state) {
    RunOperation(state, sim::MousePadDefinition(), [](CommandSet& c, CommandChannel&) {
        std::uint8_t index = 0;
        std::vector<std::uint8_t> block(26);
        c.ReadSettingsMemory({&index, 1}, 0);
        c.ReadSettingsMemory(block, static_cast<std::uint16_t>(index * 25));
    }, 2);
}
BENCHMARK(BM_PadReadSettings)->UseRealTime();

void BM_PadWriteSettings(benchmark::State& state) {
    RunOperation(state, sim::MousePadDefinition(), [](CommandSet& c, CommandChannel&) {
        const std::vector<std::uint8_t> block(21, 0);
        c.BeginConfig();
        c.WriteSettingsMemory(block, 0);
        c.EndConfig(0);
    }, 3);
}
BENCHMARK(BM_PadWriteSettings)->UseRealTime();

// ---- mouse (no such device is served; a declared one shows the rows' counts) ----

void BM_MouseReadSettings(benchmark::State& state) {
    RunOperation(state, MouseDefinition(), [](CommandSet& c, CommandChannel&) {
        std::uint8_t index = 0;
        std::vector<std::uint8_t> block(71);
        c.ReadSettingsMemory({&index, 1}, 0);
        c.ReadSettingsMemory(block, static_cast<std::uint16_t>(index * 128));
    }, 1 + Chunks(71));
}
BENCHMARK(BM_MouseReadSettings)->UseRealTime();

void BM_MouseWriteSettings(benchmark::State& state) {
    RunOperation(state, MouseDefinition(), [](CommandSet& c, CommandChannel&) {
        const std::vector<std::uint8_t> block(66, 0);
        c.BeginConfig();
        c.WriteSettingsMemory(block, 0);
        c.EndConfig(0);
    }, 2 + Chunks(66));
}
BENCHMARK(BM_MouseWriteSettings)->UseRealTime();

void BM_MouseWriteRecoil(benchmark::State& state) {
    RunOperation(state, MouseDefinition(), [](CommandSet& c, CommandChannel&) {
        CommandSet::DeviceInfo info{};
        const std::vector<std::uint8_t> recoil(600, 0x01);
        c.ReadDeviceInfo(info);
        c.BeginConfig();
        c.WriteRecoilImage(recoil);
        c.EndConfig(0);
    }, 3 + Chunks(600));
}
BENCHMARK(BM_MouseWriteRecoil)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
