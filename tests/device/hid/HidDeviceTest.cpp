// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "support/Eventually.h"
#include "device/hid/EchoDevice.h"
#include "device/hid/HidDevice.h"
#include "device/hid/VirtualBus.h"

using namespace device;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::vector<uint8_t> VendorReport(uint8_t command) {
    std::vector<uint8_t> r(64, 0);
    r[0] = 4;
    r[3] = command;
    return r;
}

class HidDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        echo_ = std::make_shared<EchoDevice>();
        ASSERT_GE(bus_.Plug(echo_), 0);
        paths_ = bus_.PathsOf(*echo_);
    }
    std::string PathOf(int interfaceNumber, int collection) const {
        for (const auto& p : paths_) {
            if (HidPath::InterfaceNumber(p) == interfaceNumber && HidPath::CollectionNumber(p) == collection) return p;
        }
        return {};
    }

    VirtualBus bus_;
    std::shared_ptr<EchoDevice> echo_;
    std::vector<std::string> paths_;
};


TEST_F(HidDeviceTest, EnumeratesOnePathPerCollectionWithTokens) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.EnumerateHidPaths());
    std::vector<std::string> listed;
    while (auto p = hid.NextPath()) listed.push_back(*p);
    EXPECT_FALSE(hid.NextPath());
    ASSERT_EQ(listed.size(), 5u);  // boot keyboard + four collections of interface 1
    EXPECT_EQ(listed, paths_);
    EXPECT_NE(listed[0].find("#vid_320f&pid_505b&mi_00"), std::string::npos);
    EXPECT_EQ(listed[0].find("&col"), std::string::npos);  // a single collection has no &col
    EXPECT_NE(listed[4].find("&mi_01&col04"), std::string::npos);

    // A device with one interface is not composite: no &mi_.
    auto single = std::make_shared<EchoDevice>(0x1004, false);
    ASSERT_GE(bus_.Plug(single), 0);
    for (const auto& p : bus_.PathsOf(*single)) EXPECT_EQ(p.find("&mi_"), std::string::npos) << p;
    ASSERT_TRUE(hid.EnumerateHidPaths());
    EXPECT_EQ(hid.PathCount(), 9u);
    hid.FreePathList();
    EXPECT_FALSE(hid.NextPath());
}

TEST_F(HidDeviceTest, PathListGrowsPastSixteenEntries) {
    std::vector<std::shared_ptr<EchoDevice>> more;
    for (int i = 0; i < 4; ++i) {
        more.push_back(std::make_shared<EchoDevice>(uint16_t(0x2000 + i)));
        ASSERT_GE(bus_.Plug(more.back()), 0);
    }
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.EnumerateHidPaths());
    size_t count = 0;
    while (hid.NextPath()) ++count;
    EXPECT_EQ(count, 25u);
}

TEST_F(HidDeviceTest, OpenFillsAttributesCapsAndDataLists) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    EXPECT_EQ(hid.Attributes().vendorId, 0x320F);
    EXPECT_EQ(hid.Attributes().productId, 0x505B);
    EXPECT_EQ(hid.Attributes().versionNumber, 0x0105);
    EXPECT_EQ(hid.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(hid.Caps().usage, 0x92);
    EXPECT_EQ(hid.Caps().inputReportByteLength, 64);
    EXPECT_EQ(hid.InterfaceNumber(), 1u);
    EXPECT_EQ(hid.CollectionNumber(), 4u);
    EXPECT_EQ(hid.ReportBuffer(HidReportType::Input).size(), 64u);
    EXPECT_EQ(hid.ReportBuffer(HidReportType::Feature).size(), 0u);
    EXPECT_EQ(hid.DataList(HidReportType::Input).size(), 1u);  // one value usage, 63 bytes wide
    hid.Close();
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_EQ(hid.Caps().inputReportByteLength, 0);

    // Re-opening on another collection replaces everything.
    ASSERT_TRUE(hid.Open(PathOf(1, 3), true, false, true, false));
    EXPECT_EQ(hid.Caps().usagePage, 0x000C);
    ASSERT_EQ(hid.DataList(HidReportType::Input).size(), 1u);
    EXPECT_TRUE(hid.DataList(HidReportType::Input)[0].isButton);
}

