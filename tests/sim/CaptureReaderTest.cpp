// SPDX-License-Identifier: GPL-3.0-or-later
// A capture comes from a stranger: the reader refuses what breaks the format's rules and
// says where, and a device built from one follows it where the firmware model would not.
#include <gtest/gtest.h>

#include <string>

#include "RequestFrame.h"
#include "device/hid/VirtualBus.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "device/protocol/ResultCode.h"
#include "sim/CaptureDevice.h"
#include "sim/CaptureFormat.h"
#include "sim/CaptureReader.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"

namespace sim {
namespace {

std::string Device(const std::string& members) {
    return R"({"kind":"keyboard","identity":{"vendor":"320f","product":"505b","interface":1})" +
           members + "}";
}

std::string File(const std::string& devices) {
    return R"({"format":"telix-tx512 device capture","version":1,"devices":[)" + devices + "]}";
}

std::string Descriptors() {
    return R"(,"descriptors":[{"interface":1,"hex":")" +
           capture::HexOf(KeyboardDefinition().interfaces[1].reportDescriptor) + R"("}])";
}

std::string Entry(double ms, bool out, const Frame& f) {
    return R"({"ms":)" + std::to_string(ms) + R"(,"dir":")" + (out ? "out" : "in") +
           R"(","hex":")" + capture::HexOf(f) + R"("})";
}

TEST(CaptureReader, RefusesWhatBreaksTheRulesAndSaysWhere) {
    const std::string big(capture::kMaxFileBytes + 1, ' ');
    const struct {
        std::string text;
        std::string where;
    } cases[] = {
        {big, "larger than"},
        {"[", "not"},
        {std::string(200, '[') + std::string(200, ']'), "not a capture"},
        {R"({"format":"something else","version":1,"devices":[]})", "format"},
        {R"({"format":"telix-tx512 device capture","version":2,"devices":[]})", "version"},
        {File(R"({"kind":"toaster","identity":{"vendor":"320f","product":"505b"}})"),
         "devices[0].kind"},
        {File(R"({"kind":"pad","identity":{"vendor":"32g0","product":"1004"}})"),
         "devices[0].identity.vendor"},
        {File(Device(R"(,"tables":{"info":"0a0"})")), "devices[0].tables.info"},
        {File(Device(R"(,"tables":{"info":"0a"})")), "devices[0].tables.info: must hold 34"},
        {File(Device(R"(,"tables":{"key_table":"01 02"})")), "devices[0].tables.key_table"},
        {File(Device(R"(,"tables":{"settings":{"offset":500,"hex":")" + std::string(40, 'a') +
                     R"("}})")),
         "devices[0].tables.settings"},
        {File(Device(R"(,"descriptors":[{"interface":1,"hex":"c0"},{"interface":1,"hex":"c0"}])")),
         "devices[0].descriptors[1].interface: appears twice"},
        {File(Device(
             R"(,"exchange":[{"ms":5,"dir":"out","hex":"04"},{"ms":4,"dir":"in","hex":"04"}])")),
         "devices[0].exchange[1].ms"},
        {File(Device(R"(,"exchange":[{"ms":1,"dir":"out","hex":")" + std::string(130, '0') +
                     R"("}])")),
         "devices[0].exchange[0].hex"},
        {File(Device("") + "," + Device("") + "," + Device("") + "," + Device("") + "," +
              Device("") + "," + Device("") + "," + Device("") + "," + Device("") + "," +
              Device("")),
         "devices: holds 9 entries"},
    };
    for (const auto& c : cases) {
        const CaptureReadResult read = ReadCapture(c.text);
        EXPECT_FALSE(read.Ok()) << c.text.substr(0, 200);
        EXPECT_NE(read.error.find(c.where), std::string::npos) << read.error;
        EXPECT_TRUE(read.devices.empty());
    }
}

TEST(CaptureReader, TakesHexWithSpacesInAnyCase) {
    const CaptureReadResult read =
        ReadCapture(File(Device(R"(,"tables":{"key_table":"20 00 29 A0 1b 00"})")));
    ASSERT_TRUE(read.Ok()) << read.error;
    ASSERT_EQ(read.devices.size(), 1u);
    EXPECT_EQ(*read.devices[0].keyTable, (std::vector<std::uint8_t>{0x20, 0, 0x29, 0xA0, 0x1B, 0}));
    EXPECT_FALSE(capture::BytesOfHex("2 0", 8));
    EXPECT_FALSE(capture::BytesOfHex("0102", 1));
}

TEST(CaptureDevice, NeedsTheDescriptorOfTheCommandInterface) {
    const CaptureReadResult read = ReadCapture(File(
        Device(R"(,"descriptors":[{"interface":0,"hex":")" +
               capture::HexOf(KeyboardDefinition().interfaces[0].reportDescriptor) + R"("}])")));
    ASSERT_TRUE(read.Ok()) << read.error;
    std::string error;
    EXPECT_FALSE(BuildFromCapture(read.devices[0], error));
    EXPECT_NE(error.find("devices[0].descriptors: no descriptor of interface 1"), std::string::npos)
        << error;
}

