// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "device/hid/HidDevice.h"
#include "device/hid/HidPath.h"

using namespace device;

TEST(HidPath, TokensParseInEitherCaseAndStopAtNonHex) {
    for (const char* path : {"/dev/hidraw3#vid_320f&pid_505b&mi_01&col04",
                             "\\\\?\\HID#VID_320F&PID_505B&MI_01&COL04#7&1234&0&0003#{4d1e55b2}"}) {
        EXPECT_EQ(HidDevice::ParseVendorId(path), 0x320F) << path;
        EXPECT_EQ(HidDevice::ParseProductId(path), 0x505B) << path;
        EXPECT_EQ(HidDevice::ParseInterfaceNumber(path), 1) << path;
        EXPECT_EQ(HidDevice::ParseCollectionNumber(path), 4) << path;
    }
    const char* bare = "/dev/hidraw0#vid_046d&pid_c52b";
    EXPECT_EQ(HidDevice::ParseInterfaceNumber(bare), 0);
    EXPECT_EQ(HidDevice::ParseCollectionNumber(bare), 0);
    EXPECT_EQ(HidDevice::ParseVendorId("no tokens here"), 0);
    EXPECT_EQ(HidPath::ParseToken("x&col1f#tail", "&col"), 0x1F);
    EXPECT_EQ(HidPath::ParseToken("x&col", "&col"), 0);  // token with no digits
}

TEST(HidPath, MakeWritesOnlyTheTokensThatApply) {
    EXPECT_EQ(HidPath::Make("/dev/hidraw3", 0x320F, 0x505B, 1, 4), "/dev/hidraw3#vid_320f&pid_505b&mi_01&col04");
    EXPECT_EQ(HidPath::Make("vhid0", 0x320F, 0x1004, -1, 0), "vhid0#vid_320f&pid_1004");
    EXPECT_EQ(HidPath::Make("n", 1, 2, 0, 0), "n#vid_0001&pid_0002&mi_00");
    EXPECT_EQ(HidPath::Node("/dev/hidraw3#vid_320f"), "/dev/hidraw3");
    // What Make writes, the parsers read back.
    std::string p = HidPath::Make("/dev/hidraw12", 0xABCD, 0x0042, 2, 11);
    EXPECT_EQ(HidPath::VendorId(p), 0xABCD);
    EXPECT_EQ(HidPath::ProductId(p), 0x0042);
    EXPECT_EQ(HidPath::InterfaceNumber(p), 2);
    EXPECT_EQ(HidPath::CollectionNumber(p), 11);
}
