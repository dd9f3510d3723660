// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's ten key positions as they leave the factory, and the position map built
// from a key table read from the mouse: position j is the first slot carrying the
// factory entry of j.
#include <array>
#include <cstdint>
#include <span>

#include "model/device/KeyEntry.h"
#include "model/device/PositionMaps.h"

namespace model {

class MouseKeyTable {
public:
    static constexpr int kPositions = 10;

    static const std::array<KeyEntry, kPositions>& Factory();

    // The map of a table of `slots` entries. A position that had a slot in `previous` (an
    // earlier read of the same mouse) keeps it; the others take the first free slot with
    // their factory entry. A key remapped on a mouse that answers with what it was written
    // then stays reachable, and the user can give it its function back.
    static PositionMaps Build(std::span<const uint8_t> keyTable, int slots,
                              const PositionMaps& previous);
};

}  // namespace model
