// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours of the lighting engine. A colour-buffer entry is red, green, blue and alpha
// (0 dark, 255 full); as one word it is red | green << 8 | blue << 16 | alpha << 24,
// the byte order of the entry in memory.
#include <cstdint>

namespace lighting {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

struct Rgba {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;

    constexpr Rgba() = default;
    constexpr Rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
        : red(r), green(g), blue(b), alpha(a) {}
    constexpr Rgba(Rgb colour, uint8_t a)
        : red(colour.red), green(colour.green), blue(colour.blue), alpha(a) {}

    constexpr uint32_t ToWord() const {
        return uint32_t{red} | uint32_t{green} << 8 | uint32_t{blue} << 16 | uint32_t{alpha} << 24;
    }
    static constexpr Rgba FromWord(uint32_t word) {
        return {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
    }
    constexpr Rgb Colour() const { return {red, green, blue}; }

    // The word a key button tints its light image with: red | blue << 8 | green << 16.
    constexpr uint32_t PreviewWord() const {
        return uint32_t{red} | uint32_t{blue} << 8 | uint32_t{green} << 16;
    }

    bool operator==(const Rgba&) const = default;
};

}  // namespace lighting
