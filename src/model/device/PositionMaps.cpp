// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/PositionMaps.h"

#include <algorithm>

namespace model {

PositionMaps PositionMaps::Build(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledMap,
                                 int slots) {
    PositionMaps maps;
    // The maps hold slots in a byte, with 255 reserved, and the tables bound them too.
    const int usable = std::clamp(slots, 0, static_cast<int>(kNotPresent));
    const int searchable = std::min(usable, static_cast<int>(keyTable.size() / 3));
    const auto& factory = FactoryKeyTable::Entries();
    for (int p = 0; p < kKeyPositions; ++p) {
        for (int k = 0; k < searchable; ++k) {
            const KeyEntry entry{keyTable[3 * k], keyTable[3 * k + 1], keyTable[3 * k + 2]};
            if (entry == factory[p]) {
                maps.slot[p] = static_cast<uint8_t>(k);
                break;
            }
        }
        if (maps.slot[p] != kNotPresent && maps.slot[p] < ledMap.size())
            maps.led[p] = ledMap[maps.slot[p]];
    }
    return maps;
}

int PositionMaps::PositionOfSlot(int slotNumber) const {
    for (int p = 0; p < kKeyPositions; ++p)
        if (slot[p] != kNotPresent && slot[p] == slotNumber) return p;
    return -1;
}

}  // namespace model