TEST_F(HidDeviceTest, OpenRefusesStaleOverlongAndUnknownPaths) {
    HidDevice hid(bus_.Backend());
    std::string longPath = PathOf(1, 4) + std::string(HidDevice::kMaxPathLength, 'x');
    EXPECT_FALSE(hid.Open(longPath, true, true, true, false));
    EXPECT_FALSE(hid.Open("vhid99#vid_320f&pid_505b&mi_01&col04", true, true, true, false));
    EXPECT_FALSE(hid.Open(PathOf(1, 4).replace(PathOf(1, 4).find("505b"), 4, "505c"), true, true, true, false));
    EXPECT_FALSE(hid.Open(HidPath::Make(HidPath::Node(PathOf(1, 4)), 0x320F, 0x505B, 1, 5), true, true, true, false));
    EXPECT_FALSE(hid.IsOpen());
}

TEST_F(HidDeviceTest, WriteThenReadFollowsTheByteContract) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    auto request = VendorReport(0x03);
    size_t written = 0;
    ASSERT_TRUE(hid.WriteReport(request.data(), request.size(), &written, 1000));
    EXPECT_EQ(written, 64u);
    ASSERT_EQ(echo_->Written().size(), 1u);
    EXPECT_EQ(echo_->Written()[0], request);  // byte 0 is the report id on the wire too

    uint8_t reply[64] = {};
    size_t read = 0;
    ASSERT_TRUE(hid.ReadReport(reply, sizeof reply, &read, 1000));
    EXPECT_EQ(read, 64u);
    EXPECT_EQ(reply[0], 4);
    EXPECT_EQ(reply[3], 0x03);

    // Lengths the collection cannot carry, ids it does not own, and empty writes fail.
    EXPECT_FALSE(hid.WriteReport(request.data(), 0, &written, 100));
    std::vector<uint8_t> tooLong(65, 0);
    tooLong[0] = 4;
    EXPECT_FALSE(hid.WriteReport(tooLong.data(), tooLong.size(), &written, 100));
    request[0] = 3;
    EXPECT_FALSE(hid.WriteReport(request.data(), request.size(), &written, 100));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(echo_->Written().size(), 1u);
}

TEST_F(HidDeviceTest, ReadsSeeOnlyTheirCollectionsReports) {
    HidDevice vendor(bus_.Backend()), consumer(bus_.Backend()), boot(bus_.Backend());
    ASSERT_TRUE(vendor.Open(PathOf(1, 4), true, true, true, false));
    ASSERT_TRUE(consumer.Open(PathOf(1, 3), true, true, true, false));
    ASSERT_TRUE(boot.Open(PathOf(0, 0), true, false, true, false));

    const uint8_t event[] = {3, 0x01, 0x04};
    ASSERT_TRUE(echo_->SendInputReport(1, VendorReport(0x07)));
    ASSERT_TRUE(echo_->SendInputReport(1, event));
    const uint8_t keys[] = {0, 0, 0, 0x04, 0, 0, 0, 0, 0};
    ASSERT_TRUE(echo_->SendInputReport(0, keys));

    uint8_t buf[64];
    size_t n = 0;
    ASSERT_TRUE(consumer.ReadReport(buf, sizeof buf, &n, 500));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(buf[0], 3);
    EXPECT_FALSE(consumer.ReadReport(buf, sizeof buf, &n, 20));  // the vendor reply is not its

    ASSERT_TRUE(vendor.ReadReport(buf, sizeof buf, &n, 500));
    EXPECT_EQ(buf[0], 4);
    EXPECT_EQ(buf[3], 0x07);
    EXPECT_FALSE(vendor.ReadReport(buf, sizeof buf, &n, 20));

    // An unnumbered interface still puts the (zero) id in byte 0.
    ASSERT_TRUE(boot.ReadReport(buf, sizeof buf, &n, 500));
    EXPECT_EQ(n, 9u);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[3], 0x04);

    // The device cannot send what its descriptor does not declare.
    const uint8_t unknown[] = {9, 1};
    EXPECT_FALSE(echo_->SendInputReport(1, unknown));
    std::vector<uint8_t> oversized(65, 0);
    oversized[0] = 4;
    EXPECT_FALSE(echo_->SendInputReport(1, oversized));
}

