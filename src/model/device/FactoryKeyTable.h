// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's factory assignment of every key position 0..125. A device slot whose
// entry equals a position's factory entry is that position's key: this is how the
// program finds which slot carries which key of its picture.
#include <array>

#include "model/device/KeyEntry.h"

namespace model {

inline constexpr int kKeyPositions = 126;

class FactoryKeyTable {
public:
    static const std::array<KeyEntry, kKeyPositions>& Entries();
};

}  // namespace model
