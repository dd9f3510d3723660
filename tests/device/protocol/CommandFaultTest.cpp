// SPDX-License-Identifier: GPL-3.0-or-later
// Every way a device can fail ends a command with its result code, within its time
// limit, without a hang: error status, silence, late and stray replies, stalled writes,
// and the device going away in the middle of a bulk command.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "ChannelOnBus.h"
#include "device/protocol/ResultCode.h"

namespace device {
namespace {

using namespace device::testing;
using Kind = sim::Fault::Kind;

constexpr int kLimit = 150;  // the injected normal time limit

struct FaultyHost : ChannelOnBus {
    FaultyHost() { channel.SetTimeLimits({kLimit, 4 * kLimit}); }
};

TEST(CommandFaults, StatusBytesBecomeTheirCodesAndStopABulkCommandThere) {
    auto owner = std::make_unique<FaultyHost>();
    FaultyHost& host = *owner;
    ASSERT_EQ(host.channel.SetTransferLength(378), kResultSuccess);
    std::vector<std::uint8_t> table(378, 0x42);

    host.keyboard.Faults().Arm({Kind::StatusFE, 9, 2, 1, 0});  // the third report
    EXPECT_EQ(host.commands.WriteKeyTable(table, 0), kResultStatusFE);
    EXPECT_EQ(Requests(host.keyboard).size(), 3u);
    host.keyboard.Inspect([](const sim::Firmware& fw) {
        const auto bytes = fw.KeyTable().Bytes();
        EXPECT_EQ(bytes[111], 0x42);  // the first two reports were taken
        EXPECT_NE(bytes[112], 0x42);  // the refused one was not
    });

    host.keyboard.Faults().Arm({Kind::StatusFF, -1, 0, 1, 0});
    EXPECT_EQ(host.commands.BeginConfig(), kResultStatusFF);
    std::vector<std::uint8_t> block(26, 0x11);
    host.keyboard.Faults().Arm({Kind::StatusFF, 5, 0, 1, 0});
    EXPECT_EQ(host.commands.ReadSettingsMemory(block, 0), kResultStatusFF);
    EXPECT_EQ(block[0], 0x11);  // a failed read leaves the buffer as it was
}

TEST(CommandFaults, SilenceLateAndStrayRepliesEndWithinTheirLimits) {
    auto owner = std::make_unique<FaultyHost>();
    FaultyHost& host = *owner;
    CommandSet::DeviceInfo info{};

    host.keyboard.Faults().Arm({Kind::NoReply, -1, 0, 1, 0});
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.commands.ReadDeviceInfo(info), kResultNoReply);
    EXPECT_LT(MsSince(start), 2 * kLimit + 300);

    // Late, but inside the second read: taken.
    host.keyboard.Faults().Arm({Kind::SlowReply, -1, 0, 1, kLimit + kLimit / 2});
    EXPECT_EQ(host.commands.ReadDeviceInfo(info), kResultSuccess);
    EXPECT_EQ(info[5], 126);

    // Later than both reads: no reply; the late one is then skipped by the next command.
    host.keyboard.Faults().Arm({Kind::SlowReply, -1, 0, 1, 3 * kLimit});
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.commands.BeginConfig(), kResultNoReply);
    EXPECT_LT(MsSince(start), 2 * kLimit + 300);
    // Real time on purpose: the late reply has to come and go past the channel's limit.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * kLimit));
    EXPECT_TRUE(host.commands.QueryLink());

    host.keyboard.Faults().Arm({Kind::WrongEchoFirst, -1, 0, 1, 0});
    info.fill(0);
    EXPECT_EQ(host.commands.ReadDeviceInfo(info), kResultSuccess);
    EXPECT_EQ(info[5], 126);

    host.keyboard.Faults().Arm({Kind::StallWrite, -1, 0, 1, -1});
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.commands.EnableHostLighting(), kResultWriteFailed);
    EXPECT_LT(MsSince(start), kLimit + 300);
}

