// SPDX-License-Identifier: GPL-3.0-or-later
// "Apply profile" on the simulated keyboard: the settings block, the macros the keys play
// and the key table, as the main window sends them after a profile switch.
//
// Counters per apply:
//   reports  - reports the device object sends
//   minimum  - the fewest the protocol allows for the same bytes: one BeginConfig/EndConfig
//              bracket around ceil(bytes / 56) reports per area, no information reads
//   bytes    - settings + macro image + key table bytes carried
// The time includes the protocol's 10 ms pause before each EndConfig.
//
// BM_ProfileSwitch adds what a profile switch does before the apply (reading the profile
// file, checking its keys against the macro library) and alternates between a profile
// whose keys play macros and one whose keys do not.
#include <benchmark/benchmark.h>
#include <json/json.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "data/JsonDataFile.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/SupportedDevices.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/FactoryKeyTable.h"
#include "model/device/KeyboardSettingsBlock.h"
#include "model/device/MacroImage.h"
#include "platform/Paths.h"
#include "sim/FaultPlan.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"
#include "ui/CMessageLoop.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMacroEvents[] = {12, 40, 6};  // three macros the keys play

class Bench {
public:
    Bench() {
        char pattern[] = "/tmp/tx512-bench-XXXXXX";
        root_ = ::mkdtemp(pattern);
        ::setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
        platform::SetProgramDir(root_ / "program");
        WriteDefaultProfile();
        sims_ = sim::PlugSimulatedDevices(bus_);
        keyboard_ = std::make_unique<model::CLumitrekKeyboardDevice>(bus_.Backend());
        keyboard_->SetKeyCount(model::kKeyPositions);
        keyboard_->SetLedCount(model::kKeyPositions);
        keyboard_->SetLightListName("vexal_light");
        keyboard_->SetProfileFileName("bench");
        device::SupportedDeviceEntry slot = device::SupportedInterfaceTable()[0];
        for (const std::string& path : bus_.PathsOf(*sims_.keyboard))
            if (path.find("&col04") != std::string::npos) slot.path = path;
        keyboard_->OpenCommandChannel(slot);
        keyboard_->OnConnected();
        Settle();
        keyboard_->StopLightThread();  // nothing but the apply on the wire
        WriteMacros();
    }
    ~Bench() {
        keyboard_.reset();
        platform::SetProgramDir({});
        fs::remove_all(root_);
    }

