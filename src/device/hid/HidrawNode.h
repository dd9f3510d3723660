// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What sysfs tells about one hidraw node: its device node, the USB device's attributes,
// the interface number, and the report descriptor. The roots are parameters so that the
// reading can be checked on a fake sysfs tree.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/hid/HidTypes.h"

namespace device {

class HidReportDescriptor;

struct HidrawNode {
    std::string sysName;  // "hidraw3"
    std::string devNode;  // "/dev/hidraw3"
    HidAttributes attributes;
    int interfaceNumber = -1;  // -1: not a USB interface
    bool composite = false;    // the USB device has more than one interface
    std::vector<uint8_t> reportDescriptor;

    // classDir is <sysfs>/class/hidraw/hidrawN (or the node's syspath). Nothing when the
    // node is gone or its HID device cannot be read.
    static std::optional<HidrawNode> Read(const std::filesystem::path& classDir,
                                          const std::filesystem::path& devRoot);
    // Only the vendor and product ids (cheap: one small file), for presence tests.
    static bool ReadIds(const std::filesystem::path& classDir, uint16_t& vendorId, uint16_t& productId);

    // One path per top-level collection.
    std::vector<std::string> Paths(const HidReportDescriptor& descriptor) const;
};

}  // namespace device
