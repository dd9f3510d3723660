// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulated keyboard and mouse pad on a virtual bus, the device objects that talk to
// them, and a scratch program folder (with small default profiles) and user data folder.
#include <gtest/gtest.h>
#include <json/json.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "support/RunUntilIdle.h"
#include "data/JsonDataFile.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/SupportedDevices.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekMousePadDevice.h"
#include "model/device/FactoryKeyTable.h"
#include "platform/Paths.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"
#include "ui/CMessageLoop.h"

namespace modeltest {

namespace fs = std::filesystem;

inline constexpr const char* kProfileUuid = "2021_03_07_09_05_02_045";

inline uint32_t Packed(const model::KeyEntry& e) {
    return uint32_t{e.type} << 16 | uint32_t{e.byte1} << 8 | e.byte0;
}

// The keyboard section the default profile ships: factory keys, mode 1, some switches.
inline Json::Value KeyboardSection() {
    Json::Value section;
    Json::Value& light = section["LightInfo"];
    light["SelectItem"] = 1;
    light["Light"] = 5;
    light["Speed"] = 3;
    light["Fx"] = 1;
    light["MultiColor"] = 0;
    light["Red"] = 255;
    light["Green"] = 16;
    light["Blue"] = 0;
    light["ZZCCLedMode"] = 0;
    light["CustomGroup"] = 0;
    for (int p = 0; p < model::kKeyPositions; ++p) {
        Json::Value key;
        key["Assignment"] = Packed(model::FactoryKeyTable::Entries()[p]);
        key["DefaultAssignment"] = Packed(model::FactoryKeyTable::Entries()[p]);
        section["KeyList"].append(key);
    }
    Json::Value& stages = section["SystemStages"];
    stages["Repeat"] = 3;
    stages["RepeatDelay"] = 1;
    stages["Key6Flag"] = 1;
    stages["PollingRate"] = 2;
    stages["WFlag"] = 0;
    stages["WinFlag"] = 1;
    return section;
}

inline Json::Value PadSection() {
    Json::Value section;
    Json::Value& light = section["LightInfo"];
    light["SelectItem"] = 2;
    light["Light"] = 4;
    light["Speed"] = 1;
    light["MultiColor"] = 1;
    light["Red"] = 10;
    light["Green"] = 20;
    light["Blue"] = 30;
    return section;
}

class DeviceBench : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-model-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        ::setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
        platform::SetProgramDir(root_ / "program");
        WriteDefault("keyboard", KeyboardSection());
        WriteDefault("MousePad", PadSection());
        sims_ = sim::PlugSimulatedDevices(bus_);
        keyboardSim_ = sims_.keyboard.get();
        padSim_ = sims_.pad.get();
    }
    void TearDown() override {
        keyboard_.reset();
        pad_.reset();
        platform::SetProgramDir({});
        ::unsetenv("XDG_DATA_HOME");
        fs::remove_all(root_);
    }

    static void WriteDefault(const std::string& kind, const Json::Value& section) {
        Json::Value root;
        root["Device"].append(section);
        const fs::path dir = platform::ProgramDir() / "DefaultData";
        fs::create_directories(dir);
        JsonDataFile().WriteJsonFile(dir / (kind + ".Json"), root);
    }

    fs::path UserFolder(const std::string& kind) const {
        return root_ / "user" / "TELIX TX512 keyboard Driver" / kind;
    }
    fs::path KeyboardProfileFile() const {
        return UserFolder("keyboard") / (std::string(kProfileUuid) + ".Json");
    }

    static std::string ReadText(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static Json::Value ReadJson(const fs::path& path) { return JsonDataFile().ReadJsonFile(path); }

    // The slot row of the supported-interface table for `row`, with the sim's path of
    // the collection it names.
    device::SupportedDeviceEntry Slot(std::size_t row, const sim::SimDevice& dev) const {
        device::SupportedDeviceEntry slot = device::SupportedInterfaceTable()[row];
        const std::string token = "&col0" + std::to_string(slot.collectionNumber);
        for (const std::string& path : bus_.PathsOf(dev))
            if (path.find(token) != std::string::npos) slot.path = path;
        slot.connected = 1;
        return slot;
    }

    model::CLumitrekKeyboardDevice& Keyboard() {
        if (!keyboard_) {
            keyboard_ = std::make_unique<model::CLumitrekKeyboardDevice>(bus_.Backend());
            keyboard_->SetKeyCount(model::kKeyPositions);
            keyboard_->SetLedCount(model::kKeyPositions);
            keyboard_->SetLightListName("vexal_light");
            keyboard_->SetProfileFileName(kProfileUuid);
        }
        return *keyboard_;
    }
    model::CLumitrekMousePadDevice& Pad() {
        if (!pad_) {
            pad_ = std::make_unique<model::CLumitrekMousePadDevice>(bus_.Backend());
            pad_->SetLedCount(15);
            pad_->SetLightListName("vexal_light");
            pad_->SetProfileFileName(kProfileUuid);
        }
        return *pad_;
    }

    // Runs the UI loop until the devices' workers have nothing left to do and every
    // completion has run: what a user sees once the keyboard has answered.
    void Settle() {
        const auto idle = [&] {
            return (!keyboard_ || keyboard_->OperationsIdle()) && (!pad_ || pad_->OperationsIdle());
        };
        // A test window's own loop, made after this one, is the devices' loop then.
        ui::CMessageLoop* current = ui::CMessageLoop::Current();
        if (current == &loop_) current = nullptr;
        if (!test_support::RunUntilIdle({&loop_, current}, idle))
            ADD_FAILURE() << "the device operations did not settle";
    }

    // Opens the keyboard's command channel and runs its connection routine.
    model::CLumitrekKeyboardDevice& ConnectKeyboard() {
        EXPECT_TRUE(Keyboard().OpenCommandChannel(Slot(0, *keyboardSim_)));
        keyboard_->OnConnected();
        Settle();
        return *keyboard_;
    }

    // Applies the keyboard's keys (or its whole profile) and waits for the outcome.
    model::ApplyOutcome Apply(bool wholeProfile = false) {
        std::optional<model::Completion<model::ApplyOutcome>> got;
        const auto done = [&](const model::Completion<model::ApplyOutcome>& c) { got = c; };
        if (wholeProfile)
            Keyboard().ApplyProfile(done);
        else
            Keyboard().ApplyKeys(done);
        Settle();
        EXPECT_TRUE(got.has_value());
        EXPECT_FALSE(got && got->cancelled);
        return got ? got->value : model::ApplyOutcome{};
    }

    // The command codes of the requests a device received since its log was cleared.
    static std::vector<int> Commands(sim::SimDevice& dev) {
        std::vector<int> codes;
        for (const sim::WireEntry& e : dev.Log().Requests()) codes.push_back(e.bytes.at(3));
        return codes;
    }
    static std::vector<std::vector<uint8_t>> RequestsOf(sim::SimDevice& dev, int code) {
        std::vector<std::vector<uint8_t>> out;
        for (const sim::WireEntry& e : dev.Log().Requests())
            if (e.bytes.at(3) == code) out.push_back(e.bytes);
        return out;
    }
    static std::vector<uint8_t> Memory(sim::SimDevice& dev,
                                       const sim::MemoryArea& (sim::Firmware::*area)() const) {
        std::vector<uint8_t> bytes;
        dev.Inspect([&](const sim::Firmware& fw) {
            const auto span = (fw.*area)();
            bytes.assign(span.Bytes().begin(), span.Bytes().end());
        });
        return bytes;
    }

    // The sim's key-table entry at the slot the keyboard found for `position`.
    std::vector<uint8_t> EntryOf(int position) {
        const int slot = keyboard_->GetPositionMaps().slot[position];
        const auto table = Memory(*keyboardSim_, &sim::Firmware::KeyTable);
        return {table.begin() + 3 * slot, table.begin() + 3 * slot + 3};
    }

    // First, so that it is the devices' UI loop and outlives them.
    ui::CMessageLoop loop_;
    fs::path root_;
    device::VirtualBus bus_;
    sim::SimulatedDevices sims_;
    sim::SimDevice* keyboardSim_ = nullptr;
    sim::SimDevice* padSim_ = nullptr;
    std::unique_ptr<model::CLumitrekKeyboardDevice> keyboard_;
    std::unique_ptr<model::CLumitrekMousePadDevice> pad_;
};

}  // namespace modeltest
