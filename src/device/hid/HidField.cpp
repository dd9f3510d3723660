// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidField.h"

namespace device {

uint32_t HidField::UsageCount() const {
    uint32_t count = 0;
    for (const auto& span : usages) count += span.last - span.first + 1;
    return count;
}

uint32_t HidField::UsageAt(uint32_t index) const {
    if (usages.empty()) return 0;
    for (const auto& span : usages) {
        uint32_t size = span.last - span.first + 1;
        if (index < size) return span.first + index;
        index -= size;
    }
    return usages.back().last;
}

bool HidField::ReadElement(const uint8_t* data, size_t dataLength, uint32_t slot,
                           int64_t& value) const {
    if (bitSize == 0 || bitSize > 32 || slot >= reportCount) return false;
    const uint64_t first = uint64_t(bitOffset) + uint64_t(slot) * bitSize;
    const uint64_t end = first + bitSize;
    if ((end + 7) / 8 > dataLength) return false;
    uint64_t raw = 0;
    for (uint64_t bit = first, shift = 0; bit < end; ++bit, ++shift) {
        if (data[bit / 8] & (1u << (bit % 8))) raw |= uint64_t(1) << shift;
    }
    if (logicalMin < 0 && bitSize < 64 && (raw & (uint64_t(1) << (bitSize - 1)))) {
        value = int64_t(raw) - (int64_t(1) << bitSize);
    } else {
        value = int64_t(raw);
    }
    return true;
}

}  // namespace device
