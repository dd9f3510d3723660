// SPDX-License-Identifier: GPL-3.0-or-later
// What waits on the channel before a request is not its answer: late replies to requests
// that timed out and bursts of key events are dropped first, and a request bound to a
// connection that closed in the meantime never goes out.
#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "ChannelOnBus.h"
#include "device/hid/VirtualReader.h"
#include "device/protocol/ReportFrame.h"
#include "device/protocol/ResultCode.h"

namespace device {
namespace {

using namespace device::testing;
using Kind = sim::Fault::Kind;

constexpr int kDrainLimit = 80;  // both reads of a request end after 2 * kDrainLimit

struct DrainHost : ChannelOnBus {
    DrainHost() { channel.SetTimeLimits({kDrainLimit, 2 * kDrainLimit}); }

    // Distinct bytes at two settings offsets, so a reply shows which read it answers.
    void StoreMarkers() {
        const std::vector<std::uint8_t> first(8, 0xA1), second(8, 0xB2);
        ASSERT_EQ(commands.WriteSettingsMemory(first, 0x40), kResultSuccess);
        ASSERT_EQ(commands.WriteSettingsMemory(second, 0x80), kResultSuccess);
        keyboard.Log().Clear();
    }
    // Waits until the sim has put every delayed reply on the wire.
    void AwaitReplies(std::size_t count) {
        const bool came = test_support::Eventually([&] {
            std::size_t replies = 0;
            for (const sim::WireEntry& e : keyboard.Log().Entries())
                if (e.kind == sim::WireEntry::Kind::Reply) ++replies;
            return replies >= count;
        });
        if (!came) ADD_FAILURE() << "the late replies never came";
    }
};

TEST(CommandChannelDrain, LateReplyIsNotTakenByTheNextRequestWithTheSameCode) {
    auto owner = std::make_unique<DrainHost>();
    DrainHost& host = *owner;
    host.StoreMarkers();
    const std::uint64_t drainedBefore = host.channel.DrainedReports();

    host.keyboard.Faults().Arm({Kind::SlowReply, 5, 0, 1, 3 * kDrainLimit});
    std::vector<std::uint8_t> first(8, 0);
    EXPECT_EQ(host.commands.ReadSettingsMemory(first, 0x40), kResultNoReply);
    EXPECT_EQ(first, std::vector<std::uint8_t>(8, 0));
    host.AwaitReplies(1);

    // Same command code, same length: only the offset tells the two replies apart.
    std::vector<std::uint8_t> second(8, 0);
    EXPECT_EQ(host.commands.ReadSettingsMemory(second, 0x80), kResultSuccess);
    EXPECT_EQ(second, std::vector<std::uint8_t>(8, 0xB2));
    EXPECT_EQ(host.channel.DrainedReports(), drainedBefore + 1);

    // Nothing stale is left for the one after it either.
    EXPECT_EQ(host.commands.ReadSettingsMemory(first, 0x40), kResultSuccess);
    EXPECT_EQ(first, std::vector<std::uint8_t>(8, 0xA1));
    EXPECT_EQ(host.channel.DrainedReports(), drainedBefore + 1);
}

TEST(CommandChannelDrain, CountsEveryStaleReplyAndNothingOnAQuietChannel) {
    auto owner = std::make_unique<DrainHost>();
    DrainHost& host = *owner;
    CommandSet::DeviceInfo info{};
    ASSERT_EQ(host.commands.ReadDeviceInfo(info), kResultSuccess);  // an exchange drains 0
    EXPECT_TRUE(host.commands.QueryLink());
    EXPECT_EQ(host.channel.DrainedReports(), 0u);

    // A request that timed out: its answer comes after it, and waits for the next one.
    host.keyboard.Log().Clear();
    host.keyboard.Faults().Arm({Kind::SlowReply, 1, 0, 1, 3 * kDrainLimit});
    EXPECT_EQ(host.commands.BeginConfig(), kResultNoReply);
    host.AwaitReplies(1);
    EXPECT_EQ(host.channel.DrainedReports(), 0u);  // dropped before a request, not on arrival
    EXPECT_EQ(host.commands.BeginConfig(), kResultSuccess);
    EXPECT_EQ(host.channel.DrainedReports(), 1u);

    // Three stray echoes: two are read and skipped, the third and the real reply stay
    // queued, and the next request drops both.
    sim::Fault strays{Kind::WrongEchoFirst, 170, 0, 1, 0};
    strays.strays = 3;
    host.keyboard.Faults().Arm(strays);
    EXPECT_FALSE(host.commands.QueryLink());
    EXPECT_EQ(host.channel.DrainedReports(), 1u);
    EXPECT_TRUE(host.commands.QueryLink());
    EXPECT_EQ(host.channel.DrainedReports(), 3u);
}

TEST(CommandChannelDrain, BurstOfKeyEventsBeforeARequestDoesNotCrowdOutItsReply) {
    auto owner = std::make_unique<DrainHost>();
    DrainHost& host = *owner;
    // 80 event reports on the vendor collection's interface, none read: more than the
    // reader's queue holds, so without the drain the reply would find it full.
    constexpr std::size_t kKeys = 40;
    static_assert(2 * kKeys > VirtualReader::kQueueLimit);
    for (std::size_t slot = 0; slot < kKeys; ++slot) {
        ASSERT_TRUE(host.keyboard.PressKey(slot));
        ASSERT_TRUE(host.keyboard.ReleaseKey(slot));
    }

    CommandSet::DeviceInfo info{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.commands.ReadDeviceInfo(info), kResultSuccess);
    EXPECT_EQ(info[5], 126);
    EXPECT_LT(MsSince(start), kDrainLimit);

    // The queue is free again for the events after it: none of them was lost.
    host.keyboard.Log().Clear();
    for (std::size_t slot = 0; slot < 10; ++slot) ASSERT_TRUE(host.keyboard.PressKey(slot));
    for (const sim::WireEntry& e : host.keyboard.Log().Entries())
        EXPECT_EQ(e.kind, sim::WireEntry::Kind::Event);
    EXPECT_TRUE(host.commands.QueryLink());
}

TEST(CommandChannelDrain, BoundRequestSendsNothingWhenItsConnectionClosedWhileItWaited) {
    auto owner = std::make_unique<DrainHost>();
    DrainHost& host = *owner;
    const std::uint64_t first = host.channel.Connection();
    EXPECT_GE(first, 1u);
    const Report request = ReportFrame::MakeRequest(170, 0, 0);

    // The request passes its first check, then waits for the I/O lock while the owner
    // closes the device and opens it again under that lock.
    int result = 99;
    std::thread sender;
    {
        std::unique_lock io(host.channel.IoLock());
        sender = std::thread([&] {
            Report reply{};
            std::size_t read = 0;
            result = host.channel.Transfer(request.data(), 64, reply.data(), 64, &read, first);
        });
        ASSERT_TRUE(test_support::Eventually([&] { return host.channel.Busy(); }));
        // Real time on purpose: the close lands while the exchange is under way.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        host.channel.SetOpen(false);
        host.channel.Device().Close();
        ASSERT_TRUE(host.channel.Device().Open(VendorPath(host.bus, host.keyboard), true, true,
                                               true, false));
        host.channel.SetOpen(true);
    }
    sender.join();
    EXPECT_EQ(result, kResultNoReply);
    EXPECT_EQ(host.channel.Connection(), first + 1);
    EXPECT_TRUE(Requests(host.keyboard).empty());

    // The same request for the connection now open, or for any, goes out.
    Report reply{};
    std::size_t read = 0;
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read, first),
              kResultNoReply);
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read, first + 1),
              kResultSuccess);
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read), kResultSuccess);
    EXPECT_EQ(Requests(host.keyboard).size(), 2u);
    host.channel.Close();
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read, first + 1),
              kResultNoReply);
    EXPECT_EQ(Requests(host.keyboard).size(), 2u);
}

}  // namespace
}  // namespace device
