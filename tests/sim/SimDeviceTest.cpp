// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated devices seen from the host side of the virtual bus, through HidDevice:
// what they present, how they answer, what they send by themselves, how they fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "device/hid/HidDevice.h"
#include "device/hid/VirtualBus.h"
#include "RequestFrame.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
using device::HidDevice;

std::string PathWith(device::VirtualBus& bus, const SimDevice& dev, const std::string& tail) {
    for (const std::string& p : bus.PathsOf(dev)) {
        if (p.size() >= tail.size() && p.compare(p.size() - tail.size(), tail.size(), tail) == 0) {
            return p;
        }
    }
    return {};
}

using test::Request;

// Objects that hold locks live on the heap in these tests: ThreadSanitizer cannot see a
// std::mutex on the stack die, and would tie the locks of one test to those of the next
// one that happens to live at the same address.
struct Host {
    device::VirtualBus bus;
    SimulatedDevices devices = PlugSimulatedDevices(bus);
    HidDevice command{bus.Backend()};
    HidDevice events{bus.Backend()};

    Host() {
        EXPECT_TRUE(command.Open(PathWith(bus, *devices.keyboard, "&mi_01&col04"), true, true, true,
                                 false));
        EXPECT_TRUE(
            events.Open(PathWith(bus, *devices.keyboard, "&mi_01&col03"), true, true, true, false));
    }
    bool Send(const Frame& f) {
        std::size_t n = 0;
        return command.WriteReport(f.data(), f.size(), &n, 1000);
    }
    bool Receive(Frame& f, int ms = 1000) {
        std::size_t n = 0;
        f.fill(0);
        return command.ReadReport(f.data(), f.size(), &n, ms) && n == 64;
    }
};

TEST(SimDevice, PresentsBothDevicesWithTheirCollections) {
    device::VirtualBus bus;
    SimulatedDevices devices = PlugSimulatedDevices(bus);
    ASSERT_TRUE(devices.keyboard->IsPlugged());
    ASSERT_TRUE(devices.pad->IsPlugged());

    struct Expect {
        const SimDevice* dev;
        const char* tail;
        std::uint16_t page, usage, inLength, outLength;
    };
    const Expect expected[] = {
        {devices.keyboard.get(), "&mi_01&col04", 0xFF1C, 0x0092, 64, 64},
        {devices.keyboard.get(), "&mi_01&col03", 0x000C, 0x0001, 3, 0},
        {devices.keyboard.get(), "&mi_01&col01", 0x0001, 0x0006, 17, 0},
        {devices.keyboard.get(), "&mi_00", 0x0001, 0x0006, 9, 2},
        {devices.pad.get(), "&mi_01&col04", 0xFF1C, 0x0092, 64, 64},
        {devices.pad.get(), "&mi_01&col03", 0x000C, 0x0001, 3, 0},
        {devices.pad.get(), "&mi_00", 0xFF00, 0x0001, 9, 9},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.tail);
        const std::string path = PathWith(bus, *e.dev, e.tail);
        ASSERT_FALSE(path.empty());
        auto hidOwner = std::make_unique<HidDevice>(bus.Backend());
        HidDevice& hid = *hidOwner;
        ASSERT_TRUE(hid.Open(path, true, false, true, false));
        EXPECT_EQ(hid.Caps().usagePage, e.page);
        EXPECT_EQ(hid.Caps().usage, e.usage);
        EXPECT_EQ(hid.Caps().inputReportByteLength, e.inLength);
        EXPECT_EQ(hid.Caps().outputReportByteLength, e.outLength);
        EXPECT_EQ(hid.Attributes().vendorId, 0x320F);
        EXPECT_EQ(hid.Attributes().productId, e.dev->Definition().productId);
        EXPECT_EQ(hid.Attributes().versionNumber, e.dev->Definition().releaseNumber);
        EXPECT_NE(hid.Attributes().versionNumber, 0);
    }
    EXPECT_EQ(bus.PathsOf(*devices.keyboard).size(), 5u);
    EXPECT_EQ(HidDevice::ParseProductId(PathWith(bus, *devices.pad, "&col04")), 0x1004);
}

