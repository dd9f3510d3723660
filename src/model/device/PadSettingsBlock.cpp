// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/PadSettingsBlock.h"

#include <algorithm>

namespace model {

void PadSettingsBlock::TakeRead(uint8_t activeIndex, std::span<const uint8_t, kReadSize> block) {
    std::copy_n(block.begin(), kSize, copy_.begin());
    copy_[0] = activeIndex;
    copy_[3] = static_cast<uint8_t>(4 - block[3]);
}

void PadSettingsBlock::TakeLight(const LightSetting& light) {
    copy_[1] = light.mode;
    // Nothing beyond what the pad understands goes out raw (a speed above 4 would wrap).
    copy_[2] = std::min(light.brightness, LightSetting::kMaxBrightness);
    copy_[3] = std::min(light.speed, LightSetting::kMaxSpeed);
    copy_[5] = light.multiColour != 0 ? 1 : 0;
    copy_[6] = light.red;
    copy_[7] = light.green;
    copy_[8] = light.blue;
}

PadSettingsBlock::Bytes PadSettingsBlock::ForWrite() const {
    Bytes bytes = copy_;
    bytes[3] = static_cast<uint8_t>(4 - copy_[3]);
    return bytes;
}

}  // namespace model