TEST_F(HidDeviceTest, ReaderQueueHoldsSixtyFourReports) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    for (int i = 0; i < 70; ++i) ASSERT_TRUE(echo_->SendInputReport(1, VendorReport(uint8_t(i))));
    uint8_t buf[64];
    size_t n = 0;
    for (int i = 0; i < 64; ++i) {
        ASSERT_TRUE(hid.ReadReport(buf, sizeof buf, &n, 100)) << i;
        EXPECT_EQ(buf[3], i);  // oldest first; the six that came while full were dropped
    }
    EXPECT_FALSE(hid.ReadReport(buf, sizeof buf, &n, 20));
}

TEST_F(HidDeviceTest, ReadTimeLimitGivesFalseAndZeroBytes) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    uint8_t buf[64];
    size_t n = 99;
    auto start = Clock::now();
    EXPECT_FALSE(hid.ReadReport(buf, sizeof buf, &n, 50));
    auto took = MsSince(start);
    EXPECT_EQ(n, 0u);
    EXPECT_GE(took, 45);
    EXPECT_LT(took, 1000);
}

TEST_F(HidDeviceTest, InfiniteReadEndsWhenAnotherThreadClosesOrCancels) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    uint8_t buf[64];
    size_t n = 0;
    auto reader = std::async(std::launch::async, [&] { return hid.ReadReport(buf, sizeof buf, &n, HidDevice::kInfinite); });
    ASSERT_TRUE(test_support::Eventually([&] { return hid.ReadInProgress(); }));
    hid.CancelPending();
    ASSERT_EQ(reader.wait_for(1s), std::future_status::ready);
    EXPECT_FALSE(reader.get());

    // A later read is not ended by that old signal.
    ASSERT_TRUE(echo_->SendInputReport(1, VendorReport(1)));
    EXPECT_TRUE(hid.ReadReport(buf, sizeof buf, &n, 500));

    reader = std::async(std::launch::async, [&] { return hid.ReadReport(buf, sizeof buf, &n, HidDevice::kInfinite); });
    ASSERT_TRUE(test_support::Eventually([&] { return hid.ReadInProgress(); }));
    auto start = Clock::now();
    hid.Close();  // returns only when the read has left
    EXPECT_LT(MsSince(start), 1000);
    ASSERT_EQ(reader.wait_for(1s), std::future_status::ready);
    EXPECT_FALSE(reader.get());
    EXPECT_FALSE(hid.ReadReport(buf, sizeof buf, &n, 0));  // closed
}

TEST_F(HidDeviceTest, CancelEventEndsAWait) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    platform::Event cancel(platform::Event::Mode::ManualReset);
    uint8_t buf[64];
    size_t n = 0;
    auto reader = std::async(std::launch::async, [&] { return hid.ReadReport(buf, sizeof buf, &n, HidDevice::kInfinite, &cancel); });
    ASSERT_TRUE(test_support::Eventually([&] { return hid.ReadInProgress(); }));
    cancel.Set();
    ASSERT_EQ(reader.wait_for(1s), std::future_status::ready);
    EXPECT_FALSE(reader.get());
}

