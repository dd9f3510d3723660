// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/MouseKeyTable.h"

#include <algorithm>

namespace model {

const std::array<KeyEntry, MouseKeyTable::kPositions>& MouseKeyTable::Factory() {
    static const std::array<KeyEntry, kPositions> entries = {{
        {0x10, 0x01, 0x00},  // left button
        {0x10, 0x02, 0x00},  // right button
        {0x10, 0x04, 0x00},  // middle button
        {0x10, 0x10, 0x00},  // forward
        {0x10, 0x08, 0x00},  // back
        {0x13, 0x01, 0x00},  // DPI up
        {0x13, 0x02, 0x00},  // DPI down
        {0x13, 0x03, 0x00},  // DPI cycle
        {0xA0, 0x1B, 0x00},  // smart key
        {0x16, 0x90, 0x01},  // DPI shift
    }};
    return entries;
}

PositionMaps MouseKeyTable::Build(std::span<const uint8_t> keyTable, int slots,
                                  const PositionMaps& previous) {
    PositionMaps maps;
    const int usable = std::clamp(std::min(slots, static_cast<int>(keyTable.size() / 3)), 0,
                                  static_cast<int>(PositionMaps::kNotPresent));
    const auto taken = [&maps](int slot) {
        return std::find(maps.slot.begin(), maps.slot.begin() + kPositions, slot) !=
               maps.slot.begin() + kPositions;
    };
    // A slot this program placed a key on stays that key's: what the mouse reads back may
    // be what it was written, and a remapped key then shows another key's entry.
    for (int p = 0; p < kPositions; ++p)
        if (previous.slot[p] < usable) maps.slot[p] = previous.slot[p];
    for (int p = 0; p < kPositions; ++p) {
        if (maps.slot[p] != PositionMaps::kNotPresent) continue;
        for (int k = 0; k < usable; ++k) {
            const KeyEntry entry{keyTable[3 * k], keyTable[3 * k + 1], keyTable[3 * k + 2]};
            if (entry == Factory()[p] && !taken(k)) {
                maps.slot[p] = static_cast<uint8_t>(k);
                break;
            }
        }
    }
    return maps;
}

}  // namespace model