TEST(CommandFaults, UnplugInTheMiddleOfAChunkedCommandEndsItPromptly) {
    auto owner = std::make_unique<FaultyHost>();
    FaultyHost& host = *owner;
    host.channel.SetTimeLimits({5000, 5000});  // promptness must not come from the limit
    ASSERT_EQ(host.channel.SetTransferLength(378), kResultSuccess);
    const std::vector<std::uint8_t> table(378, 0x42);

    host.keyboard.Faults().Arm({Kind::Unplug, 9, 3, 1, 0});  // at the fourth report
    auto start = std::chrono::steady_clock::now();
    const int result = host.commands.WriteKeyTable(table, 0);
    EXPECT_TRUE(result == kResultWriteFailed || result == kResultNoReply) << result;
    EXPECT_LT(MsSince(start), 500);
    EXPECT_EQ(Requests(host.keyboard).size(), 4u);
    EXPECT_FALSE(host.keyboard.IsPlugged());

    // Until the owner closes it, the channel fails fast; closing does not wait either.
    start = std::chrono::steady_clock::now();
    EXPECT_NE(host.commands.BeginConfig(), kResultSuccess);
    host.channel.Close();
    EXPECT_LT(MsSince(start), 500);
    EXPECT_EQ(host.commands.BeginConfig(), kResultNoReply);

    // Plugged in again, the device takes a new channel and still holds what was written.
    ASSERT_TRUE(host.keyboard.Plug(host.bus));
    ASSERT_TRUE(host.channel.Open(VendorPath(host.bus, host.keyboard)));
    std::vector<std::uint8_t> layout(378);
    ASSERT_EQ(host.commands.ReadKeyTable(layout), kResultSuccess);
    host.keyboard.Inspect([](const sim::Firmware& fw) {
        const auto bytes = fw.KeyTable().Bytes();
        EXPECT_TRUE(
            std::all_of(bytes.begin(), bytes.begin() + 168, [](std::uint8_t b) { return b == 0x42; }));
    });
}

TEST(CommandFaults, UnplugOrCloseFromAnotherThreadEndsAWaitingExchange) {
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "unplug");
        auto owner = std::make_unique<FaultyHost>();
        FaultyHost& host = *owner;
        host.channel.SetTimeLimits({5000, 5000});
        host.keyboard.Faults().Arm({Kind::NoReply, -1, 0, 1, 0});
        std::atomic<int> result{99};
        const auto start = std::chrono::steady_clock::now();
        std::thread waiter([&] { result = host.commands.BeginConfig(); });
        // The request is out once the keyboard has it: from then on the exchange waits.
        EXPECT_TRUE(test_support::Eventually([&] {
            for (const sim::WireEntry& e : host.keyboard.Log().Entries())
                if (e.kind == sim::WireEntry::Kind::Request) return true;
            return false;
        }));
        EXPECT_TRUE(host.channel.Busy());
        if (close) {
            host.channel.Close();
        } else {
            host.keyboard.Unplug();
        }
        waiter.join();
        EXPECT_EQ(result.load(), kResultNoReply);
        EXPECT_LT(MsSince(start), 1000);
        EXPECT_FALSE(host.channel.Busy());
    }
}

TEST(CommandFaults, StreamAndCommandsFromTwoThreadsEachGetTheirOwnReplies) {
    auto owner = std::make_unique<FaultyHost>();
    FaultyHost& host = *owner;
    std::vector<std::uint8_t> expected(26);
    host.keyboard.Inspect([&](const sim::Firmware& fw) {
        std::copy_n(fw.Settings().Bytes().begin() + 25, 26, expected.begin());
    });
    const std::vector<std::uint8_t> colours(378, 0x33);

    std::atomic<bool> stop{false};
    std::atomic<int> streams{0};
    std::thread streamer([&] {
        while (!stop) {
            EXPECT_EQ(host.commands.StreamColours(colours, 0, 512), kResultSuccess);
            ++streams;
        }
    });
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        std::vector<std::uint8_t> block(26, 0);
        EXPECT_EQ(host.commands.ReadSettingsMemory(block, 25), kResultSuccess);
        EXPECT_EQ(block, expected);
    }
    stop = true;
    streamer.join();
    EXPECT_GT(streams.load(), 0);
    EXPECT_LT(MsSince(start), 5000);  // nobody waited out a time limit
}

}  // namespace
}  // namespace device
