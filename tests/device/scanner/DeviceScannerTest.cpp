// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "device/hid/VirtualBus.h"
#include "device/scanner/DeviceScanner.h"
#include "device/scanner/RecordingClient.h"
#include "device/scanner/SupportedDevices.h"
#include "platform/Trace.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimDevice.h"
#include "sim/SimulatedDevices.h"

using namespace device;
using namespace std::chrono_literals;

namespace {

std::string PathWith(const std::vector<std::string>& paths, const char* tokens) {
    for (const auto& p : paths) {
        if (p.find(tokens) != std::string::npos) return p;
    }
    return {};
}

// A backend that fails on request, in front of the virtual bus: a listing that fails,
// or collections that refuse to open a given number of times.
class FlakyBackend : public HidBackend {
public:
    explicit FlakyBackend(std::shared_ptr<HidBackend> inner) : inner_(std::move(inner)) {}
    bool Enumerate(std::vector<std::string>& paths) override {
        ++enumerations;
        if (failEnumerations > 0) {
            --failEnumerations;
            return false;
        }
        return inner_->Enumerate(paths);
    }
    std::shared_ptr<HidConnection> Open(const std::string& path, const HidOpenMode& mode) override {
        if (failOpens > 0) {
            --failOpens;
            return nullptr;
        }
        return inner_->Open(path, mode);
    }
    bool IsPresent(const std::string& path) override { return inner_->IsPresent(path); }
    std::unique_ptr<HidChangeMonitor> WatchChanges() override { return inner_->WatchChanges(); }

    int failEnumerations = 0;
    int failOpens = 0;
    int enumerations = 0;

private:
    std::shared_ptr<HidBackend> inner_;
};

class DeviceScannerTest : public ::testing::Test {
protected:
    VirtualBus bus_;
    SlotList slots_;
    RecordingClient client_{slots_};
};


TEST_F(DeviceScannerTest, FirstPassClaimsKeyboardAndPadSlotsAndPostsOnce) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.RunPass();
    auto messages = client_.Messages();
    ASSERT_EQ(messages.size(), 4u);
    std::set<size_t> claimed;
    for (const auto& m : messages) {
        EXPECT_EQ(m.message, kDeviceArrivedMessage);
        EXPECT_EQ(m.state.connected, 1);  // the handler sees the slot claimed, with its path
        EXPECT_FALSE(m.state.path.empty());
        claimed.insert(m.slot);
    }
    EXPECT_EQ(claimed, (std::set<size_t>{0, 1, 4, 5}));
    // In the order the paths are listed: the keyboard's consumer collection comes first.
    EXPECT_EQ(messages[0].slot, 1u);
    EXPECT_EQ(messages[1].slot, 0u);
    EXPECT_EQ(client_.FirstScanNotices(), 1);

    const auto keyboard = bus_.PathsOf(*devices.keyboard);
    const auto pad = bus_.PathsOf(*devices.pad);
    EXPECT_EQ(slots_.Slot(0).path, PathWith(keyboard, "&mi_01&col04"));
    EXPECT_EQ(slots_.Slot(1).path, PathWith(keyboard, "&mi_01&col03"));
    EXPECT_EQ(slots_.Slot(4).path, PathWith(pad, "&mi_01&col04"));
    EXPECT_EQ(slots_.Slot(5).path, PathWith(pad, "&mi_01&col03"));

    scanner.RunPass();
    EXPECT_EQ(client_.Messages().size(), 4u);
    EXPECT_EQ(client_.FirstScanNotices(), 1);
}

TEST_F(DeviceScannerTest, UsageDecidesNotThePathTokens) {
    // A keyboard whose collection 4 is a consumer collection and whose collection 3 is
    // the vendor one: the tokens fit rows 0 and 1, the usages fit neither.
    sim::SimDeviceDefinition definition = sim::KeyboardDefinition();
    const std::vector<uint8_t> swapped = {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x01, 0xC0,  // col 1
        0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, 0x02, 0x75, 0x08, 0x95, 0x01, 0x81, 0x01, 0xC0,  // col 2
        0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04,                                      // col 3: vendor
        0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0,
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x19, 0x00, 0x2A, 0xFF, 0x06,              // col 4: consumer
        0x15, 0x00, 0x26, 0xFF, 0x06, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
    };
    for (auto& i : definition.interfaces) {
        if (i.number == 1) i.reportDescriptor = swapped;
    }
    auto odd = std::make_shared<sim::SimDevice>(definition);
    ASSERT_TRUE(odd->Plug(bus_));
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.RunPass();
    EXPECT_TRUE(client_.Messages().empty());
    EXPECT_EQ(client_.FirstScanNotices(), 1);
}

