// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A key's assignment, current and default. Files keep the three assignment bytes as
// one integer: type<<16 | byte1<<8 | byte0; the key position is the element's index.
#include <cstdint>

struct KeyAssignment {
    uint16_t position = 0;
    uint8_t type = 0;
    uint8_t byte1 = 0;
    uint8_t byte0 = 0;

    static KeyAssignment FromPacked(uint16_t position, uint32_t packed) {
        return {position, static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
                static_cast<uint8_t>(packed)};
    }
    uint32_t Packed() const { return uint32_t{type} << 16 | uint32_t{byte1} << 8 | byte0; }

    bool operator==(const KeyAssignment&) const = default;
};

struct KeyMapping {
    KeyAssignment current;
    KeyAssignment defaults;

    bool operator==(const KeyMapping&) const = default;
};
