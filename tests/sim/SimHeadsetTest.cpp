// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated headset from the host side: one consumer collection on interface 3 of a
// composite device, answering commands and taking the host's LED reports over the
// control pipe into a sink of its own.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/hid/HidDevice.h"
#include "device/hid/VirtualBus.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"

namespace sim {
namespace {

using device::HidDevice;

struct Headset {
    device::VirtualBus bus;
    std::shared_ptr<SimDevice> sim = std::make_shared<SimDevice>(HeadsetDefinition());
    std::unique_ptr<HidDevice> hid = std::make_unique<HidDevice>(bus.Backend());
    Headset() {
        EXPECT_TRUE(sim->Plug(bus));
        const auto paths = bus.PathsOf(*sim);
        EXPECT_EQ(paths.size(), 1u);
        if (!paths.empty()) {
            EXPECT_TRUE(hid->Open(paths[0], true, true, true, false));
        }
    }
};

std::array<std::uint8_t, 17> LedReport(std::uint8_t target, std::uint8_t reg, std::uint8_t first) {
    std::array<std::uint8_t, 17> report{};
    report[0] = 0xFF;
    report[1] = target;
    report[2] = reg;
    for (int i = 0; i < 7; ++i) report[4 + i] = static_cast<std::uint8_t>(first + i);
    return report;
}

TEST(SimHeadset, IsTheOnlyCollectionOfInterfaceThreeOfACompositeDevice) {
    Headset h;
    EXPECT_EQ(HidDevice::ParseInterfaceNumber(h.hid->Path()), 3);
    EXPECT_EQ(HidDevice::ParseCollectionNumber(h.hid->Path()), 0);
    EXPECT_EQ(h.hid->Caps().usagePage, 0x000C);
    EXPECT_EQ(h.hid->Caps().usage, 0x0001);
    EXPECT_EQ(h.hid->Caps().outputReportByteLength, 64);

    // Commands are answered on the same collection.
    std::array<std::uint8_t, 64> request{};
    request[0] = 4;
    request[3] = 26;  // status block, 6 bytes at 0
    request[4] = 6;
    std::uint16_t sum = 0;
    for (std::size_t i = 3; i < request.size(); ++i)
        sum = static_cast<std::uint16_t>(sum + request[i]);
    request[1] = static_cast<std::uint8_t>(sum & 0xFF);
    request[2] = static_cast<std::uint8_t>(sum >> 8);
    std::size_t n = 0;
    ASSERT_TRUE(h.hid->WriteReport(request.data(), request.size(), &n, 1000));
    std::array<std::uint8_t, 64> reply{};
    ASSERT_TRUE(h.hid->ReadReport(reply.data(), reply.size(), &n, 1000));
    EXPECT_EQ(reply[3], 26);
    EXPECT_EQ(reply[7], Firmware::kStatusOk);
}

TEST(SimHeadset, KeepsLedReportsApartFromTheWireLogAndBoundsThem) {
    Headset h;
    const auto first = LedReport(0x22, 0xAA, 10);
    const auto second = LedReport(0x44, 0xAD, 20);
    ASSERT_TRUE(h.hid->SetOutputReport(first.data(), first.size()));
    ASSERT_TRUE(h.hid->SetOutputReport(second.data(), second.size()));
    const auto taken = h.sim->TakeLedReports();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0], std::vector<std::uint8_t>(first.begin(), first.end()));
    EXPECT_EQ(taken[1], std::vector<std::uint8_t>(second.begin(), second.end()));
    EXPECT_TRUE(h.sim->TakeLedReports().empty());
    for (const WireEntry& entry : h.sim->Log().Entries())
        EXPECT_NE(entry.kind, WireEntry::Kind::Request) << "an LED report in the wire log";

    for (std::size_t i = 0; i < SimDevice::kLedReportsKept + 5; ++i)
        ASSERT_TRUE(h.hid->SetOutputReport(first.data(), first.size()));
    EXPECT_EQ(h.sim->TakeLedReports().size(), SimDevice::kLedReportsKept);
    EXPECT_EQ(h.sim->LedReportCount(), SimDevice::kLedReportsKept + 7);
}

TEST(SimHeadset, RefusesOutputReportsTheCollectionDoesNotHave) {
    Headset h;
    auto report = LedReport(0x22, 0xAA, 0);
    report[0] = 0x05;  // no output report of that id
    EXPECT_FALSE(h.hid->SetOutputReport(report.data(), report.size()));
    std::vector<std::uint8_t> tooLong(65, 0);
    tooLong[0] = 0xFF;
    EXPECT_FALSE(h.hid->SetOutputReport(tooLong.data(), tooLong.size()));
    EXPECT_FALSE(h.hid->SetOutputReport(nullptr, 17));
    EXPECT_EQ(h.sim->LedReportCount(), 0u);

    // Once the headset is gone, nothing is sent and the call fails.
    ASSERT_TRUE(h.sim->Unplug());
    const auto led = LedReport(0x22, 0xAA, 0);
    EXPECT_FALSE(h.hid->SetOutputReport(led.data(), led.size()));
}

}  // namespace
}  // namespace sim
