// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Look-ups in the layout tables that keep every result inside them: positions outside a
// matrix read as "no LED", and "no LED" values never come back as LED positions.
#include <optional>

#include "model/lighting/LayoutTables.h"

namespace lighting {

struct GridPosition {
    int column = 0;
    int row = 0;
};

// The LED at column c, row r of the column matrix; kNoLed outside it.
constexpr uint8_t ColumnMatrixAt(int column, int row) {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return kNoLed;
    return kColumnMatrix[column][row];
}

// Where `led` sits in the column matrix (first match, column by column).
constexpr std::optional<GridPosition> FindInColumnMatrix(int led) {
    if (led < 0 || led >= kNoLed) return std::nullopt;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r)
            if (kColumnMatrix[c][r] == led) return GridPosition{c, r};
    return std::nullopt;
}

// True for a table entry that names an LED of the keyboard.
constexpr bool IsLedPosition(int value) {
    return value >= 0 && value < kLedSlots;
}

namespace detail {
constexpr std::array<bool, kLedSlots> BuildKeyListMembership() {
    std::array<bool, kLedSlots> member{};
    for (uint8_t led : kKeyListC)
        if (IsLedPosition(led)) member[led] = true;
    return member;
}
inline constexpr std::array<bool, kLedSlots> kInKeyListC = BuildKeyListMembership();
}  // namespace detail

// The entry itself when it occurs in key list C, else kNoLed.
constexpr uint8_t FindKeyListPosition(int entry) {
    return IsLedPosition(entry) && detail::kInKeyListC[entry] ? static_cast<uint8_t>(entry)
                                                              : kNoLed;
}

// Entry i of the start intensities read as one list of 6 per column; 0 past its end.
constexpr uint8_t StartIntensityAt(int index) {
    if (index < 0 || index >= kColumns * 6) return 0;
    return kStartIntensity[index / 6][index % 6];
}

}  // namespace lighting
