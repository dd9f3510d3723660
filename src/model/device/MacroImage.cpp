// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/MacroImage.h"

namespace model {

namespace {

void Put16(std::vector<uint8_t>& image, std::size_t at, std::size_t value) {
    image[at] = static_cast<uint8_t>(value);
    image[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

std::size_t MacroImage::Length(std::span<const std::size_t> eventCounts) {
    std::size_t length = kHeaderSize;
    for (std::size_t count : eventCounts) length += 2 + 4 + 4 * count;
    return length;
}

int MacroImage::Overflow(std::size_t length, std::size_t capacity) {
    if (length <= capacity) return 0;
    const std::size_t excess = (length - capacity) / 4 + 1;
    return excess > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(excess);
}

std::optional<std::vector<uint8_t>> MacroImage::Build(
    std::span<const std::vector<MacroEvent>> macros) {
    std::vector<std::size_t> counts;
    counts.reserve(macros.size());
    for (const auto& events : macros) counts.push_back(events.size());
    const std::size_t length = Length(counts);
    if (length > kMaxLength) return std::nullopt;

    std::vector<uint8_t> image(length, 0);
    image[0] = 0xAA;
    image[1] = 0x55;
    Put16(image, 2, length);
    Put16(image, 4, macros.size());
    std::size_t record = kHeaderSize + 2 * macros.size();
    for (std::size_t j = 0; j < macros.size(); ++j) {
        Put16(image, kHeaderSize + 2 * j, record);
        Put16(image, record, macros[j].size());
        std::size_t at = record + 4;
        for (const MacroEvent& event : macros[j]) {
            const auto bytes = EncodeEvent(event);
            for (uint8_t b : bytes) image[at++] = b;
        }
        record = at;
    }
    return image;
}

std::array<uint8_t, 4> MacroImage::EncodeEvent(const MacroEvent& event) {
    return {static_cast<uint8_t>(event.delay), static_cast<uint8_t>(event.delay >> 8),
            static_cast<uint8_t>((event.type & 0x7F) | (event.down ? 0x80 : 0x00)),
            static_cast<uint8_t>(event.button)};
}

}  // namespace model
