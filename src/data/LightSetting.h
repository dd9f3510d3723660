// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One lighting state (13 bytes). Callers hand it around as four 32-bit words:
// word 0 = mode | brightness<<8 | speed<<16 | direction<<24,
// word 1 = multi-colour | red<<8 | green<<16 | blue<<24,
// word 2 = bytes 8-11 (reserved, reserved, present, "ZZCC" mode), word 3 = custom group.
#include <array>
#include <cstdint>

struct LightSetting {
    // The levels every device kind and the lighting page know: brightness 0..5, speed
    // 0..4 (the devices keep 4 - speed, so a larger one would wrap).
    static constexpr uint8_t kMaxBrightness = 5;
    static constexpr uint8_t kMaxSpeed = 4;

    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColour = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    std::array<uint8_t, 2> reserved{};
    uint8_t present = 0;      // 1 when a "LightList" element stood behind it
    uint8_t zzccMode = 0;     // secondary mode of the "ZZCC" mode selector
    uint8_t customGroup = 0;  // selected custom-colour group, also the colour page

    static LightSetting FromWords(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) {
        LightSetting s;
        s.mode = Byte(w0, 0);
        s.brightness = Byte(w0, 1);
        s.speed = Byte(w0, 2);
        s.direction = Byte(w0, 3);
        s.multiColour = Byte(w1, 0);
        s.red = Byte(w1, 1);
        s.green = Byte(w1, 2);
        s.blue = Byte(w1, 3);
        s.reserved = {Byte(w2, 0), Byte(w2, 1)};
        s.present = Byte(w2, 2);
        s.zzccMode = Byte(w2, 3);
        s.customGroup = Byte(w3, 0);
        return s;
    }

    std::array<uint32_t, 4> ToWords() const {
        return {Word(mode, brightness, speed, direction), Word(multiColour, red, green, blue),
                Word(reserved[0], reserved[1], present, zzccMode), customGroup};
    }

    bool operator==(const LightSetting&) const = default;

private:
    static uint8_t Byte(uint32_t word, int index) {
        return static_cast<uint8_t>(word >> (8 * index));
    }
    static uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
        return uint32_t{b0} | uint32_t{b1} << 8 | uint32_t{b2} << 16 | uint32_t{b3} << 24;
    }
};
