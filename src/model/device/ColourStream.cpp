// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/ColourStream.h"

#include <algorithm>

namespace model {

namespace {

uint8_t Levelled(uint8_t value, uint8_t level) {
    return static_cast<uint8_t>(value * level / 256);
}

}  // namespace

ColourStream::Page ColourStream::Build(const lighting::ColourBuffer& colours,
                                       const PositionMaps& maps, int keySlots, bool levelled) {
    Page page;
    for (int p = 0; p < kKeyPositions; ++p) {
        const uint8_t led = maps.led[p];
        if (led == PositionMaps::kNotPresent || led >= kMaxLedIndex) continue;
        lighting::Rgba colour = colours.Get(p);
        if (levelled) {
            colour.red = Levelled(colour.red, colour.alpha);
            colour.green = Levelled(colour.green, colour.alpha);
            colour.blue = Levelled(colour.blue, colour.alpha);
        }
        page.bytes[3 * led] = colour.red;
        page.bytes[3 * led + 1] = colour.green;
        page.bytes[3 * led + 2] = colour.blue;
    }
    // A device with more slots than the page holds still gets no more than the page.
    page.length = std::min<std::size_t>(3 * std::max(keySlots, kKeyPositions), kPageSize);
    return page;
}

}  // namespace model
