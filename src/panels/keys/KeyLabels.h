// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the device picture says of each key: a reassigned key shows its key-set mark, and
// its tool-tip reads "own name → what it does now". The name of an assignment comes from
// the key names (every key of the key table, the keyboard's consumer and power keys, its
// Fn, game-mode and M keys) and from the function tables of the key panel.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/KeyMapping.h"
#include "model/device/KeyEntry.h"

namespace model {
class CLumitrekUSBDevice;
}

namespace panels {

class KeyLabels {
public:
    // The display text of what `assignment` does; nothing for the types whose label a
    // key keeps as it is.
    static std::optional<std::string> LabelOf(const KeyAssignment& assignment,
                                              const std::vector<std::string>& macroNames);
    // The display name of the key whose factory entry is (type, byte 1, byte 0); empty
    // when no key name has it.
    static std::string OwnNameOf(uint8_t type, uint8_t byte1, uint8_t byte0);
    // A gun key of a mouse (type 0x72, byte 1 = gun 0-3): "gun_1_txt" ... "gun_4_txt".
    static constexpr uint8_t kTypeGun = 0x72;
    static constexpr uint8_t kGuns = 4;
    static std::string GunLabelOf(const KeyAssignment& assignment);
    // The display name of the key position whose factory entry is `factory`: its key
    // name, or for a mouse's own keys the name of what they do.
    static std::string OwnNameOf(const model::KeyEntry& factory);
    // What `current` does on `device` (its macro names, a mouse's gun keys); nothing for
    // the types whose label a key keeps as it is.
    static std::optional<std::string> AssignmentOf(model::CLumitrekUSBDevice& device,
                                                   const KeyAssignment& current);
    // The labels of every key of a keyboard's or a mouse's picture, from its key list.
    static void Refresh(model::CLumitrekUSBDevice& device);
};

}  // namespace panels
