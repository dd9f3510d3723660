// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One key-table entry as the keyboard stores it: type, byte 1, byte 0, in that order.
#include <cstdint>

namespace model {

struct KeyEntry {
    uint8_t type = 0;
    uint8_t byte1 = 0;
    uint8_t byte0 = 0;

    bool operator==(const KeyEntry&) const = default;
};

}  // namespace model
