// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 8-bit step function of the effects. With `up` set: value + step while that stays
// below `limit`, else 0. Otherwise: value - step while that (modulo 256) stays below
// `limit`, else limit - step; so 0 stepping down wraps to limit - step.
#include <cstdint>

namespace lighting {

constexpr uint8_t StepLevel(uint8_t up, uint8_t limit, uint8_t value, uint8_t step) {
    if (up) {
        const auto next = static_cast<uint8_t>(value + step);
        return next < limit ? next : 0;
    }
    const auto next = static_cast<uint8_t>(value - step);
    return next < limit ? next : static_cast<uint8_t>(limit - step);
}

}  // namespace lighting
