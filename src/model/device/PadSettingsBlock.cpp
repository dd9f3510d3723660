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
    copy_[2] = light.brightness;
    copy_[3] = light.speed;
    copy_[5] = light.multiColour;
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