TEST_F(DeviceScannerTest, DevicesWithVendorAndProductZeroFillNoPlaceholderRow) {
    sim::SimDeviceDefinition definition = sim::KeyboardDefinition();
    definition.vendorId = 0;
    definition.productId = 0;
    auto nameless = std::make_shared<sim::SimDevice>(definition);
    ASSERT_TRUE(nameless->Plug(bus_));
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.RunPass();
    EXPECT_TRUE(client_.Messages().empty());
}

TEST_F(DeviceScannerTest, NothingChangingMeansNoEnumeration) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    for (int i = 0; i < 50; ++i) scanner.RunPass();
    auto stats = scanner.Stats();
    EXPECT_EQ(stats.enumerations, 1u);
    EXPECT_EQ(stats.presenceTests, 49u * 4u + 4u);
    EXPECT_EQ(stats.probes, 4u);

    // A change on the bus is looked at once, and only once.
    devices.pad->Unplug();
    scanner.RunPass();
    EXPECT_EQ(scanner.Stats().enumerations, 2u);
    EXPECT_EQ(client_.Messages().size(), 6u);  // both pad slots released in that pass
    for (int i = 0; i < 5; ++i) scanner.RunPass();
    EXPECT_EQ(scanner.Stats().enumerations, 2u);
}

TEST_F(DeviceScannerTest, WhenEverySlotIsTakenOnlyPresenceTestsRun) {
    SlotList two({SupportedInterfaceTable()[0], SupportedInterfaceTable()[1]});
    RecordingClient client(two);
    auto devices = sim::PlugSimulatedDevices(bus_);
    auto flaky = std::make_shared<FlakyBackend>(bus_.Backend());
    DeviceScanner scanner(two, client, flaky);
    scanner.RunPass();
    ASSERT_TRUE(two.AllSlotsTaken());
    devices.pad->Unplug();  // a change, but no slot could take anything
    devices.pad->Plug(bus_);
    for (int i = 0; i < 5; ++i) scanner.RunPass();
    EXPECT_EQ(flaky->enumerations, 1);
    EXPECT_EQ(client.FirstScanNotices(), 1);
}

TEST_F(DeviceScannerTest, UnplugFreesSlotsAndReplugClaimsThemAgain) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.RunPass();
    ASSERT_EQ(client_.Messages().size(), 4u);

    devices.keyboard->Unplug();
    scanner.RunPass();
    auto messages = client_.Messages();
    ASSERT_EQ(messages.size(), 6u);
    for (size_t i = 4; i < 6; ++i) {
        EXPECT_EQ(messages[i].message, kDeviceRemovedMessage);
        EXPECT_EQ(messages[i].state.connected, 0);  // already free when the handler runs
        EXPECT_TRUE(messages[i].state.path.empty());
    }
    EXPECT_EQ((std::set<size_t>{messages[4].slot, messages[5].slot}), (std::set<size_t>{0, 1}));
    EXPECT_EQ(slots_.Slot(4).connected, 1);  // the pad keeps its slots

    ASSERT_TRUE(devices.keyboard->Plug(bus_));
    scanner.RunPass();
    messages = client_.Messages();
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ((std::set<size_t>{messages[6].slot, messages[7].slot}), (std::set<size_t>{0, 1}));
    EXPECT_EQ(messages[6].message, kDeviceArrivedMessage);
    EXPECT_EQ(slots_.Slot(0).path, PathWith(bus_.PathsOf(*devices.keyboard), "&mi_01&col04"));
    EXPECT_EQ(client_.FirstScanNotices(), 1);
}

// Pulled and plugged in again between two passes: the new node is listed while the old
// one still holds the slots, and no later change would list it again.
TEST_F(DeviceScannerTest, AReplugBetweenTwoPassesIsClaimedWithoutAnotherListing) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.RunPass();
    devices.keyboard->Unplug();
    ASSERT_TRUE(devices.keyboard->Plug(bus_));
    scanner.RunPass();  // lists the new node, then finds the old one gone
    EXPECT_EQ(slots_.Slot(0).connected, 0);
    scanner.RunPass();
    EXPECT_EQ(slots_.Slot(0).connected, 1);
    EXPECT_EQ(slots_.Slot(1).connected, 1);
    EXPECT_EQ(slots_.Slot(0).path, PathWith(bus_.PathsOf(*devices.keyboard), "&mi_01&col04"));
    EXPECT_EQ(scanner.Stats().enumerations, 2u);
    const auto messages = client_.Messages();
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ(messages[6].message, kDeviceArrivedMessage);
    EXPECT_EQ(messages[7].message, kDeviceArrivedMessage);
}

