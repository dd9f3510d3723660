// SPDX-License-Identifier: GPL-3.0-or-later
// Black-box wire checks of the command set against the simulated devices: what each
// command puts on the wire, report by report, and what it brings back.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "ChannelOnBus.h"
#include "device/protocol/CommandSet.h"
#include "device/protocol/ResultCode.h"
#include "sim/DeviceCatalog.h"

namespace device {
namespace {

using namespace device::testing;

struct Chunk {
    unsigned length;
    unsigned offset;
};

std::vector<Chunk> ChunksOf(sim::SimDevice& dev, std::uint8_t command) {
    std::vector<Chunk> out;
    for (const auto& r : Requests(dev)) {
        EXPECT_EQ(r.size(), 64u);
        EXPECT_EQ(r[0], 4);
        EXPECT_EQ(r[7], 0);
        EXPECT_EQ(unsigned(r[1] | r[2] << 8), SumOf3To63(r)) << "checksum";
        if (r[3] == command) out.push_back({r[4], OffsetOf(r)});
    }
    return out;
}

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 7);
    return v;
}

TEST(CommandSet, ReadDeviceInfoIsOneReportOf34AtOffset0) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    CommandSet::DeviceInfo info{};
    ASSERT_EQ(host.commands.ReadDeviceInfo(info), kResultSuccess);
    const auto chunks = ChunksOf(host.keyboard, 3);
    ASSERT_EQ(Requests(host.keyboard).size(), 1u);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].length, 0x22u);
    EXPECT_EQ(chunks[0].offset, 0u);
    EXPECT_TRUE(std::equal(info.begin(), info.end(), sim::KeyboardDefinition().infoBlock.begin()));
}

TEST(CommandSet, ReadDeviceTablesMovesTheTransferLengthInChunks) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    CommandSet::DeviceInfo info{};
    std::vector<std::uint8_t> keys(512, 0xEE), leds(512, 0xEE);
    ASSERT_EQ(host.commands.BeginConfig(), kResultSuccess);
    ASSERT_EQ(host.commands.ReadDeviceInfo(info), kResultSuccess);
    ASSERT_EQ(host.channel.SetTransferLength(info[5] * 3u), kResultSuccess);
    ASSERT_EQ(host.commands.ReadKeyTable(keys), kResultSuccess);
    ASSERT_EQ(host.commands.ReadLedMap(leds), kResultSuccess);
    ASSERT_EQ(host.commands.EndConfig(0), kResultSuccess);

    const auto keyChunks = ChunksOf(host.keyboard, 7);
    ASSERT_EQ(keyChunks.size(), 7u);
    EXPECT_EQ(keyChunks.back().length, 42u);
    EXPECT_EQ(keyChunks.back().offset, 336u);
    const auto ledChunks = ChunksOf(host.keyboard, 27);
    ASSERT_EQ(ledChunks.size(), 3u);
    EXPECT_EQ(ledChunks[2].length, 14u);
    EXPECT_EQ(ledChunks[2].offset, 112u);

    host.keyboard.Inspect([&](const sim::Firmware& fw) {
        EXPECT_TRUE(
            std::equal(fw.KeyTable().Bytes().begin(), fw.KeyTable().Bytes().end(), keys.begin()));
        EXPECT_TRUE(
            std::equal(fw.LedMap().Bytes().begin(), fw.LedMap().Bytes().end(), leds.begin()));
        EXPECT_EQ(fw.EndConfigCount(), 1);
    });
    // Nothing past the transfer length is touched.
    EXPECT_EQ(keys[378], 0xEE);
    EXPECT_EQ(leds[126], 0xEE);
}

TEST(CommandSet, WriteKeyTableOf378SendsSevenChunksAndOnlyIndex0) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    ASSERT_EQ(host.channel.SetTransferLength(378), kResultSuccess);
    const auto table = Pattern(378, 3);
    ASSERT_EQ(host.commands.WriteKeyTable(table, 0), kResultSuccess);
    const auto chunks = ChunksOf(host.keyboard, 9);
    ASSERT_EQ(chunks.size(), 7u);
    for (unsigned i = 0; i < 7; ++i) {
        EXPECT_EQ(chunks[i].length, i < 6 ? 56u : 42u);
        EXPECT_EQ(chunks[i].offset, 56u * i);
    }
    // Bytes after the payload of the short last report are zero.
    const auto last = Requests(host.keyboard).back();
    EXPECT_TRUE(
        std::all_of(last.begin() + 8 + 42, last.end(), [](std::uint8_t b) { return b == 0; }));
    host.keyboard.Inspect([&](const sim::Firmware& fw) {
        EXPECT_TRUE(std::equal(table.begin(), table.end(), fw.KeyTable().Bytes().begin()));
    });

    host.keyboard.Log().Clear();
    EXPECT_EQ(host.commands.WriteKeyTable(table, 1), kResultBadTableIndex);
    EXPECT_EQ(host.commands.WriteKeyTable(table, -1), kResultBadTableIndex);
    EXPECT_TRUE(Requests(host.keyboard).empty());
}

