// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/HeadsetLedReports.h"

#include <algorithm>

namespace model {

namespace {

constexpr std::uint8_t kTargets[2] = {0x22, 0x44};
constexpr std::uint8_t kLowRegister = 0xAA;   // + colour: LEDs 0-6
constexpr std::uint8_t kHighRegister = 0xAD;  // + colour: LEDs 7-12
constexpr int kLowLeds = 7;
constexpr unsigned kMaxByte = 247;

}  // namespace

std::uint8_t HeadsetLedReports::Scale(std::uint8_t colour, std::uint8_t level) {
    return static_cast<std::uint8_t>(std::min(unsigned{colour} * level / 256, kMaxByte));
}

HeadsetLedReports::Frame HeadsetLedReports::Make(const std::array<std::uint32_t, kLeds>& rgba) {
    Frame frame{};
    int next = 0;
    for (int colour = 0; colour < 3; ++colour) {
        for (std::uint8_t target : kTargets) {
            for (bool high : {false, true}) {
                Report& report = frame[next++];
                report[0] = kReportId;
                report[1] = target;
                report[2] =
                    static_cast<std::uint8_t>((high ? kHighRegister : kLowRegister) + colour);
                const int first = high ? kLowLeds : 0;
                const int last = high ? kLeds : kLowLeds;
                for (int led = first; led < last; ++led) {
                    const auto level = static_cast<std::uint8_t>(rgba[led] >> 24);
                    const auto value = static_cast<std::uint8_t>(rgba[led] >> (8 * colour));
                    report[4 + led - first] = Scale(value, level);
                }
            }
        }
    }
    return frame;
}

}  // namespace model
