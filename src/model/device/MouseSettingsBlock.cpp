// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/MouseSettingsBlock.h"

#include <algorithm>

namespace model {

namespace {

constexpr std::size_t kFirstStage = 14;
constexpr std::size_t kStageSize = 9;

uint8_t Low(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

uint8_t High(int value) {
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

MouseSettingsBlock::WriteBytes MouseSettingsBlock::Encode(const Source& source) {
    WriteBytes b{};
    const LightSetting& light = source.light;
    b[0] = source.byte0;
    // Light programs are the host's; the mouse itself knows modes 0-8.
    b[1] = light.mode >= kFirstProgramMode ? 0 : light.mode;
    b[2] = std::min(light.brightness, LightSetting::kMaxBrightness);
    const uint8_t speed = std::min(light.speed, LightSetting::kMaxSpeed);
    b[3] = source.invertSpeed ? static_cast<uint8_t>(LightSetting::kMaxSpeed - speed) : speed;
    b[4] = light.direction;
    b[5] = light.multiColour != 0 ? 1 : 0;
    b[6] = light.red;
    b[7] = light.green;
    b[8] = light.blue;
    b[11] = Low(source.reportStep);
    b[12] = Low(source.activeStage);
    for (std::size_t i = 0; i < kDpiStages && i < source.stages.size(); ++i) {
        const DpiStage& s = source.stages[i];
        uint8_t* at = b.data() + kFirstStage + i * kStageSize;
        at[0] = s.enabled;
        at[1] = s.separateXY;
        at[2] = Low(s.x);
        at[3] = High(s.x);
        at[4] = Low(s.y);
        at[5] = High(s.y);
        at[6] = s.red;
        at[7] = s.green;
        at[8] = s.blue;
    }
    b[59] = Low(source.byte59);
    b[60] = Low(source.screenWidth);
    b[61] = High(source.screenWidth);
    b[62] = Low(source.screenHeight);
    b[63] = High(source.screenHeight);
    const auto selected =
        std::find_if(source.corrections.begin(), source.corrections.end(),
                     [](const CorrectEntry& entry) { return entry.selection != 0; });
    if (selected != source.corrections.end()) {
        b[64] = selected->minSquare;
        b[65] = selected->pixThreshold;
    }
    return b;
}

void MouseSettingsBlock::TakeRead(uint8_t activeIndex, std::span<const uint8_t, kReadSize> block) {
    std::copy(block.begin(), block.end(), copy_.begin());
    copy_[0] = activeIndex;
    copy_[9] = 0;
}

LightSetting MouseSettingsBlock::LightOver(const LightSetting& held, bool invertSpeed) const {
    LightSetting light = held;
    light.mode = copy_[1];
    light.brightness = std::min(copy_[2], LightSetting::kMaxBrightness);
    // A value above 4 is no speed the mouse was sent; it reads as the slowest.
    if (copy_[3] > LightSetting::kMaxSpeed)
        light.speed = 0;
    else
        light.speed = invertSpeed ? static_cast<uint8_t>(LightSetting::kMaxSpeed - copy_[3])
                                  : copy_[3];
    light.multiColour = copy_[5] != 0 ? 1 : 0;
    light.red = copy_[6];
    light.green = copy_[7];
    light.blue = copy_[8];
    return light;
}

void MouseSettingsBlock::TakeLight(const LightSetting& light) {
    copy_[1] = light.mode;
    copy_[2] = light.brightness;
    copy_[3] = light.speed;
    copy_[5] = light.multiColour;
    copy_[6] = light.red;
    copy_[7] = light.green;
    copy_[8] = light.blue;
}

}  // namespace model
