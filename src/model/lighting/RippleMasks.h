// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Four masks of 23 columns that carry the ripples: bit r of column c is row r of that
// column (0-5; bit 6 is one row below the keyboard). A travels left and up, B right and
// up, C right and down, D left and down. The listener seeds them while the light thread
// spreads them; each column byte is read and written whole.
#include <array>
#include <cstdint>

#include "model/lighting/LayoutTables.h"
#include "model/lighting/Relaxed.h"

namespace lighting {

class RippleMasks {
public:
    enum Mask { A, B, C, D, kMaskCount };

    void Clear();
    // Sets bit `bit` of `column` in all four masks; out-of-range arguments do nothing.
    void SeedAll(int column, int bit);
    uint8_t Get(Mask mask, int column) const;
    // The four masks of a column or-ed together.
    uint8_t ColumnUnion(int column) const;

    // One step outward: each mask moves a column its way and a row its way.
    void Spread();
    // One step sideways, rows unchanged: A and C end, D moves left, B moves right; bits
    // moved past the outer columns leave the keyboard.
    void ShiftLines();

private:
    using Column = Relaxed<uint8_t>;
    std::array<std::array<Column, kColumns>, kMaskCount> masks_{};
};

}  // namespace lighting
