// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a fading LED's intensity falls in one step: fast from bright, slowly near dark.
#include <cstdint>

namespace lighting {

constexpr uint8_t Faded(uint8_t i) {
    if (i >= 128) return static_cast<uint8_t>(i - 40);
    if (i >= 64) return static_cast<uint8_t>(i - 30);
    if (i >= 32) return static_cast<uint8_t>(i - 10);
    if (i >= 17) return static_cast<uint8_t>(i - 8);
    return i ? static_cast<uint8_t>(i - 1) : 0;
}

}  // namespace lighting
