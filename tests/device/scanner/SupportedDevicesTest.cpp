// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/scanner/DeviceKind.h"
#include "device/scanner/SlotList.h"
#include "device/scanner/SupportedDevices.h"

using namespace device;

TEST(SupportedDevices, InterfaceRowsAreTheConfiguredCollections) {
    const auto& t = SupportedInterfaceTable();
    struct Expect {
        uint16_t vendor, product, intf, col, kind, role, page, usage;
    } rows[] = {
        {0x320F, 0x505B, 1, 4, 1, 0x00, 0xFF1C, 0x0092}, {0x320F, 0x505B, 1, 3, 1, 0xFF, 0x000C, 0x0001},
        {0, 0, 1, 4, 2, 0x00, 0xFF1C, 0x0092},           {0, 0, 1, 3, 2, 0xFF, 0x000C, 0x0001},
        {0x320F, 0x1004, 1, 4, 3, 0x00, 0xFF1C, 0x0092}, {0x320F, 0x1004, 1, 3, 3, 0xFF, 0x000C, 0x0001},
        {0, 0, 3, 0, 7, 0x00, 0x000C, 0x0001},
    };
    for (size_t i = 0; i < t.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t[i].vendorId, rows[i].vendor);
        EXPECT_EQ(t[i].productId, rows[i].product);
        EXPECT_EQ(t[i].interfaceNumber, rows[i].intf);
        EXPECT_EQ(t[i].collectionNumber, rows[i].col);
        EXPECT_EQ(t[i].kind, rows[i].kind);
        EXPECT_EQ(t[i].role, rows[i].role);
        EXPECT_EQ(t[i].usagePage, rows[i].page);
        EXPECT_EQ(t[i].usage, rows[i].usage);
        EXPECT_EQ(t[i].connected, 0);
        EXPECT_EQ(t[i].partnerFlag, 0);
        EXPECT_TRUE(t[i].path.empty());
    }
}

TEST(SupportedDevices, EveryDeviceTypeBindsToItsCommandSlot) {
    const auto& types = DeviceTypeTable();
    const int expectedSlot[] = {2, 0, 4, 6};
    const char* names[] = {"mouse", "keyboard", "MousePad", "HD"};
    const int indices[] = {1, 0, 2, 3};
    for (size_t i = 0; i < types.size(); ++i) {
        const auto& r = types[i];
        EXPECT_EQ(r.typeName, names[i]);
        EXPECT_EQ(r.typeIndex, indices[i]);
        EXPECT_EQ(r.tabHeaderName, "tab_header_device");
        EXPECT_EQ(r.powerSwitchName, "device_power_switch");
        EXPECT_EQ(FindInterfaceRow(r.vendorId, r.productId, r.kind, r.role), expectedSlot[i]) << r.typeName;
        EXPECT_EQ(FindDeviceTypeRow(r.vendorId, r.productId, r.kind, r.role), int(i));
    }
    EXPECT_EQ(FindInterfaceRow(0x320F, 0x505B, kKindKeyboard, kRoleEvent), 1);
    EXPECT_EQ(FindInterfaceRow(0x320F, 0x505B, kKindMousePad, kRoleCommand), -1);
    EXPECT_EQ(FindDeviceTypeRow(0x320F, 0x505B, kKindKeyboard, kRoleEvent), -1);

    const auto& pages = DevicePageTable();
    EXPECT_EQ(pages[1].ledCount, 126);
    EXPECT_EQ(pages[1].keyCount, 126);
    EXPECT_EQ(pages[2].ledCount, 15);
    EXPECT_EQ(pages[3].pageLayout, "XML/DeviceXml/zo6533device.xml");
    EXPECT_EQ(pages[0].mouseParameter, -1);
    EXPECT_EQ(pages[0].lightListName, "vexal_light");
}

TEST(SlotList, ClaimNeedsTheCollectionsOwnUsageAndAFreeSlot) {
    SlotList slots;
    ScanCandidate c{0x320F, 0x505B, 1, 4, 0, 0, 0x000C, 0x0001, "p#vid_320f&pid_505b&mi_01&col04"};
    EXPECT_TRUE(slots.SlotAvailable(c));
    EXPECT_FALSE(slots.ClaimSlot(c));  // tokens of row 0, usage of the consumer collection

    c.usagePage = 0xFF1C;
    c.usage = 0x0092;
    auto slot = slots.ClaimSlot(c);
    ASSERT_TRUE(slot);
    EXPECT_EQ(*slot, 0u);
    EXPECT_EQ(c.kind, kKindKeyboard);
    EXPECT_EQ(c.role, kRoleCommand);
    EXPECT_EQ(slots.Slot(0).connected, 1);
    EXPECT_EQ(slots.Slot(0).path, c.path);
    EXPECT_FALSE(slots.SlotAvailable(c));  // a second path for the same row waits
    ScanCandidate second = c;
    second.path = "q";
    EXPECT_FALSE(slots.ClaimSlot(second));

    slots.Release(0);
    EXPECT_EQ(slots.Slot(0).connected, 0);
    EXPECT_TRUE(slots.Slot(0).path.empty());
    EXPECT_TRUE(slots.ClaimSlot(second));
}

TEST(SlotList, PlaceholderRowsNeverMatchAndAllTakenCountsEverySlot) {
    SlotList slots;
    ScanCandidate mouse{0, 0, 1, 4, 0, 0, 0xFF1C, 0x0092, "x#vid_0000&pid_0000&mi_01&col04"};
    EXPECT_FALSE(slots.SlotAvailable(mouse));
    EXPECT_FALSE(slots.ClaimSlot(mouse));

    SlotList two({SupportedInterfaceTable()[0], SupportedInterfaceTable()[1]});
    EXPECT_FALSE(two.AllSlotsTaken());
    ScanCandidate cmd{0x320F, 0x505B, 1, 4, 0, 0, 0xFF1C, 0x0092, "a"};
    ScanCandidate evt{0x320F, 0x505B, 1, 3, 0, 0, 0x000C, 0x0001, "b"};
    ASSERT_TRUE(two.ClaimSlot(cmd));
    EXPECT_FALSE(two.AllSlotsTaken());
    ASSERT_TRUE(two.ClaimSlot(evt));
    EXPECT_TRUE(two.AllSlotsTaken());
}