TEST(SimDevice, AnswersOnTheVendorCollectionAndLogsBothWays) {
    auto owner = std::make_unique<Host>();
    Host& host = *owner;
    const auto before = Clock::now();
    ASSERT_TRUE(host.Send(Request(3, 34, 0)));
    Frame reply;
    ASSERT_TRUE(host.Receive(reply));
    EXPECT_EQ(reply[3], 3);
    EXPECT_EQ(reply[7], Firmware::kStatusOk);
    EXPECT_EQ(reply[8 + 5], 126);

    const auto log = host.devices.keyboard->Log().Entries();
    std::vector<WireEntry> wire;
    for (const WireEntry& e : log) {
        if (e.kind != WireEntry::Kind::Note) wire.push_back(e);
    }
    ASSERT_EQ(wire.size(), 2u);
    EXPECT_EQ(wire[0].kind, WireEntry::Kind::Request);
    EXPECT_EQ(wire[0].interfaceNumber, 1);
    EXPECT_EQ(wire[0].bytes[3], 3);
    EXPECT_EQ(wire[1].kind, WireEntry::Kind::Reply);
    EXPECT_EQ(wire[1].bytes, std::vector<std::uint8_t>(reply.begin(), reply.end()));
    EXPECT_GE(wire[0].time, before);
    EXPECT_LE(wire[0].time, wire[1].time);

    // Nothing but the vendor collection's reports reach the firmware.
    const std::uint8_t leds[2] = {0, 0x01};
    std::size_t n = 0;
    auto bootOwner = std::make_unique<HidDevice>(host.bus.Backend());
    HidDevice& boot = *bootOwner;
    ASSERT_TRUE(
        boot.Open(PathWith(host.bus, *host.devices.keyboard, "&mi_00"), true, true, true, false));
    EXPECT_TRUE(boot.WriteReport(leds, 2, &n, 1000));
    EXPECT_FALSE(host.Receive(reply, 50));
}

TEST(SimDevice, SendsItsOwnEventsOnTheConsumerCollectionOnly) {
    auto owner = std::make_unique<Host>();
    Host& host = *owner;
    auto& kb = *host.devices.keyboard;
    ASSERT_TRUE(kb.PressKey(3));
    ASSERT_TRUE(kb.ReleaseKey(3));
    const std::uint8_t block[2] = {0x07, 0x02};
    ASSERT_TRUE(kb.ChangeSettingsOnDevice(1, block));
    kb.SwitchProfileOnDevice(2);

    const std::uint16_t expected[] = {0x0503, 0x0603, 0x0401, 0x0402};
    for (std::uint16_t usage : expected) {
        std::uint8_t report[3] = {};
        std::size_t n = 0;
        ASSERT_TRUE(host.events.ReadReport(report, 3, &n, 1000));
        EXPECT_EQ(n, 3u);
        EXPECT_EQ(report[0], 3);
        EXPECT_EQ(report[1] | report[2] << 8, usage);
    }
    Frame reply;
    EXPECT_FALSE(host.Receive(reply, 50));  // the vendor collection saw none of them

    kb.Inspect([](const Firmware& fw) {
        EXPECT_EQ(fw.Settings().Bytes()[0], 2);
        EXPECT_EQ(fw.Settings().Bytes()[1], 0x07);
    });
    EXPECT_FALSE(kb.PressKey(126));               // past the last slot
    EXPECT_FALSE(host.devices.pad->PressKey(0));  // the pad has no keys
}

TEST(SimDevice, KeyTableReadBackIsSwitchedWhileConnectedAndKeptAcrossAReplug) {
    auto owner = std::make_unique<Host>();
    Host& host = *owner;
    auto& kb = *host.devices.keyboard;
    // One exchange on `hid`: the reply's first data bytes, or nothing when it failed.
    using Bytes = std::optional<std::vector<std::uint8_t>>;
    const auto exchange = [](HidDevice& hid, const Frame& request, std::size_t n) -> Bytes {
        std::size_t done = 0;
        Frame reply{};
        if (!hid.WriteReport(request.data(), 64, &done, 1000) ||
            !hid.ReadReport(reply.data(), 64, &done, 1000) || reply[7] != Firmware::kStatusOk)
            return std::nullopt;
        return std::vector<std::uint8_t>(reply.begin() + 8, reply.begin() + 8 + n);
    };
    const Frame readSlot1 = Request(7, 3, 3);
    const Bytes factory = exchange(host.command, readSlot1, 3);
    const std::vector<std::uint8_t> remap = {0x20, 0x02, 0x04};
    ASSERT_TRUE(factory.has_value());
    ASSERT_NE(*factory, remap);
    ASSERT_TRUE(exchange(host.command, Request(9, 3, 3, remap), 0).has_value());
    kb.Inspect([&remap](const Firmware& fw) {
        EXPECT_TRUE(std::equal(remap.begin(), remap.end(), fw.KeyTable().Bytes().begin() + 3));
    });
    EXPECT_EQ(exchange(host.command, readSlot1, 3), factory);

    kb.SetKeyTableReadback(KeyTableReadback::Written);
    EXPECT_EQ(exchange(host.command, readSlot1, 3), remap);

    // A reconnection finds the same answer: the choice lives in the device, not the node.
    ASSERT_TRUE(kb.Unplug());
    ASSERT_TRUE(kb.Plug(host.bus));
    auto againOwner = std::make_unique<HidDevice>(host.bus.Backend());
    HidDevice& again = *againOwner;
    ASSERT_TRUE(again.Open(PathWith(host.bus, kb, "&mi_01&col04"), true, true, true, false));
    EXPECT_EQ(exchange(again, readSlot1, 3), remap);
    kb.Inspect([](const Firmware& fw) { EXPECT_EQ(fw.Readback(), KeyTableReadback::Written); });

    kb.SetKeyTableReadback(KeyTableReadback::Layout);
    EXPECT_EQ(exchange(again, readSlot1, 3), factory);
}

