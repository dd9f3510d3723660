// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One DPI stage of a mouse profile.
#include <cstdint>

struct DpiStage {
    uint8_t enabled = 0;
    uint8_t separateXY = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const DpiStage&) const = default;
};
