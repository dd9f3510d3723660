// SPDX-License-Identifier: GPL-3.0-or-later
// A capture of each simulated device, replayed by a device built from it, must give the
// same connection exchange and the same tables as the simulator's own device; and the
// file must hold no key presses and never replace a file that is not a capture.
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DeviceCapture.h"
#include "device/hid/RecordingBackend.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/DeviceKind.h"
#include "device/scanner/SupportedDevices.h"
#include "sim/CaptureDevice.h"
#include "sim/CaptureReader.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"

namespace app {
namespace {

namespace fs = std::filesystem;

Json::Value Parse(const std::string& text) {
    Json::Value root;
    std::istringstream in(text);
    in >> root;
    return root;
}

std::string CaptureOf(const sim::SimDeviceDefinition& definition) {
    device::VirtualBus bus;
    auto simulated = std::make_shared<sim::SimDevice>(definition);
    simulated->Plug(bus);
    return CaptureDevices(bus.Backend(), {"test", "Linux test", "none"});
}

std::vector<std::string> Reports(const Json::Value& device) {
    std::vector<std::string> reports;
    for (const Json::Value& e : device["exchange"])
        reports.push_back(e["dir"].asString() + " " + e["hex"].asString());
    return reports;
}

struct Kind {
    const char* name;
    const sim::SimDeviceDefinition& (*definition)();
    std::vector<const char*> tables;
};

class CaptureRoundTrip : public ::testing::TestWithParam<Kind> {};

TEST_P(CaptureRoundTrip, TheReplayedDeviceAnswersAsTheSimulatorsOwn) {
    const Kind& kind = GetParam();
    const sim::SimDeviceDefinition& own = kind.definition();
    if (std::string(kind.name) == "mouse" || std::string(kind.name) == "mouse6")
        device::UseMouseIdentity(
            own.vendorId, own.productId,
            kind.name == std::string("mouse") ? device::kKindMouse : device::kKindMouseLongWait);
    if (std::string(kind.name) == "headset")
        device::SubstituteIdentity(device::kKindHeadset, own.vendorId, own.productId);

    const std::string first = CaptureOf(own);
    const Json::Value captured = Parse(first);
    ASSERT_EQ(captured["devices"].size(), 1u) << first;
    const Json::Value& device = captured["devices"][0];
    EXPECT_EQ(device["kind"].asString(), kind.name);
    for (const Json::Value& step : device["steps"])
        EXPECT_EQ(step["result"].asInt(), 1) << step["step"].asString();
    for (const char* table : kind.tables) EXPECT_TRUE(device["tables"].isMember(table)) << table;
    EXPECT_EQ(device["descriptors"].size(), own.interfaces.size());

    const sim::CaptureReadResult read = sim::ReadCapture(first);
    ASSERT_TRUE(read.Ok()) << read.error;
    std::string error;
    const auto build = sim::BuildFromCapture(read.devices[0], error);
    ASSERT_TRUE(build) << error;
    EXPECT_EQ(build->notes, std::vector<std::string>{});
    EXPECT_TRUE(build->definition.recordedReplies.empty());

    const Json::Value again = Parse(CaptureOf(build->definition));
    ASSERT_EQ(again["devices"].size(), 1u);
    EXPECT_EQ(Reports(again["devices"][0]), Reports(device));
    EXPECT_EQ(again["devices"][0]["tables"], device["tables"]);
    EXPECT_EQ(again["devices"][0]["descriptors"], device["descriptors"]);
    EXPECT_EQ(again["devices"][0]["identity"]["release"], device["identity"]["release"]);
    if (std::string(kind.name) == "mouse" || std::string(kind.name) == "mouse6")
        device::UseMouseIdentity(0, 0, device::kKindMouse);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, CaptureRoundTrip,
    ::testing::Values(
        Kind{"keyboard",
             sim::KeyboardDefinition,
             {"info", "key_table", "led_map", "settings", "status"}},
        Kind{"pad", sim::MousePadDefinition, {"info", "settings", "status"}},
        Kind{"mouse", sim::MouseDefinition, {"info", "key_table", "settings", "status"}},
        Kind{"mouse6", sim::LongWaitMouseDefinition, {"info", "key_table", "settings", "status"}},
        Kind{"headset", sim::HeadsetDefinition, {"info", "settings", "status"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(DeviceCapture, SendsOnlyReadsAndTellsWhatItHolds) {
    device::VirtualBus bus;
    auto keyboard = std::make_shared<sim::SimDevice>(sim::KeyboardDefinition());
    keyboard->Plug(bus);
    const Json::Value root = Parse(CaptureDevices(bus.Backend(), ThisMachine()));
    EXPECT_EQ(root["format"].asString(), "telix-tx512 device capture");
    EXPECT_FALSE(root["program"]["version"].asString().empty());
    EXPECT_NE(root["program"]["kernel"].asString().find("Linux"), std::string::npos);
    bool saysNoKeys = false;
    for (const Json::Value& line : root["about"])
        saysNoKeys |= line.asString().find("no key presses") != std::string::npos;
    EXPECT_TRUE(saysNoKeys);
    // Begin, end and reads; no write command of any memory.
    for (const auto& request : keyboard->Log().Requests()) {
        const int code = request.bytes[3];
        EXPECT_TRUE(code == 1 || code == 2 || code == 3 || code == 5 || code == 7 || code == 26 ||
                    code == 27)
            << code;
    }
    keyboard->Inspect([](const sim::Firmware& firmware) {
        EXPECT_EQ(firmware.Settings().WriteCount(), 0u);
        EXPECT_EQ(firmware.KeyTable().WriteCount(), 0u);
        EXPECT_FALSE(firmware.InConfig());
    });
}

TEST(DeviceCapture, KeepsNoInputReportButCommandReplies) {
    device::ExchangeRecord record(4, 3);
    std::vector<std::uint8_t> reply(64, 0);
    reply[0] = 4;
    record.Add(false, std::vector<std::uint8_t>{3, 0x05, 0x05});              // a key pressed
    record.Add(false, std::vector<std::uint8_t>{0, 0, 0x04, 0, 0, 0, 0, 0});  // a boot report
    record.Add(false, reply);
    record.Add(true, reply);
    record.Add(true, reply);
    record.Add(true, reply);  // one above the limit
    EXPECT_EQ(record.LeftOut(), 2u);
    EXPECT_EQ(record.Overflow(), 1u);
    ASSERT_EQ(record.Entries().size(), 3u);
    EXPECT_FALSE(record.Entries()[0].out);
    EXPECT_EQ(record.Entries()[0].bytes, reply);
}

TEST(DeviceCapture, NeverWritesOverAFileThatIsNotACapture) {
    const fs::path dir =
        fs::temp_directory_path() / ("tx512-capture-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path notes = dir / "notes.txt";
    std::ofstream(notes) << "my own notes\n";
    device::VirtualBus bus;
    auto pad = std::make_shared<sim::SimDevice>(sim::MousePadDefinition());
    pad->Plug(bus);
    std::ostringstream out, err;
    EXPECT_EQ(WriteCapture(bus.Backend(), notes.string(), out, err), 1);
    EXPECT_NE(err.str().find("not a capture"), std::string::npos) << err.str();
    std::ifstream kept(notes);
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, "my own notes");

    const fs::path file = dir / "capture.json";
    EXPECT_EQ(WriteCapture(bus.Backend(), file.string(), out, err), 0) << err.str();
    EXPECT_TRUE(sim::ReadCaptureFile(file).Ok());
    // An earlier capture may be replaced.
    EXPECT_EQ(WriteCapture(bus.Backend(), file.string(), out, err), 0) << err.str();
    EXPECT_FALSE(fs::exists(dir / "capture.json.part"));
    EXPECT_LT(fs::file_size(file), kCaptureLimitBytes);

    // Nothing to capture is not a success.
    pad->Unplug();
    std::ostringstream none;
    EXPECT_EQ(WriteCapture(bus.Backend(), file.string(), out, none), 1);
    EXPECT_NE(none.str().find("no supported device"), std::string::npos) << none.str();
    fs::remove_all(dir);
}

}  // namespace
}  // namespace app
