// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headset's LEDs are lit by the host: every preview frame sends the 13 colours in
// twelve 17-byte output reports. Report layout: byte 0 the report id 0xFF, byte 1 the
// target (0x22 or 0x44), byte 2 the register (0xAA/0xAB/0xAC red/green/blue of LEDs 0-6,
// 0xAD/0xAE/0xAF of LEDs 7-12), bytes 4-10 (or 4-9) the colour bytes, the rest 0. The
// order: red to 0x22 low and high, to 0x44 low and high, then green, then blue.
#include <array>
#include <cstdint>

namespace model {

class HeadsetLedReports {
public:
    static constexpr int kLeds = 13;
    static constexpr int kReports = 12;
    static constexpr std::size_t kReportSize = 17;
    static constexpr std::uint8_t kReportId = 0xFF;
    using Report = std::array<std::uint8_t, kReportSize>;
    using Frame = std::array<Report, kReports>;

    // One colour byte as the LED takes it: scaled by the level (0-255) and held below
    // 248, the most the headset's drivers take.
    static std::uint8_t Scale(std::uint8_t colour, std::uint8_t level);

    // `rgba`: per LED, red | green << 8 | blue << 16 | level << 24 (the engine's words).
    static Frame Make(const std::array<std::uint32_t, kLeds>& rgba);
};

}  // namespace model
