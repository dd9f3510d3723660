// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One LED's colour in a custom-colour group.
#include <cstdint>

struct CustomColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;

    bool operator==(const CustomColour&) const = default;
};
