// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A host request frame as the keyboard's firmware expects it, for the simulator's tests.
// The checksum is summed here, apart from Firmware::Checksum, so that a wrong sum there
// shows as a refused request.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "sim/Firmware.h"

namespace sim::test {

inline Frame Request(std::uint8_t command, std::uint8_t length = 0, std::uint16_t offset = 0,
                     const std::vector<std::uint8_t>& payload = {}) {
    Frame f{};
    f[0] = 4;
    f[3] = command;
    f[4] = length;
    f[5] = static_cast<std::uint8_t>(offset & 0xFF);
    f[6] = static_cast<std::uint8_t>(offset >> 8);
    std::copy(payload.begin(), payload.end(), f.begin() + 8);
    unsigned sum = 0;
    for (std::size_t i = 3; i < f.size(); ++i) sum += f[i];
    f[1] = static_cast<std::uint8_t>(sum & 0xFF);
    f[2] = static_cast<std::uint8_t>(sum >> 8);
    return f;
}

}  // namespace sim::test