// Found by the fuzz target: without descriptors the simulator's own interfaces stand in,
// and the command interface the identity names must be one of them.
TEST(CaptureDevice, NamesTheCommandInterfaceItCannotProvide) {
    const CaptureReadResult read = ReadCapture(File(
        R"({"kind":"pad","identity":{"vendor":"320f","product":"1004","interface":3}})"));
    ASSERT_TRUE(read.Ok()) << read.error;
    std::string error;
    EXPECT_FALSE(BuildFromCapture(read.devices[0], error));
    EXPECT_NE(error.find("devices[0].identity.interface: 3"), std::string::npos) << error;
}

TEST(CaptureDevice, TakesTheCapturedTablesAndSaysWhereTheyDisagree) {
    std::string info = capture::HexOf(KeyboardDefinition().infoBlock);
    info.replace(10, 2, "05");  // five key slots
    const CaptureReadResult read = ReadCapture(File(Device(
        Descriptors() + R"(,"tables":{"info":")" + info +
        R"(","key_table":"200029200035","led_map":"0001","settings":{"offset":0,"hex":"0207"}})")));
    ASSERT_TRUE(read.Ok()) << read.error;
    std::string error;
    const auto build = BuildFromCapture(read.devices[0], error);
    ASSERT_TRUE(build) << error;
    const SimDeviceDefinition& def = build->definition;
    ASSERT_EQ(def.keySlots.size(), 2u);
    EXPECT_EQ(def.keySlots[1].byte0, 0x35);
    EXPECT_EQ(def.keySlots[1].led, 1);
    EXPECT_EQ(def.settingsDefaults[0], 2);
    EXPECT_EQ(def.settingsDefaults[1], 7);
    // The rest of the memory is the model's.
    EXPECT_EQ(def.settingsDefaults[2], KeyboardDefinition().settingsDefaults[2]);
    ASSERT_EQ(build->notes.size(), 1u);
    EXPECT_NE(build->notes[0].find("devices[0].tables.key_table: 2 key slots, the information "
                                   "block says 5"),
              std::string::npos)
        << build->notes[0];
}

// The device refused the information read and answered the status read late: the
// simulator does the same, where the model would have answered at once and gladly.
TEST(CaptureDevice, RepeatsTheAnswersTheModelWouldNotGive) {
    const Frame info = test::Request(3, 34, 0);
    Frame refused = Firmware::StatusReply(info, Firmware::kStatusRefused);
    const Frame status = test::Request(26, 6, 0);
    Frame late = Firmware(KeyboardDefinition()).Handle(status);
    const Frame silent = test::Request(5, 1, 0);
    const std::string exchange = R"(,"exchange":[)" + Entry(0, true, info) + "," +
                                 Entry(1, false, refused) + "," + Entry(2, true, status) + "," +
                                 Entry(402, false, late) + "," + Entry(403, true, silent) + "]";
    const CaptureReadResult read = ReadCapture(File(Device(Descriptors() + exchange)));
    ASSERT_TRUE(read.Ok()) << read.error;
    std::string error;
    const auto build = BuildFromCapture(read.devices[0], error);
    ASSERT_TRUE(build) << error;
    ASSERT_EQ(build->definition.recordedReplies.size(), 3u);
    ASSERT_EQ(build->notes.size(), 3u);
    EXPECT_NE(build->notes[0].find("devices[0].exchange[0]"), std::string::npos) << build->notes[0];
    EXPECT_NE(build->notes[1].find("devices[0].exchange[2]: command 26 was answered after 400 ms"),
              std::string::npos)
        << build->notes[1];
    EXPECT_NE(build->notes[2].find("devices[0].exchange[4]: command 5 got no reply"),
              std::string::npos)
        << build->notes[2];

    device::VirtualBus bus;
    auto simulated = std::make_shared<SimDevice>(build->definition);
    simulated->Plug(bus);
    device::CommandChannel channel(bus.Backend());
    channel.SetTimeLimits({200, 1000});  // the silent request costs one wait
    ASSERT_TRUE(channel.Open("vhid0#vid_320f&pid_505b&mi_01&col04"));
    device::CommandSet commands(channel);
    device::CommandSet::DeviceInfo block{};
    EXPECT_EQ(commands.ReadDeviceInfo(block), device::kResultStatusFE);
    std::array<std::uint8_t, 1> active{};
    EXPECT_EQ(commands.ReadSettingsMemory(active, 0), device::kResultNoReply);
    // A request the capture never saw gets the model's answer.
    EXPECT_EQ(commands.BeginConfig(), device::kResultSuccess);
}

}  // namespace
}  // namespace sim