TEST_F(HidDeviceTest, UnplugEndsWaitsDrainsQueueThenFails) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    uint8_t buf[64];
    size_t n = 0;
    auto reader = std::async(std::launch::async, [&] { return hid.ReadReport(buf, sizeof buf, &n, HidDevice::kInfinite); });
    ASSERT_TRUE(test_support::Eventually([&] { return hid.ReadInProgress(); }));
    auto start = Clock::now();
    ASSERT_TRUE(bus_.Unplug(*echo_));
    ASSERT_EQ(reader.wait_for(1s), std::future_status::ready);
    EXPECT_FALSE(reader.get());
    EXPECT_LT(MsSince(start), 200);

    // Reports queued before an unplug are still read, then reads fail at once.
    ASSERT_GE(bus_.Plug(echo_), 0);
    paths_ = bus_.PathsOf(*echo_);
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    ASSERT_TRUE(echo_->SendInputReport(1, VendorReport(9)));
    ASSERT_TRUE(bus_.Unplug(*echo_));
    EXPECT_TRUE(hid.ReadReport(buf, sizeof buf, &n, 100));
    EXPECT_EQ(buf[3], 9);
    start = Clock::now();
    EXPECT_FALSE(hid.ReadReport(buf, sizeof buf, &n, HidDevice::kInfinite));
    EXPECT_LT(MsSince(start), 200);
    auto request = VendorReport(1);
    EXPECT_FALSE(hid.WriteReport(request.data(), request.size(), &n, 100));
    EXPECT_FALSE(echo_->SendInputReport(1, VendorReport(1)));
}

TEST_F(HidDeviceTest, ReplugGetsANewNodeAndTheOldPathIsDead) {
    const std::string before = PathOf(1, 4);
    ASSERT_TRUE(bus_.Unplug(*echo_));
    EXPECT_TRUE(bus_.PathsOf(*echo_).empty());
    ASSERT_GE(bus_.Plug(echo_), 0);
    EXPECT_EQ(bus_.Plug(echo_), -1);  // already plugged
    paths_ = bus_.PathsOf(*echo_);
    EXPECT_NE(PathOf(1, 4), before);
    HidDevice hid(bus_.Backend());
    EXPECT_FALSE(hid.Open(before, true, true, true, false));
    EXPECT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
}

TEST_F(HidDeviceTest, StalledWriteReturnsInTimeAndHoldsLaterWrites) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    echo_->SetEcho(false);
    echo_->SetAck({true, -1});  // the transfer never completes
    auto request = VendorReport(1);
    size_t n = 7;
    auto start = Clock::now();
    EXPECT_FALSE(hid.WriteReport(request.data(), request.size(), &n, 50));
    EXPECT_EQ(n, 0u);
    auto took = MsSince(start);
    EXPECT_GE(took, 45);
    EXPECT_LT(took, 1000);

    // While the kernel (here the device) holds the first transfer, no second one starts.
    request[3] = 2;
    EXPECT_FALSE(hid.WriteReport(request.data(), request.size(), &n, 30));
    EXPECT_EQ(echo_->Written().size(), 1u);

    // Close does not wait for the held transfer.
    start = Clock::now();
    hid.Close();
    EXPECT_LT(MsSince(start), 200);
    ASSERT_TRUE(bus_.Unplug(*echo_));  // releases the held transfer and its thread
}

TEST_F(HidDeviceTest, SlowWriteWithinTheLimitSucceedsAndStopEndsAWriteWait) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    echo_->SetAck({true, 30});
    auto request = VendorReport(1);
    size_t n = 0;
    EXPECT_TRUE(hid.WriteReport(request.data(), request.size(), &n, 1000));
    EXPECT_EQ(n, 64u);

    echo_->SetAck({true, 5000});
    auto writer = std::async(std::launch::async, [&] { return hid.WriteReport(request.data(), request.size(), &n, 10000); });
    ASSERT_TRUE(test_support::Eventually([&] { return hid.WriteInProgress(); }));
    auto start = Clock::now();
    hid.CancelPending();
    ASSERT_EQ(writer.wait_for(1s), std::future_status::ready);
    EXPECT_FALSE(writer.get());
    EXPECT_LT(MsSince(start), 200);

    echo_->SetAck({false, 0});  // the device refuses the transfer
    ASSERT_TRUE(bus_.Unplug(*echo_));
}

