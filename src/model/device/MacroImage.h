// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's macro memory as one image (all 16-bit fields little-endian):
//
//   0      magic 0x55AA (bytes AA 55)
//   2      total length T
//   4      number of macros E
//   6      10 reserved bytes
//   16     E offsets, each macro record's distance from the image start
//   16+2E  the records: event count, 2 reserved bytes, then 4 bytes per event
//          (delay low, delay high, type | 0x80 when "down", button)
//
// T = 16 + 2E + 4E + 4 x (all events).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "data/macro/MacroEvent.h"

namespace model {

class MacroImage {
public:
    static constexpr std::size_t kHeaderSize = 16;
    // Offsets and the length are 16-bit fields: no image can be longer.
    static constexpr std::size_t kMaxLength = 0xFFFF;

    static std::size_t Length(std::span<const std::size_t> eventCounts);

    // How far an image of `length` bytes overflows a memory of `capacity` bytes, as the
    // number the user is shown: (length - capacity) / 4 + 1; 0 when it fits.
    static int Overflow(std::size_t length, std::size_t capacity);

    // The image of the macros in order; nothing when it would not fit its 16-bit fields.
    static std::optional<std::vector<uint8_t>> Build(
        std::span<const std::vector<MacroEvent>> macros);

    static std::array<uint8_t, 4> EncodeEvent(const MacroEvent& event);
};

}  // namespace model