TEST_F(DeviceScannerTest, FailedListingAndFailedProbesAreRetried) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    auto flaky = std::make_shared<FlakyBackend>(bus_.Backend());
    flaky->failEnumerations = 1;
    DeviceScanner scanner(slots_, client_, flaky);
    scanner.RunPass();  // the listing fails: the scanner goes on
    EXPECT_TRUE(client_.Messages().empty());
    EXPECT_EQ(client_.FirstScanNotices(), 1);
    EXPECT_EQ(scanner.Stats().failedEnumerations, 1u);

    flaky->failOpens = 3;  // three of the four wanted collections do not open this time
    scanner.RunPass();
    EXPECT_EQ(client_.Messages().size(), 1u);
    EXPECT_EQ(flaky->enumerations, 2);
    scanner.RunPass();  // retried without a new listing
    EXPECT_EQ(client_.Messages().size(), 4u);
    EXPECT_EQ(flaky->enumerations, 2);
    scanner.RunPass();
    EXPECT_EQ(scanner.Stats().probes, 7u);
}

TEST_F(DeviceScannerTest, PresenceTestsLeaveAnOpenChannelAlone) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.RunPass();
    HidDevice channel(bus_.Backend());
    ASSERT_TRUE(channel.Open(slots_.Slot(0).path, true, true, true, false));
    for (int i = 0; i < 20; ++i) scanner.RunPass();
    // A command exchange still works: BeginConfig (code 1), checksum 0x0001.
    uint8_t request[64] = {4, 0x01, 0x00, 0x01};
    uint8_t reply[64] = {};
    size_t n = 0;
    ASSERT_TRUE(channel.WriteReport(request, sizeof request, &n, 1000));
    ASSERT_TRUE(channel.ReadReport(reply, sizeof reply, &n, 1000));
    EXPECT_EQ(reply[3], 0x01);
}

TEST_F(DeviceScannerTest, ThreadSeesArrivalAndRemovalQuicklyAndStopsInTime) {
    std::vector<std::string> traces;
    std::mutex traceMutex;
    platform::SetTraceSink([&](std::string_view text) {
        std::lock_guard lock(traceMutex);
        traces.emplace_back(text);
    });
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.Start();
    auto start = std::chrono::steady_clock::now();
    auto devices = sim::PlugSimulatedDevices(bus_);
    ASSERT_TRUE(client_.WaitForMessages(4, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);

    start = std::chrono::steady_clock::now();
    devices.keyboard->Unplug();
    ASSERT_TRUE(client_.WaitForMessages(6, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);

    start = std::chrono::steady_clock::now();
    EXPECT_EQ(scanner.Stop(1000), platform::WorkerThread::StopResult::Ended);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    platform::SetTraceSink({});
    std::lock_guard lock(traceMutex);
    EXPECT_NE(std::find(traces.begin(), traces.end(), "抓取设备线程设定退出\n"), traces.end());
}

TEST_F(DeviceScannerTest, AQuietBusLetsTheThreadSleepUntilTheMonitorSpeaks) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    DeviceScanner scanner(slots_, client_, bus_.Backend());
    scanner.Start();
    ASSERT_TRUE(client_.WaitForMessages(4, 2s));
    // Real time on purpose: a settled scanner makes no pass over a stretch of it.
    std::this_thread::sleep_for(200ms);
    const uint64_t settled = scanner.Stats().passes;
    std::this_thread::sleep_for(600ms);
    // Nothing to retry and no news: no pass at the 100 ms interval.
    EXPECT_LE(scanner.Stats().passes, settled + 1);

    // News still wakes it at once: a removal and an arrival.
    auto start = std::chrono::steady_clock::now();
    devices.pad->Unplug();
    ASSERT_TRUE(client_.WaitForMessages(6, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    start = std::chrono::steady_clock::now();
    devices.pad->Plug(bus_);
    ASSERT_TRUE(client_.WaitForMessages(8, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(scanner.Stop(1000), platform::WorkerThread::StopResult::Ended);
}

TEST_F(DeviceScannerTest, ACollectionThatDidNotOpenIsRetriedAtThePassInterval) {
    auto devices = sim::PlugSimulatedDevices(bus_);
    auto flaky = std::make_shared<FlakyBackend>(bus_.Backend());
    flaky->failOpens = 1;  // its permissions arrive a moment after the node
    DeviceScanner scanner(slots_, client_, flaky);
    scanner.Start();
    ASSERT_TRUE(client_.WaitForMessages(4, 2s));  // without any news from the monitor
    EXPECT_EQ(flaky->enumerations, 1);
    EXPECT_EQ(scanner.Stop(1000), platform::WorkerThread::StopResult::Ended);
}

}  // namespace
