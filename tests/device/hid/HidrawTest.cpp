// SPDX-License-Identifier: GPL-3.0-or-later
// The hidraw backend on a fake sysfs tree (paths, attributes, presence), its connection
// over a packet socket standing in for the device file, and, where /dev/uhid can be
// opened, against a real kernel hidraw node.
#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "support/Eventually.h"
#include "device/hid/HidDevice.h"
#include "device/hid/HidrawBackend.h"
#include "device/hid/HidrawConnection.h"
#include "device/hid/HidrawNode.h"
#include "device/hid/FakeSysfsTree.h"
#include "device/hid/TestDescriptors.h"

using namespace device;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Two hidraw nodes: hidraw3 on interface 1 of a composite USB device, hidraw10 on a
// single-interface one.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override {
        tree_.AddNode("hidraw3", "1-1", 2, 1, "0003:0000320F:0000505B", testdesc::ConfigInterface());
        tree_.AddNode("hidraw10", "1-2", 1, 0, "0003:0000320F:00001004", testdesc::BootKeyboard());
        root_ = tree_.Root();
    }
    static void WriteFile(const fs::path& file, const std::string& text) { FakeSysfsTree::Write(file, text); }
    HidrawBackend Backend() const { return HidrawBackend(tree_.Sys(), tree_.Dev()); }

    FakeSysfsTree tree_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    fs::path root_;
};


TEST_F(FakeSysfs, EnumeratesNodesInNumberOrderWithTokens) {
    auto backend = Backend();
    std::vector<std::string> paths;
    ASSERT_TRUE(backend.Enumerate(paths));
    const std::string dev = (root_ / "dev").string();
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths[0], dev + "/hidraw3#vid_320f&pid_505b&mi_01&col01");
    EXPECT_EQ(paths[3], dev + "/hidraw3#vid_320f&pid_505b&mi_01&col04");
    EXPECT_EQ(paths[4], dev + "/hidraw10#vid_320f&pid_1004");  // not composite, one collection
}

TEST_F(FakeSysfs, ReadsAttributesFromTheUsbDevice) {
    auto node = HidrawNode::Read(root_ / "sys/class/hidraw/hidraw3", root_ / "dev");
    ASSERT_TRUE(node);
    EXPECT_EQ(node->attributes.vendorId, 0x320F);
    EXPECT_EQ(node->attributes.productId, 0x505B);
    EXPECT_EQ(node->attributes.versionNumber, 0x0105);
    EXPECT_EQ(node->interfaceNumber, 1);
    EXPECT_TRUE(node->composite);
    EXPECT_EQ(node->reportDescriptor, testdesc::ConfigInterface());

    // Opening for attributes only touches no device file.
    auto backend = std::make_shared<HidrawBackend>(root_ / "sys", root_ / "dev");
    HidDevice hid(backend);
    std::vector<std::string> paths;
    ASSERT_TRUE(backend->Enumerate(paths));
    ASSERT_TRUE(hid.Open(paths[3], false, false, true, false));
    EXPECT_EQ(hid.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(hid.Attributes().versionNumber, 0x0105);
    // A regular file is not a device node: opening it for reading is refused.
    EXPECT_FALSE(hid.Open(paths[3], true, false, true, false));
}

TEST_F(FakeSysfs, PresenceFollowsTheNodeAndItsIdentity) {
    auto backend = Backend();
    std::vector<std::string> paths;
    ASSERT_TRUE(backend.Enumerate(paths));
    EXPECT_TRUE(backend.IsPresent(paths[3]));
    EXPECT_TRUE(backend.IsPresent(paths[4]));
    // The node number now belongs to another device.
    WriteFile(root_ / "sys/class/hidraw/hidraw10/device/uevent", "HID_ID=0003:0000046D:0000C52B\n");
    EXPECT_FALSE(backend.IsPresent(paths[4]));
    EXPECT_FALSE(backend.Open(paths[4], {}));
    fs::remove(root_ / "sys/class/hidraw/hidraw3");
    EXPECT_FALSE(backend.IsPresent(paths[3]));
    fs::remove(root_ / "dev/hidraw10");
    EXPECT_FALSE(backend.IsPresent(paths[4]));
}

TEST(HidrawConnection, ReadsPrefixUnnumberedReportsAndSeeTheDeviceGo) {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds), 0);
    HidrawConnection numbered(fds[0], {}, true);
    uint8_t buf[16];
    size_t n = 0;
    EXPECT_EQ(numbered.TryRead(buf, n), HidReadStatus::WouldBlock);
    const uint8_t report[] = {4, 0xAA, 0xBB};
    ASSERT_EQ(::write(fds[1], report, sizeof report), 3);
    ASSERT_EQ(numbered.TryRead(buf, n), HidReadStatus::GotReport);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(buf[0], 4);

    const uint8_t out[] = {0, 1, 2};
    EXPECT_TRUE(numbered.Write(out));
    uint8_t got[8];
    EXPECT_EQ(::read(fds[1], got, sizeof got), 3);  // byte 0 goes to the kernel as it is
    EXPECT_EQ(got[0], 0);
    ::close(fds[1]);
    EXPECT_EQ(numbered.TryRead(buf, n), HidReadStatus::Gone);

    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds), 0);
    HidrawConnection unnumbered(fds[0], {}, false);
    const uint8_t keys[] = {0x02, 0x00, 0x04};
    ASSERT_EQ(::write(fds[1], keys, sizeof keys), 3);
    ASSERT_EQ(unnumbered.TryRead(buf, n), HidReadStatus::GotReport);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[1], 0x02);
    EXPECT_EQ(buf[3], 0x04);
    ::close(fds[1]);
}

