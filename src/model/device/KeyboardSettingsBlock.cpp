// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/KeyboardSettingsBlock.h"

#include <algorithm>

namespace model {

KeyboardSettingsBlock::Bytes KeyboardSettingsBlock::Encode(uint8_t byte0, const LightSetting& light,
                                                           const SystemStages& stages) {
    Bytes block{};
    block[0] = byte0;
    block[1] = light.mode >= kFirstHostOnlyMode ? 0 : light.mode;
    block[2] = std::min(light.brightness, LightSetting::kMaxBrightness);
    block[3] = static_cast<uint8_t>(LightSetting::kMaxSpeed -
                                    std::min(light.speed, LightSetting::kMaxSpeed));
    block[4] = light.direction != 0 ? 1 : 0;
    block[5] = light.multiColour != 0 ? 1 : 0;
    block[6] = light.red;
    block[7] = light.green;
    block[8] = light.blue;
    block[18] = light.zzccMode;
    block[19] = stages.WFlag() != 0 ? 1 : 0;
    block[20] = stages.Key6Flag() == 0 ? 1 : 0;
    block[21] = stages.WinFlag() != 0 ? 1 : 0;
    block[22] = static_cast<uint8_t>(std::min<uint16_t>(stages.PollingRate(), kMaxPollingRate));
    block[25] = ColourPage(light.customGroup);
    return block;
}

bool KeyboardSettingsBlock::SameTakenSettings(const Bytes& a, const Bytes& b) {
    constexpr std::array<std::size_t, 12> kTaken = {1, 2, 3, 4, 5, 6, 7, 8, 18, 19, 20, 21};
    return std::all_of(kTaken.begin(), kTaken.end(), [&](std::size_t i) { return a[i] == b[i]; });
}

KeyboardSettingsBlock::Decoded KeyboardSettingsBlock::Decode(const Bytes& block) {
    Decoded d;
    d.kept = block;
    d.kept[16] = 0;
    d.light.mode = block[1];
    d.light.brightness = block[2];
    d.light.speed = static_cast<uint8_t>(4 - block[3]);
    d.light.direction = block[4];
    d.light.multiColour = block[5];
    d.light.red = block[6];
    d.light.green = block[7];
    d.light.blue = block[8];
    d.light.zzccMode = block[18];
    d.light.customGroup = block[25];
    d.wFlag = block[19];
    d.key6Flag = block[20] == 0 ? 1 : 0;
    d.winFlag = block[21];
    return d;
}

}  // namespace model
