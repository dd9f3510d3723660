// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer against the simulated keyboard: the frame that goes out, the echo rule, the
// trace, the transfer length and the time limits.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "ChannelOnBus.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/ReportFrame.h"
#include "device/protocol/ResultCode.h"
#include "platform/Trace.h"

namespace device {
namespace {

using namespace device::testing;

class TraceCapture {
public:
    TraceCapture() {
        platform::SetTraceSink([this](std::string_view t) { text_ += t; });
    }
    ~TraceCapture() { platform::SetTraceSink({}); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

TEST(CommandChannel, ClosedChannelReturnsZeroAtOnceSendsAndTracesNothing) {
    auto owner = std::make_unique<ChannelOnBus>(false);
    ChannelOnBus& host = *owner;
    TraceCapture trace;
    const Report request = ReportFrame::MakeRequest(1, 0, 0);
    Report reply{};
    std::size_t read = 99;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read), kResultNoReply);
    EXPECT_LT(MsSince(start), 50);
    EXPECT_EQ(read, 0u);
    EXPECT_FALSE(host.channel.Busy());
    EXPECT_TRUE(trace.Text().empty());
    EXPECT_TRUE(Requests(host.keyboard).empty());
}

TEST(CommandChannel, ShortRequestGoesOutAs64BytesAndTheReplyComesBack) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    // Eight bytes only: command 3, length 34; the checksum over bytes 3..7 is 3 + 34.
    const std::uint8_t request[8] = {4, 37, 0, 3, 34, 0, 0, 0};
    Report reply{};
    std::size_t read = 0;
    ASSERT_EQ(host.channel.Transfer(request, sizeof request, reply.data(), 64, &read),
              kResultSuccess);
    EXPECT_EQ(read, 64u);
    EXPECT_EQ(reply[3], 3);
    EXPECT_EQ(reply[8 + 5], 126);

    const auto sent = Requests(host.keyboard);
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].size(), 64u);
    for (std::size_t i = 8; i < 64; ++i) EXPECT_EQ(sent[0][i], 0) << i;
    EXPECT_EQ(sent[0][1] | sent[0][2] << 8, SumOf3To63(sent[0]));
    EXPECT_FALSE(host.channel.Busy());
}

TEST(CommandChannel, TracesRequestAndReplyInTwoLinesEach) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    TraceCapture trace;
    const Report request = ReportFrame::MakeRequest(170, 0, 0);
    Report reply{};
    std::size_t read = 0;
    ASSERT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read), kResultSuccess);
    const std::string zeros =
        "00 00 00 00   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  00 00 00 00  "
        "00 00 00 00  00 00 00 00\n";
    const std::string expected =
        "命令\n04 aa 00 aa   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  "
        "00 00 00 00  00 00 00 00  00 00 00 00\n" +
        zeros + "返回\n" +
        ReportFrame::TraceLine(std::span<const std::uint8_t, 32>(reply.data(), 32)) + "\n" + zeros;
    EXPECT_EQ(trace.Text(), expected);
    EXPECT_NE(trace.Text().find("ff 00 00 00"), std::string::npos);  // the link byte
}

TEST(CommandChannel, SkipsOneReplyWithAnotherEchoButNeverTakesASecondAsItsOwn) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    host.channel.SetTimeLimits({200, 400});
    const Report request = ReportFrame::MakeRequest(5, 1, 0);
    Report reply{};
    std::size_t read = 0;

    host.keyboard.Faults().Arm({sim::Fault::Kind::WrongEchoFirst, -1, 0, 1, 0});
    ASSERT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read), kResultSuccess);
    EXPECT_EQ(reply[3], 5);

    // Two stray replies: the second read is the last one, and it is not this request's.
    sim::Fault twoStrays{sim::Fault::Kind::WrongEchoFirst, -1, 0, 1, 0};
    twoStrays.strays = 2;
    host.keyboard.Faults().Arm(twoStrays);
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read), kResultNoReply);
    EXPECT_NE(reply[3], 5);

    // The real reply is still queued; the next exchange skips it as a stray of its own.
    const Report link = ReportFrame::MakeRequest(170, 0, 0);
    ASSERT_EQ(host.channel.Transfer(link.data(), 64, reply.data(), 64, &read), kResultSuccess);
    EXPECT_EQ(reply[3], 170);
}

TEST(CommandChannel, TransferLengthAbove512IsRefusedAndTheOldOneKept) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    EXPECT_EQ(host.channel.TransferLength(), 512);
    EXPECT_EQ(host.channel.SetTransferLength(378), kResultSuccess);
    EXPECT_EQ(host.channel.SetTransferLength(513), kResultNoReply);
    EXPECT_EQ(host.channel.TransferLength(), 378);
    // Not taken modulo 65536 either: 65536 + 378 is no length of 378.
    EXPECT_EQ(host.channel.SetTransferLength(65536u + 100u), kResultNoReply);
    EXPECT_EQ(host.channel.TransferLength(), 378);
    EXPECT_EQ(host.channel.SetTransferLength(512), kResultSuccess);
    EXPECT_EQ(host.channel.TransferLength(), 512);
}

TEST(CommandChannel, SilentDeviceEndsInItsTimeLimitPerRead) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    host.channel.SetTimeLimits({60, 250});
    const Report request = ReportFrame::MakeRequest(1, 0, 0);
    Report reply{};
    std::size_t read = 0;

    for (bool longLimit : {false, true}) {
        SCOPED_TRACE(longLimit);
        host.channel.SetLongTimeLimit(longLimit);
        const int limit = longLimit ? 250 : 60;
        host.keyboard.Faults().Arm({sim::Fault::Kind::NoReply, -1, 0, 1, 0});
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read),
                  kResultNoReply);
        // Nothing came, so nothing echoed: two reads, each to the limit.
        EXPECT_GE(MsSince(start), 2 * limit - 5);
        EXPECT_LT(MsSince(start), 2 * limit + 400);

        host.keyboard.Faults().Arm({sim::Fault::Kind::StallWrite, -1, 0, 1, 3 * limit});
        start = std::chrono::steady_clock::now();
        EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read),
                  kResultWriteFailed);
        EXPECT_GE(MsSince(start), limit - 5);
        EXPECT_LT(MsSince(start), limit + 400);
        // Let the held transfer and its late reply pass, and drain that reply with an
        // exchange of another command, which skips it.
        // Real time on purpose: the channel's time limit passes.
        std::this_thread::sleep_for(std::chrono::milliseconds(3 * limit));
        const Report link = ReportFrame::MakeRequest(170, 0, 0);
        EXPECT_EQ(host.channel.Transfer(link.data(), 64, reply.data(), 64, &read), kResultSuccess);
        EXPECT_EQ(reply[3], 170);
    }
}

TEST(CommandChannel, DefaultLimitIsOneSecondAndTheLongOneFive) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    EXPECT_EQ(host.channel.TimeLimitMs(), 1000);
    host.channel.SetLongTimeLimit(true);
    EXPECT_EQ(host.channel.TimeLimitMs(), 5000);
    host.channel.SetLongTimeLimit(false);

    // A write the device never takes gives up after the default second.
    host.keyboard.Faults().Arm({sim::Fault::Kind::StallWrite, -1, 0, 1, -1});
    const Report request = ReportFrame::MakeRequest(1, 0, 0);
    Report reply{};
    std::size_t read = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host.channel.Transfer(request.data(), 64, reply.data(), 64, &read),
              kResultWriteFailed);
    EXPECT_GE(MsSince(start), 990);
    EXPECT_LT(MsSince(start), 1500);
}

}  // namespace
}  // namespace device
