// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/RippleMasks.h"

namespace lighting {

namespace {

uint8_t Shl(uint8_t v) {
    return static_cast<uint8_t>(v << 1);
}
uint8_t Shr(uint8_t v) {
    return static_cast<uint8_t>(v >> 1);
}

}  // namespace

void RippleMasks::Clear() {
    for (auto& mask : masks_)
        for (auto& column : mask) column = 0;
}

void RippleMasks::SeedAll(int column, int bit) {
    if (column < 0 || column >= kColumns || bit < 0 || bit > 7) return;
    for (auto& mask : masks_) mask[column] = static_cast<uint8_t>(mask[column] | (1u << bit));
}

uint8_t RippleMasks::Get(Mask mask, int column) const {
    if (mask < 0 || mask >= kMaskCount || column < 0 || column >= kColumns) return 0;
    return masks_[mask][column];
}

uint8_t RippleMasks::ColumnUnion(int column) const {
    if (column < 0 || column >= kColumns) return 0;
    return static_cast<uint8_t>(masks_[A][column] | masks_[B][column] | masks_[C][column] |
                                masks_[D][column]);
}

void RippleMasks::Spread() {
    auto& a = masks_[A];
    auto& b = masks_[B];
    auto& c = masks_[C];
    auto& d = masks_[D];
    a[0] = Shr(a[0]);
    for (int col = 1; col < kColumns; ++col) {
        d[col - 1] = Shl(d[col - 1]);
        a[col - 1] = static_cast<uint8_t>(a[col - 1] | a[col]);
        a[col] = Shr(a[col]);
        d[col - 1] = static_cast<uint8_t>(d[col - 1] | d[col]);
    }
    constexpr int last = kColumns - 1;
    d[last] = Shl(d[last]);
    b[last] = Shr(b[last]);
    c[last] = Shl(c[last]);
    for (int col = last - 1; col >= 0; --col) {
        b[col + 1] = static_cast<uint8_t>(b[col + 1] | b[col]);
        b[col] = Shr(b[col]);
        c[col + 1] = static_cast<uint8_t>(c[col + 1] | c[col]);
        c[col] = Shl(c[col]);
    }
}

void RippleMasks::ShiftLines() {
    constexpr int last = kColumns - 1;
    for (int col = 0; col < kColumns; ++col) {
        masks_[A][col] = 0;
        masks_[C][col] = 0;
    }
    auto& d = masks_[D];
    for (int col = 1; col < kColumns; ++col) d[col - 1] = d[col];
    // Left in place, the outer column would be painted on every later step and the edge
    // keys would stay lit until the mode changes.
    d[last] = 0;
    auto& b = masks_[B];
    b[last] = 0;
    for (int col = last - 1; col >= 0; --col) {
        b[col + 1] = static_cast<uint8_t>(b[col + 1] | b[col]);
        b[col] = 0;
    }
}

}  // namespace lighting
