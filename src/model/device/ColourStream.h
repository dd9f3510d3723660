// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's per-key colour stream: a 512-byte page with three bytes (red, green,
// blue) at 3 x LED index for every present key, sent in the custom-colour mode.
#include <array>
#include <cstddef>
#include <cstdint>

#include "model/device/PositionMaps.h"
#include "model/lighting/ColourBuffer.h"

namespace model {

class ColourStream {
public:
    static constexpr std::size_t kPageSize = 512;
    // LED indices whose three bytes still fit the page.
    static constexpr int kMaxLedIndex = 170;

    struct Page {
        std::array<uint8_t, kPageSize> bytes{};
        std::size_t length = 0;  // what is sent: 3 x the larger of the slot count and 126
    };

    // With `levelled`, each colour is scaled by its LED's level / 256.
    static Page Build(const lighting::ColourBuffer& colours, const PositionMaps& maps, int keySlots,
                      bool levelled);
};

}  // namespace model
