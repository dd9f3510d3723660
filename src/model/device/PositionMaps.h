// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which device key slot and which LED belong to each key position of the picture, found
// by matching the device's key table against the factory table. kNotPresent marks a
// position the connected keyboard does not have: it is never written and never lit.
#include <array>
#include <cstdint>
#include <span>

#include "model/device/FactoryKeyTable.h"

namespace model {

struct PositionMaps {
    static constexpr uint8_t kNotPresent = 255;

    std::array<uint8_t, kKeyPositions> slot;  // key position -> key slot
    std::array<uint8_t, kKeyPositions> led;   // key position -> LED index

    PositionMaps() {
        slot.fill(kNotPresent);
        led.fill(kNotPresent);
    }

    // `keyTable` holds `slots` entries of three bytes, `ledMap` one LED index per slot.
    // Each position takes the first slot equal to its factory entry (so positions with
    // equal factory entries share a slot). Slots beyond either table are not looked at.
    static PositionMaps Build(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledMap,
                              int slots);

    // The first position whose slot is `slot`, or -1.
    int PositionOfSlot(int slot) const;

    bool operator==(const PositionMaps&) const = default;
};

}  // namespace model