TEST(SimDevice, FaultsWrongEchoStatusAndSlowReply) {
    auto owner = std::make_unique<Host>();
    Host& host = *owner;
    auto& faults = host.devices.keyboard->Faults();
    Frame reply;

    faults.Arm({Fault::Kind::WrongEchoFirst, 5, 0, 1, 0});
    ASSERT_TRUE(host.Send(Request(5, 1, 0)));
    ASSERT_TRUE(host.Receive(reply));
    EXPECT_NE(reply[3], 5);
    ASSERT_TRUE(host.Receive(reply));
    EXPECT_EQ(reply[3], 5);
    EXPECT_EQ(reply[7], Firmware::kStatusOk);

    faults.Arm({Fault::Kind::StatusFE, -1, 0, 1, 0});
    faults.Arm({Fault::Kind::StatusFF, -1, 0, 1, 0});
    ASSERT_TRUE(host.Send(Request(1)));
    ASSERT_TRUE(host.Receive(reply));
    EXPECT_EQ(reply[7], 0xFE);
    ASSERT_TRUE(host.Send(Request(1)));
    ASSERT_TRUE(host.Receive(reply));
    EXPECT_EQ(reply[7], 0xFF);
    host.devices.keyboard->Inspect([](const Firmware& fw) { EXPECT_FALSE(fw.InConfig()); });

    faults.Arm({Fault::Kind::SlowReply, -1, 0, 1, 150});
    const auto start = Clock::now();
    ASSERT_TRUE(host.Send(Request(170)));
    EXPECT_FALSE(host.Receive(reply, 50));
    ASSERT_TRUE(host.Receive(reply, 1000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(reply[3], 170);

    faults.Arm({Fault::Kind::NoReply, -1, 0, 1, 0});
    ASSERT_TRUE(host.Send(Request(1)));
    EXPECT_FALSE(host.Receive(reply, 100));
    host.devices.keyboard->Inspect([](const Firmware& fw) { EXPECT_FALSE(fw.InConfig()); });
}

TEST(SimDevice, UnplugEndsWaitsAtOnceAndReplugKeepsMemory) {
    auto owner = std::make_unique<Host>();
    Host& host = *owner;
    auto& kb = *host.devices.keyboard;
    kb.SwitchProfileOnDevice(4);

    // Pulled out while the host waits for a reply that will not come.
    kb.Faults().Arm({Fault::Kind::NoReply, -1, 0, 1, 0});
    ASSERT_TRUE(host.Send(Request(1)));
    std::thread puller([&] {
        // Real time on purpose: the unplug comes while the host waits for its reply.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        kb.Unplug();
    });
    Frame reply;
    const auto start = Clock::now();
    EXPECT_FALSE(host.Receive(reply, 5000));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
    puller.join();
    EXPECT_FALSE(kb.IsPlugged());
    EXPECT_FALSE(host.Send(Request(1)));
    EXPECT_FALSE(kb.SendEvent(SimDevice::kSettingsChanged));

    // The unplug fault pulls the device out instead of answering.
    ASSERT_TRUE(kb.Plug(host.bus));
    EXPECT_FALSE(kb.Plug(host.bus));
    auto againOwner = std::make_unique<HidDevice>(host.bus.Backend());
    HidDevice& again = *againOwner;
    ASSERT_TRUE(again.Open(PathWith(host.bus, kb, "&col04"), true, true, true, false));
    kb.Faults().Arm({Fault::Kind::Unplug, 9, 1, 1, 0});
    std::size_t n = 0;
    const Frame first = Request(9, 0, 0);
    EXPECT_TRUE(again.WriteReport(first.data(), 64, &n, 1000));
    ASSERT_TRUE(again.ReadReport(reply.data(), 64, &n, 1000));
    EXPECT_FALSE(again.WriteReport(first.data(), 64, &n, 1000));
    EXPECT_FALSE(kb.IsPlugged());
    EXPECT_FALSE(again.ReadReport(reply.data(), 64, &n, 1000));

    ASSERT_TRUE(kb.Plug(host.bus));
    kb.Inspect([](const Firmware& fw) { EXPECT_EQ(fw.Settings().Bytes()[0], 4); });
}

}  // namespace
}  // namespace sim