    model::CLumitrekKeyboardDevice& Keyboard() { return *keyboard_; }
    // Runs the UI loop until the keyboard's queued work and its completions are done.
    void Settle() {
        for (;;) {
            const int ran = loop_.RunPending();
            if (ran == 0 && keyboard_->OperationsIdle() && loop_.RunPending() == 0) return;
            if (ran == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    sim::SimDevice& Sim() { return *sims_.keyboard; }

private:
    void WriteDefaultProfile() {
        Json::Value section;
        section["LightInfo"]["SelectItem"] = 5;
        for (int p = 0; p < model::kKeyPositions; ++p) {
            const auto& e = model::FactoryKeyTable::Entries()[p];
            const uint32_t packed = uint32_t{e.type} << 16 | uint32_t{e.byte1} << 8 | e.byte0;
            Json::Value key;
            key["Assignment"] = packed;
            key["DefaultAssignment"] = packed;
            section["KeyList"].append(key);
        }
        // Keys 1-3 (F1-F3) play the three macros.
        for (int m = 0; m < 3; ++m) section["KeyList"][m + 1]["Assignment"] = 0x700000 | m << 8;
        Json::Value root;
        root["Device"].append(section);
        fs::create_directories(root_ / "program" / "DefaultData");
        JsonDataFile().WriteJsonFile(root_ / "program" / "DefaultData" / "keyboard.Json", root);
    }
    void WriteMacros() {
        const fs::path folder = platform::UserDataDir("keyboard");
        Json::Value list;
        for (int m = 0; m < 3; ++m) {
            Json::Value entry;
            entry["MacroName"] = "macro_" + std::to_string(m + 1);
            entry["Guid"] = "bench" + std::to_string(m);
            list["MacroInfo"].append(entry);
            Json::Value macro;
            for (int i = 0; i < kMacroEvents[m]; ++i) {
                Json::Value event;
                event["Type"] = 10;
                event["Button"] = 4 + i % 26;
                event["Action"] = i % 2 ? "up" : "down";
                event["Delay"] = "20";
                macro["Events"].append(event);
            }
            JsonDataFile().WriteJsonFile(folder / ("bench" + std::to_string(m) + ".mac"), macro);
        }
        JsonDataFile().WriteJsonFile(folder / "macro.config", list);
    }

    ui::CMessageLoop loop_;  // the keyboard's UI loop: made first, gone last
    fs::path root_;
    device::VirtualBus bus_;
    sim::SimulatedDevices sims_;
    std::unique_ptr<model::CLumitrekKeyboardDevice> keyboard_;
};

std::size_t Reports(std::size_t bytes) {
    return (bytes + 55) / 56;
}

void BM_ApplyProfile(benchmark::State& state) {
    Bench bench;
    model::CLumitrekKeyboardDevice& kb = bench.Keyboard();
    std::size_t sent = 0;
    for (auto _ : state) {
        bench.Sim().Log().Clear();
        int macros = 0;
        kb.ApplyProfile([&](const model::Completion<model::ApplyOutcome>& done) {
            macros = done.value.macros;
        });
        bench.Settle();
        benchmark::DoNotOptimize(macros);
        sent = bench.Sim().Log().Requests().size();
    }
    std::size_t counts[3];
    for (int m = 0; m < 3; ++m) counts[m] = static_cast<std::size_t>(kMacroEvents[m]);
    const std::size_t image = model::MacroImage::Length(counts);
    const std::size_t table = kb.Channel().TransferLength();
    const std::size_t settings = model::KeyboardSettingsBlock::kSize;
    state.counters["reports"] = static_cast<double>(sent);
    state.counters["minimum"] =
        static_cast<double>(2 + Reports(settings) + Reports(image) + Reports(table));
    state.counters["bytes"] = static_cast<double>(settings + image + table);
}
BENCHMARK(BM_ApplyProfile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// A profile switch as the main window runs it once the combo's pick has settled: the
// profile file read, the keys checked against the macro library, and the apply, between
// two profiles (the second one lights differently and plays no macros).
void BM_ProfileSwitch(benchmark::State& state) {
    Bench bench;
    model::CLumitrekKeyboardDevice& kb = bench.Keyboard();
    kb.SaveProfile();
    Json::Value other = JsonDataFile().ReadJsonFile(kb.GetProfilePath());
    other["Device"][0]["LightInfo"]["SelectItem"] = 7;
    for (int m = 0; m < 3; ++m)
        other["Device"][0]["KeyList"][m + 1]["Assignment"] =
            other["Device"][0]["KeyList"][m + 1]["DefaultAssignment"];
    JsonDataFile().WriteJsonFile(kb.GetProfilePath().parent_path() / "bench2.Json", other);

    const char* names[] = {"bench", "bench2"};
    std::size_t sent[2] = {0, 0};
    int turn = 0;
    for (auto _ : state) {
        bench.Sim().Log().Clear();
        kb.SetProfileFileName(names[turn]);
        kb.LoadProfile();
        kb.ValidateMacroKeys();
        kb.RefreshPanels();
        kb.ApplyProfile({});
        bench.Settle();
        sent[turn] = bench.Sim().Log().Requests().size();
        turn ^= 1;
    }
    std::size_t counts[3];
    for (int m = 0; m < 3; ++m) counts[m] = static_cast<std::size_t>(kMacroEvents[m]);
    const std::size_t image = model::MacroImage::Length(counts);
    const std::size_t table = kb.Channel().TransferLength();
    const std::size_t settings = model::KeyboardSettingsBlock::kSize;
    state.counters["reports_macros"] = static_cast<double>(sent[0]);
    state.counters["minimum_macros"] =
        static_cast<double>(2 + Reports(settings) + Reports(image) + Reports(table));
    state.counters["reports_plain"] = static_cast<double>(sent[1]);
    state.counters["minimum_plain"] = static_cast<double>(2 + Reports(settings) + Reports(table));
}
BENCHMARK(BM_ProfileSwitch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// A lighting slider moved: each step is stored and sent as a settings block. `reports` is
// what one step sends; dragging both sliders through their whole range (11 steps) while
// the keyboard answers the first write late shows how many blocks reach it
// (`blocks_when_slow`: the first, then only the newest of those queued behind it).
void BM_SliderSteps(benchmark::State& state) {
    Bench bench;
    model::CLumitrekKeyboardDevice& kb = bench.Keyboard();
    std::size_t perStep = 0;
    std::size_t blocksWhenSlow = 0;
    for (auto _ : state) {
        bench.Sim().Log().Clear();
        kb.SetLightSetting(1 | 3u << 8, 0, 0, 0);
        kb.WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
        bench.Settle();
        perStep = bench.Sim().Log().Requests().size();

        bench.Sim().Log().Clear();
        bench.Sim().Faults().Arm({sim::Fault::Kind::SlowReply, 2, 0, 1, 200});
        for (uint32_t brightness = 0; brightness <= 5; ++brightness) {
            kb.SetLightSetting(1 | brightness << 8, 0, 0, 0);
            kb.WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
        }
        for (uint32_t speed = 0; speed <= 4; ++speed) {
            kb.SetLightSetting(1 | 5u << 8 | speed << 16, 0, 0, 0);
            kb.WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
        }
        bench.Settle();
        blocksWhenSlow = 0;
        for (const auto& request : bench.Sim().Log().Requests())
            if (request.bytes.at(3) == 6) ++blocksWhenSlow;
    }
    state.counters["reports"] = static_cast<double>(perStep);
    state.counters["minimum"] = static_cast<double>(2 + Reports(model::KeyboardSettingsBlock::kSize));
    state.counters["steps"] = 11;
    state.counters["blocks_when_slow"] = static_cast<double>(blocksWhenSlow);
}
BENCHMARK(BM_SliderSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
