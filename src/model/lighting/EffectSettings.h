// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting state the effects draw with (a copy of the profile's or the device's
// LightSetting) and the light thread's own copy of mode and speed, which picks the step
// operation and its threshold. The UI thread writes both while the light thread runs,
// field by field; a pass that sees half an update draws one frame of a mixed setting.
#include <cstdint>

#include "data/LightSetting.h"
#include "model/lighting/Relaxed.h"
#include "model/lighting/Rgba.h"

namespace lighting {

class EffectSettings {
public:
    // Both copies, as a load of the profile or of the device's settings does.
    void Apply(const LightSetting& setting);
    // The thread's copy alone (the mouse pad keeps it in its settings block).
    void SetThreadCopy(uint8_t mode, uint8_t speed);

    LightSetting Current() const;
    uint8_t Mode() const { return mode_; }
    uint8_t Brightness() const { return brightness_; }
    uint8_t Speed() const { return speed_; }
    uint8_t Direction() const { return direction_; }
    bool MultiColour() const { return multiColour_ != 0; }
    Rgb UserColour() const { return {red_, green_, blue_}; }
    uint8_t CustomGroup() const { return customGroup_; }

    uint8_t ThreadMode() const { return threadMode_; }
    uint8_t ThreadSpeed() const { return threadSpeed_; }

private:
    Relaxed<uint8_t> mode_, brightness_, speed_, direction_, multiColour_;
    Relaxed<uint8_t> red_, green_, blue_, zzccMode_, customGroup_;
    Relaxed<uint8_t> threadMode_, threadSpeed_;
};

}  // namespace lighting