TEST(CommandSet, MacroImageColourPagesAndRecoilChunking) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    const auto image = Pattern(57, 1);
    ASSERT_EQ(host.commands.WriteMacroImage(image), kResultSuccess);
    auto chunks = ChunksOf(host.keyboard, 21);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].length, 56u);
    EXPECT_EQ(chunks[0].offset, 0u);
    EXPECT_EQ(chunks[1].length, 1u);
    EXPECT_EQ(chunks[1].offset, 56u);
    host.keyboard.Inspect([&](const sim::Firmware& fw) {
        EXPECT_TRUE(std::equal(image.begin(), image.end(), fw.MacroMemory().Bytes().begin()));
    });

    host.keyboard.Log().Clear();
    const auto colours = Pattern(378, 9);
    ASSERT_EQ(host.commands.StreamColours(colours, 1, 512), kResultSuccess);
    const auto sent = Requests(host.keyboard);
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0][5], 0x00);
    EXPECT_EQ(sent[0][6], 0x02);
    EXPECT_EQ(OffsetOf(sent[6]), 512u + 336u);
    host.keyboard.Inspect([&](const sim::Firmware& fw) {
        EXPECT_TRUE(std::equal(colours.begin(), colours.end(), fw.Colours().Bytes().begin() + 512));
    });

    // A device with recoil memory, declared for this test.
    sim::SimDeviceDefinition def = sim::MousePadDefinition();
    def.productId = 0x7777;
    def.recoilSize = 256;
    auto mouse = std::make_shared<sim::SimDevice>(def);
    ASSERT_TRUE(mouse->Plug(host.bus));
    auto channelOwner = std::make_unique<CommandChannel>(host.bus.Backend());
    CommandChannel& channel = *channelOwner;
    ASSERT_TRUE(channel.Open(VendorPath(host.bus, *mouse)));
    CommandSet commands(channel);
    const auto recoil = Pattern(120, 5);
    ASSERT_EQ(commands.WriteRecoilImage(recoil), kResultSuccess);
    chunks = ChunksOf(*mouse, 23);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[2].length, 8u);
    EXPECT_EQ(chunks[2].offset, 112u);
}

TEST(CommandSet, SettingsReadAndWriteAtProfileOffsets) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    const auto block = Pattern(26, 40);
    ASSERT_EQ(host.commands.WriteSettingsMemory(block, 2 * 25), kResultSuccess);
    std::vector<std::uint8_t> back(26);
    ASSERT_EQ(host.commands.ReadSettingsMemory(back, 50), kResultSuccess);
    EXPECT_EQ(back, block);
    auto chunks = ChunksOf(host.keyboard, 6);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].length, 26u);
    EXPECT_EQ(chunks[0].offset, 50u);

    host.keyboard.SwitchProfileOnDevice(2);
    std::uint8_t active = 0xFF;
    ASSERT_EQ(host.commands.ReadSettingsMemory({&active, 1}, 0), kResultSuccess);
    EXPECT_EQ(active, 2);

    // The pad's block: 21 bytes at index x 64.
    auto padOwner = std::make_unique<CommandChannel>(host.bus.Backend());
    CommandChannel& pad = *padOwner;
    ASSERT_TRUE(pad.Open(VendorPath(host.bus, *host.devices.pad)));
    CommandSet padCommands(pad);
    const auto padBlock = Pattern(21, 2);
    ASSERT_EQ(padCommands.WriteSettingsMemory(padBlock, 64), kResultSuccess);
    host.devices.pad->Inspect([&](const sim::Firmware& fw) {
        EXPECT_TRUE(
            std::equal(padBlock.begin(), padBlock.end(), fw.Settings().Bytes().begin() + 64));
    });
}

TEST(CommandSet, EndConfigWaitsTenMillisecondsBeforeItIsSent) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    ASSERT_EQ(host.commands.BeginConfig(), kResultSuccess);
    ASSERT_EQ(host.commands.EndConfig(7), kResultSuccess);
    std::vector<sim::WireEntry> wire;
    for (const auto& e : host.keyboard.Log().Entries()) {
        if (e.kind != sim::WireEntry::Kind::Note) wire.push_back(e);
    }
    ASSERT_EQ(wire.size(), 4u);
    EXPECT_EQ(wire[2].bytes[3], 2);
    EXPECT_GE(wire[2].time - wire[1].time, std::chrono::milliseconds(10));
    host.keyboard.Inspect([](const sim::Firmware& fw) { EXPECT_FALSE(fw.InConfig()); });
}

