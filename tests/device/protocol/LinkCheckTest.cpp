// SPDX-License-Identifier: GPL-3.0-or-later
// A device behind a link (a mouse's receiver): every command asks for the link first, and
// an operation whose link query fails sends nothing more.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ChannelOnBus.h"
#include "device/protocol/CommandSet.h"
#include "device/protocol/ResultCode.h"
#include "sim/DeviceCatalog.h"

namespace device {
namespace {

using namespace device::testing;

std::vector<int> CodesOf(sim::SimDevice& dev) {
    std::vector<int> codes;
    for (const auto& r : Requests(dev)) codes.push_back(r[3]);
    return codes;
}

struct MouseOnBus {
    VirtualBus bus;
    std::shared_ptr<sim::SimDevice> mouse =
        std::make_shared<sim::SimDevice>(sim::LongWaitMouseDefinition());
    CommandChannel channel{bus.Backend()};

    MouseOnBus() {
        mouse->Plug(bus);
        channel.Open(VendorPath(bus, *mouse));
        channel.SetLinkChecked(true);
        mouse->Log().Clear();
    }
};

TEST(LinkCheck, EveryCommandAsksForTheLinkFirstAndABulkCommandOnlyOnce) {
    auto owner = std::make_unique<MouseOnBus>();
    CommandSet commands(owner->channel);
    CommandSet::DeviceInfo info{};
    std::vector<std::uint8_t> block(66, 7);
    ASSERT_EQ(commands.BeginConfig(), kResultSuccess);
    ASSERT_EQ(commands.ReadDeviceInfo(info), kResultSuccess);
    ASSERT_EQ(commands.WriteSettingsMemory(block, 128), kResultSuccess);  // two reports
    ASSERT_EQ(commands.EndConfig(), kResultSuccess);
    EXPECT_EQ(CodesOf(*owner->mouse), (std::vector<int>{170, 1, 170, 3, 170, 6, 6, 170, 2}));
    EXPECT_FALSE(commands.LinkLost());
}

TEST(LinkCheck, ALinkDownAbandonsTheOperationAfterOneQuery) {
    auto owner = std::make_unique<MouseOnBus>();
    owner->mouse->SetLinkUp(false);
    CommandSet commands(owner->channel);
    std::vector<std::uint8_t> block(66, 7);
    EXPECT_EQ(commands.BeginConfig(), kResultNoReply);
    EXPECT_EQ(commands.WriteSettingsMemory(block, 0), kResultNoReply);
    EXPECT_EQ(commands.EndConfig(), kResultNoReply);
    EXPECT_TRUE(commands.LinkLost());
    EXPECT_EQ(CodesOf(*owner->mouse), (std::vector<int>{170}));

    // The next operation asks again, and goes ahead once the link is back.
    owner->mouse->SetLinkUp(true);
    CommandSet next(owner->channel);
    EXPECT_EQ(next.BeginConfig(), kResultSuccess);
    EXPECT_EQ(CodesOf(*owner->mouse), (std::vector<int>{170, 170, 1}));
}

TEST(LinkCheck, AChannelWithoutTheCheckNeverAsks) {
    auto owner = std::make_unique<MouseOnBus>();
    owner->channel.SetLinkChecked(false);
    owner->mouse->SetLinkUp(false);
    CommandSet commands(owner->channel);
    EXPECT_EQ(commands.BeginConfig(), kResultSuccess);
    EXPECT_EQ(CodesOf(*owner->mouse), (std::vector<int>{1}));
}

}  // namespace
}  // namespace device