TEST_F(HidDeviceTest, RefusedTransferAndReadOnlyOpenFailWrites) {
    HidDevice hid(bus_.Backend());
    ASSERT_TRUE(hid.Open(PathOf(1, 4), true, true, true, false));
    echo_->SetAck({false, 0});
    auto request = VendorReport(1);
    size_t n = 0;
    EXPECT_FALSE(hid.WriteReport(request.data(), request.size(), &n, 500));
    HidDevice probe(bus_.Backend());
    ASSERT_TRUE(probe.Open(PathOf(1, 4), true, false, true, false));
    echo_->SetAck({true, 0});
    EXPECT_FALSE(probe.WriteReport(request.data(), request.size(), &n, 500));
}

TEST_F(HidDeviceTest, ExclusiveOpenKeepsOtherWritersOut) {
    HidDevice first(bus_.Backend()), second(bus_.Backend()), reader(bus_.Backend());
    ASSERT_TRUE(first.Open(PathOf(1, 4), true, true, true, true));
    EXPECT_FALSE(second.Open(PathOf(1, 4), true, true, true, false));
    EXPECT_TRUE(reader.Open(PathOf(1, 4), true, false, true, false));
    first.Close();
    EXPECT_TRUE(second.Open(PathOf(1, 4), true, true, true, false));
    EXPECT_FALSE(first.Open(PathOf(1, 4), true, true, true, true));
}

TEST_F(HidDeviceTest, PresenceTestDoesNotTouchOpenReaders) {
    auto backend = bus_.Backend();
    HidDevice hid(backend);
    ASSERT_TRUE(hid.Open(PathOf(1, 3), true, false, true, false));
    const uint8_t event[] = {3, 0x02, 0x04};
    ASSERT_TRUE(echo_->SendInputReport(1, event));
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(backend->IsPresent(PathOf(1, 3)));
    uint8_t buf[8];
    size_t n = 0;
    ASSERT_TRUE(hid.ReadReport(buf, sizeof buf, &n, 100));
    EXPECT_EQ(buf[1], 0x02);
    ASSERT_TRUE(bus_.Unplug(*echo_));
    EXPECT_FALSE(backend->IsPresent(PathOf(1, 3)));
}

TEST(VirtualBus, ChangeMonitorReportsPlugAndUnplugOnce) {
    VirtualBus bus;
    auto backend = bus.Backend();
    auto monitor = backend->WatchChanges();
    ASSERT_TRUE(monitor);
    EXPECT_FALSE(monitor->TakeChanges());
    auto echo = std::make_shared<EchoDevice>();
    ASSERT_GE(bus.Plug(echo), 0);
    EXPECT_TRUE(monitor->TakeChanges());
    EXPECT_FALSE(monitor->TakeChanges());
    ASSERT_TRUE(bus.Unplug(*echo));
    EXPECT_TRUE(monitor->TakeChanges());
}

TEST(VirtualBus, RefusesDevicesWithoutUsableDescriptors) {
    class Broken : public VirtualHidDevice {
    public:
        VirtualDeviceIdentity Identity() const override {
            return {0x320F, 0x505B, 1, "broken", {{1, {0xC0}}}};
        }
        VirtualWriteAck OnOutputReport(int, std::span<const uint8_t>) override { return {}; }
    };
    VirtualBus bus;
    auto broken = std::make_shared<Broken>();
    EXPECT_EQ(bus.Plug(broken), -1);
    EXPECT_FALSE(broken->IsPlugged());
    std::vector<std::string> paths;
    ASSERT_TRUE(bus.Backend()->Enumerate(paths));
    EXPECT_TRUE(paths.empty());
}

}  // namespace
