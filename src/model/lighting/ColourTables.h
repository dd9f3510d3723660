// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour and level tables every device kind shares with its firmware: brightness
// scale, colour wheel, breath, wave and pulse curves, the four colours and the blink and
// step periods. Lookups by a level that came from a profile or the device go through the
// *Of helpers, which clamp to the last entry instead of reading past a table.
#include <array>
#include <cstddef>
#include <cstdint>

#include "model/lighting/Rgba.h"

namespace lighting {

inline constexpr std::array<uint8_t, 6> kBrightnessScale{0, 50, 98, 162, 210, 255};

// Speed levels 0-4: blink periods in units of 200 ms, and the pass periods of the light
// programs, the per-LED light list and the pad.
inline constexpr std::array<uint8_t, 5> kBlinkPeriods{28, 23, 18, 13, 7};
inline constexpr uint32_t kBlinkUnitMs = 200;

inline constexpr std::array<Rgb, 4> kFourColours{
    {{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

namespace detail {

inline constexpr std::array<uint8_t, 32> kRisingRamp{
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
inline constexpr std::array<uint8_t, 32> kFallingRamp{
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

// Six segments of 32 around the hue circle, then the first 64 once more so that any
// 8-bit colour index selects a colour (192 + k shows the colour of k).
constexpr std::array<Rgb, 256> BuildWheel() {
    std::array<Rgb, 256> wheel{};
    for (int i = 0; i < 192; ++i) {
        const uint8_t u = kRisingRamp[i % 32];
        const uint8_t d = kFallingRamp[i % 32];
        switch (i / 32) {
            case 0:
                wheel[i] = {255, u, 0};
                break;
            case 1:
                wheel[i] = {d, 255, 0};
                break;
            case 2:
                wheel[i] = {0, 255, u};
                break;
            case 3:
                wheel[i] = {0, d, 255};
                break;
            case 4:
                wheel[i] = {u, 0, 255};
                break;
            default:
                wheel[i] = {255, 0, d};
                break;
        }
    }
    for (int i = 192; i < 256; ++i) wheel[i] = wheel[i - 192];
    return wheel;
}

// A rising half given in full, then the same values falling.
template <size_t N, size_t Half>
constexpr std::array<uint8_t, N> Mirrored(const std::array<uint8_t, Half>& rising) {
    static_assert(N == 2 * Half);
    std::array<uint8_t, N> curve{};
    for (size_t i = 0; i < Half; ++i) {
        curve[i] = rising[i];
        curve[N - 1 - i] = rising[i];
    }
    return curve;
}

// The listed values, then zeros up to the end.
template <size_t N, size_t Given>
constexpr std::array<uint8_t, N> ZeroPadded(const std::array<uint8_t, Given>& given) {
    static_assert(Given <= N);
    std::array<uint8_t, N> curve{};
    for (size_t i = 0; i < Given; ++i) curve[i] = given[i];
    return curve;
}

inline constexpr std::array<uint8_t, 64> kBreathRise{
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

inline constexpr std::array<uint8_t, 48> kWaveRise{
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

inline constexpr std::array<uint8_t, 88> kPulseGiven{
    0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120, 130, 140, 150, 158, 166,
    175, 182, 191, 204, 220, 234, 255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182,
    176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,
    81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};

}  // namespace detail

inline constexpr std::array<Rgb, 256> kColourWheel = detail::BuildWheel();
inline constexpr std::array<uint8_t, 128> kBreathCurve = detail::Mirrored<128>(detail::kBreathRise);
inline constexpr std::array<uint8_t, 96> kWaveCurve = detail::Mirrored<96>(detail::kWaveRise);
inline constexpr std::array<uint8_t, 192> kPulseCurve =
    detail::ZeroPadded<192>(detail::kPulseGiven);

static_assert(kColourWheel[31] == Rgb{255, 255, 0} && kColourWheel[63] == Rgb{0, 255, 0} &&
              kColourWheel[95] == Rgb{0, 255, 255} && kColourWheel[127] == Rgb{0, 0, 255} &&
              kColourWheel[159] == Rgb{255, 0, 255} && kColourWheel[191] == Rgb{255, 0, 0});

inline constexpr uint8_t BrightnessOf(uint8_t level) {
    return kBrightnessScale[level < kBrightnessScale.size() ? level : kBrightnessScale.size() - 1];
}
inline constexpr uint8_t BlinkPeriodOf(uint8_t speed) {
    return kBlinkPeriods[speed < kBlinkPeriods.size() ? speed : kBlinkPeriods.size() - 1];
}
inline constexpr uint32_t BlinkPeriodMsOf(uint8_t speed) {
    return BlinkPeriodOf(speed) * kBlinkUnitMs;
}

// B x value >> 8 with 8-bit operands: the alpha of a level scaled by a brightness.
inline constexpr uint8_t Scale(uint8_t brightness, uint8_t value) {
    return static_cast<uint8_t>((unsigned{brightness} * value) >> 8);
}

}  // namespace lighting
