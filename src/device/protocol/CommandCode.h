// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace device {

enum class CommandCode : std::uint8_t {
    BeginConfig = 1,
    EndConfig = 2,
    ReadDeviceInfo = 3,
    ReadSettingsMemory = 5,
    WriteSettingsMemory = 6,
    ReadKeyTable = 7,
    WriteKeyTable = 9,
    StreamColours = 11,
    WriteMacroImage = 21,
    WriteRecoilImage = 23,
    ReadStatusBlock = 26,
    ReadLedMap = 27,
    EnableHostLighting = 28,
    QueryLink = 170,
};

}  // namespace device