// Where the output-report request is not known (an older kernel, here a socket), the
// report goes out as a plain write; a failed write is not taken for the request's refusal.
TEST(HidrawConnection, OutputReportFallsBackToAWrite) {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds), 0);
    HidrawConnection connection(fds[0], {}, true);
    const uint8_t led[17] = {0xFF, 0x22, 0xAA, 0, 247, 127};
    EXPECT_TRUE(connection.SetOutput(led));
    uint8_t got[32];
    ASSERT_EQ(::read(fds[1], got, sizeof got), 17);
    EXPECT_EQ(got[0], 0xFF);
    EXPECT_EQ(got[4], 247);
    ::close(fds[1]);
    EXPECT_FALSE(connection.SetOutput(led));
    EXPECT_FALSE(connection.SetOutput({}));
}

// A real hidraw node made with uhid: skipped where /dev/uhid is missing or not ours.
TEST(HidrawUhid, RoundTripAndUnplugOnARealNode) {
    int uhid = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (uhid < 0) GTEST_SKIP() << "/dev/uhid is not available: " << std::strerror(errno);
    const auto descriptor = testdesc::ConfigInterface();
    uhid_event create{};
    create.type = UHID_CREATE2;
    std::strcpy(reinterpret_cast<char*>(create.u.create2.name), "tx512 uhid test");
    create.u.create2.rd_size = static_cast<uint16_t>(descriptor.size());
    create.u.create2.bus = 0x03;
    create.u.create2.vendor = 0x320F;
    create.u.create2.product = 0x7E57;
    std::memcpy(create.u.create2.rd_data, descriptor.data(), descriptor.size());
    ASSERT_EQ(::write(uhid, &create, sizeof create), ssize_t(sizeof create));

    auto backend = std::make_shared<HidrawBackend>();
    std::string path;
    // The kernel makes the hidraw node a little after the uhid device is created.
    bool enumerated = true;
    test_support::Eventually([&] {
        std::vector<std::string> paths;
        enumerated = backend->Enumerate(paths);
        if (!enumerated) return true;
        for (const auto& p : paths) {
            if (HidPath::ProductId(p) == 0x7E57 && HidPath::CollectionNumber(p) == 4) path = p;
        }
        return !path.empty();
    });
    ASSERT_TRUE(enumerated);
    if (path.empty()) {
        ::close(uhid);
        GTEST_SKIP() << "no hidraw node appeared for the uhid device";
    }
    HidDevice hid(backend);
    if (!hid.Open(path, true, true, true, false)) {
        ::close(uhid);
        GTEST_SKIP() << "cannot open " << path << " read-write";
    }
    std::vector<uint8_t> request(64, 0);
    request[0] = 4;
    request[3] = 0x55;
    // The kernel waits for uhid to take the output report: answer it from a thread.
    std::thread device([&] {
        pollfd p{uhid, POLLIN, 0};
        for (int i = 0; i < 100 && ::poll(&p, 1, 20) >= 0; ++i) {
            uhid_event ev{};
            if (::read(uhid, &ev, sizeof ev) <= 0) continue;
            if (ev.type == UHID_OUTPUT && ev.u.output.data[0] == 4) {
                uhid_event in{};
                in.type = UHID_INPUT2;
                in.u.input2.size = 64;
                std::memcpy(in.u.input2.data, ev.u.output.data, 64);
                [[maybe_unused]] auto w = ::write(uhid, &in, sizeof in);
                return;
            }
        }
    });
    size_t n = 0;
    EXPECT_TRUE(hid.WriteReport(request.data(), request.size(), &n, 1000));
    uint8_t reply[64];
    EXPECT_TRUE(hid.ReadReport(reply, sizeof reply, &n, 1000));
    EXPECT_EQ(reply[0], 4);
    EXPECT_EQ(reply[3], 0x55);
    device.join();

    auto start = std::chrono::steady_clock::now();
    uhid_event destroy{};
    destroy.type = UHID_DESTROY;
    ASSERT_EQ(::write(uhid, &destroy, sizeof destroy), ssize_t(sizeof destroy));
    EXPECT_FALSE(hid.ReadReport(reply, sizeof reply, &n, 2000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    ::close(uhid);
}

}  // namespace