TEST(CommandSet, StatusBlockHostLightingAndLinkQuery) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    std::uint8_t status[6] = {};
    ASSERT_EQ(host.commands.ReadStatusBlock(status, 0), kResultSuccess);
    EXPECT_TRUE(std::equal(status, status + 6, sim::KeyboardDefinition().statusBlock.begin()));
    EXPECT_EQ(Requests(host.keyboard).back()[4], 6);

    ASSERT_EQ(host.commands.EnableHostLighting(), kResultSuccess);
    host.keyboard.Inspect([](const sim::Firmware& fw) { EXPECT_TRUE(fw.HostLighting()); });

    EXPECT_TRUE(host.commands.QueryLink());
    host.keyboard.SetLinkUp(false);  // reply byte 8 = 0xFE, status fine
    EXPECT_FALSE(host.commands.QueryLink());
    host.keyboard.SetLinkUp(true);
    host.keyboard.Faults().Arm({sim::Fault::Kind::StatusFF, -1, 0, 1, 0});
    EXPECT_FALSE(host.commands.QueryLink());
    EXPECT_TRUE(host.commands.QueryLink());
}

TEST(CommandSet, ClosedChannelAnswersZeroAndSendsNothing) {
    auto owner = std::make_unique<ChannelOnBus>(false);
    ChannelOnBus& host = *owner;
    std::vector<std::uint8_t> buffer(512);
    CommandSet::DeviceInfo info{};
    std::uint8_t status[6] = {};
    auto& c = host.commands;
    EXPECT_EQ(c.BeginConfig(), kResultNoReply);
    EXPECT_EQ(c.EndConfig(0), kResultNoReply);
    EXPECT_EQ(c.ReadDeviceInfo(info), kResultNoReply);
    EXPECT_EQ(c.ReadSettingsMemory({buffer.data(), 26}, 0), kResultNoReply);
    EXPECT_EQ(c.WriteSettingsMemory({buffer.data(), 26}, 0), kResultNoReply);
    EXPECT_EQ(c.ReadKeyTable(buffer), kResultNoReply);
    EXPECT_EQ(c.WriteKeyTable(buffer, 0), kResultNoReply);
    EXPECT_EQ(c.ReadLedMap(buffer), kResultNoReply);
    EXPECT_EQ(c.StreamColours(buffer, 0, 512), kResultNoReply);
    EXPECT_EQ(c.WriteMacroImage(buffer), kResultNoReply);
    EXPECT_EQ(c.WriteRecoilImage(buffer), kResultNoReply);
    EXPECT_EQ(c.ReadStatusBlock(status, 0), kResultNoReply);
    EXPECT_EQ(c.EnableHostLighting(), kResultNoReply);
    EXPECT_FALSE(c.QueryLink());
    // Nothing to move is still nothing done on a closed channel.
    EXPECT_EQ(c.WriteMacroImage({}), kResultNoReply);
    EXPECT_TRUE(Requests(host.keyboard).empty());
}

TEST(CommandSet, BuffersShorterThanTheCommandAndOffsetsPast16BitsSendNothing) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    std::vector<std::uint8_t> small(100, 0xAB);
    ASSERT_EQ(host.channel.SetTransferLength(378), kResultSuccess);
    EXPECT_EQ(host.commands.ReadKeyTable(small), kResultNoReply);
    EXPECT_EQ(host.commands.WriteKeyTable(small, 0), kResultNoReply);
    EXPECT_EQ(host.commands.ReadLedMap({small.data(), 125}), kResultNoReply);
    std::uint8_t status[57] = {};
    EXPECT_EQ(host.commands.ReadStatusBlock(status, 0), kResultNoReply);
    // Page 128 of 512 bytes starts at 65536, which the offset field cannot carry.
    EXPECT_EQ(host.commands.StreamColours(small, 128, 512), kResultNoReply);
    EXPECT_EQ(host.commands.StreamColours(small, -1, 512), kResultNoReply);
    EXPECT_EQ(host.commands.WriteSettingsMemory(small, 0xFFC0), kResultNoReply);
    EXPECT_TRUE(Requests(host.keyboard).empty());
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](std::uint8_t b) { return b == 0xAB; }));
}

TEST(CommandSet, LocksStreamAndRecoilPassAHeldCommandLockOthersWait) {
    auto owner = std::make_unique<ChannelOnBus>();
    ChannelOnBus& host = *owner;
    const auto colours = Pattern(56, 1);
    std::unique_lock held(host.channel.CommandLock());

    int streamed = 0;
    std::thread stream([&] { streamed = host.commands.StreamColours(colours, 0, 512); });
    stream.join();  // would hang here if the stream took the command lock
    EXPECT_EQ(streamed, kResultSuccess);
    int recoil = 0;
    std::thread noLock([&] { recoil = host.commands.WriteRecoilImage(colours); });
    noLock.join();
    EXPECT_EQ(recoil, kResultStatusFE);  // answered: the keyboard keeps no recoil data

    std::atomic<int> begun{99};
    std::thread begin([&] { begun = host.commands.BeginConfig(); });
    // Real time on purpose: a command that wrongly got past the lock would show within it.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(begun.load(), 99);  // still waiting for the command lock
    held.unlock();
    begin.join();
    EXPECT_EQ(begun.load(), kResultSuccess);

    std::unique_lock stream_held(host.channel.StreamLock());
    std::thread other([&] { begun = host.commands.EnableHostLighting(); });
    other.join();
    EXPECT_EQ(begun.load(), kResultSuccess);
}

}  // namespace
}  // namespace device
