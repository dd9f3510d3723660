// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One row of the supported-interface table, and one slot of the working copy of it.
#include <cstdint>
#include <string>

namespace device {

struct SupportedDeviceEntry {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t kind = 0;
    uint16_t role = 0;
    uint16_t connected = 0;  // 0 free, 1 claimed by a present collection
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t partnerFlag = 0;
    uint16_t partnerRow = 0;
    std::string path;  // empty while free

    // Rows kept for device kinds this build serves no hardware for (vendor and product 0).
    bool IsPlaceholder() const { return vendorId == 0 && productId == 0; }
};

// What the scanner learns about one present collection.
struct ScanCandidate {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t kind = 0;
    uint16_t role = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::string path;
};

}  // namespace device
