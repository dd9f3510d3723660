// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/KeyTableBuilder.h"

#include <algorithm>

namespace model {

namespace {

// The index of `macro` in `order`, appending it when it is new.
int DeviceNumber(std::vector<int>& order, int macro) {
    auto found = std::find(order.begin(), order.end(), macro);
    if (found != order.end()) return static_cast<int>(found - order.begin());
    order.push_back(macro);
    return static_cast<int>(order.size()) - 1;
}

std::size_t PositionsIn(std::span<const KeyMapping> keys) {
    return std::min<std::size_t>(keys.size(), kKeyPositions);
}

}  // namespace

std::vector<int> KeyTableBuilder::UsedMacros(std::span<const KeyMapping> keys,
                                             const PositionMaps& maps, int macroCount) {
    std::vector<int> order;
    for (std::size_t p = 0; p < PositionsIn(keys); ++p) {
        if (maps.slot[p] == PositionMaps::kNotPresent) continue;
        const KeyAssignment& current = keys[p].current;
        if (PlaysMacro(current) && current.byte1 < macroCount) DeviceNumber(order, current.byte1);
    }
    return order;
}

std::vector<uint8_t> KeyTableBuilder::Build(std::span<const uint8_t> base,
                                            std::span<const KeyMapping> keys,
                                            const PositionMaps& maps, int macroCount) {
    std::vector<uint8_t> table(base.begin(), base.end());
    std::vector<int> order;
    for (std::size_t p = 0; p < PositionsIn(keys); ++p) {
        const std::size_t slot = maps.slot[p];
        if (slot == PositionMaps::kNotPresent || 3 * slot + 2 >= table.size()) continue;
        KeyAssignment assignment = keys[p].current;
        if (PlaysMacro(assignment)) {
            if (assignment.byte1 < macroCount)
                assignment.byte1 = static_cast<uint8_t>(DeviceNumber(order, assignment.byte1));
            else
                assignment = keys[p].defaults;
        }
        table[3 * slot] = assignment.type;
        table[3 * slot + 1] = assignment.byte1;
        table[3 * slot + 2] = assignment.byte0;
    }
    return table;
}

}  // namespace model
