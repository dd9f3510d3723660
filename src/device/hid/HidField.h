// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One main item (Input, Output or Feature) of a report descriptor, with the global and
// local state in force when it was declared and its place in the report.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/hid/HidTypes.h"

namespace device {

// Usages are kept "extended": usage page in the high 16 bits, usage id in the low 16.
struct HidUsageSpan {
    uint32_t first = 0;
    uint32_t last = 0;
    bool range = false;  // came from Usage Minimum/Maximum rather than single Usage items
};

struct HidField {
    HidReportType type = HidReportType::Input;
    uint8_t reportId = 0;     // 0 when the descriptor does not number its reports
    uint32_t bitOffset = 0;   // from the first data byte, i.e. after the report id byte
    uint16_t bitSize = 0;     // Report Size
    uint16_t reportCount = 0; // Report Count
    uint32_t flags = 0;       // the main item's data bits
    int64_t logicalMin = 0;  // logical maximum is unsigned when the minimum is not negative
    int64_t logicalMax = 0;
    int64_t physicalMin = 0;
    int64_t physicalMax = 0;
    int32_t unitExponent = 0;
    uint32_t unit = 0;
    uint16_t linkCollection = 0;  // index of the innermost collection, 0 = top level
    std::vector<HidUsageSpan> usages;

    bool IsConstant() const { return (flags & 0x01) != 0; }
    bool IsVariable() const { return (flags & 0x02) != 0; }
    bool IsArray() const { return !IsVariable(); }
    bool IsRelative() const { return (flags & 0x04) != 0; }
    bool HasNull() const { return (flags & 0x40) != 0; }
    // Arrays and one-bit variables are buttons; wider variables are values.
    bool IsButton() const { return IsArray() || bitSize == 1; }

    uint32_t UsageCount() const;
    // The i-th usage of the field; for a variable field past the list, the last usage
    // repeats. 0 when the field has no usages.
    uint32_t UsageAt(uint32_t index) const;
    uint32_t TotalBits() const { return uint32_t(bitSize) * reportCount; }
    // The raw bits of element `slot`, sign-extended when the logical minimum is negative.
    // False when the report is too short to hold it or the element is wider than 32 bits.
    bool ReadElement(const uint8_t* data, size_t dataLength, uint32_t slot, int64_t& value) const;
};

}  // namespace device
