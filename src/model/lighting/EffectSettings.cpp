// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/EffectSettings.h"

namespace lighting {

void EffectSettings::Apply(const LightSetting& setting) {
    mode_ = setting.mode;
    brightness_ = setting.brightness;
    speed_ = setting.speed;
    direction_ = setting.direction;
    multiColour_ = setting.multiColour;
    red_ = setting.red;
    green_ = setting.green;
    blue_ = setting.blue;
    zzccMode_ = setting.zzccMode;
    customGroup_ = setting.customGroup;
    SetThreadCopy(setting.mode, setting.speed);
}

void EffectSettings::SetThreadCopy(uint8_t mode, uint8_t speed) {
    threadMode_ = mode;
    threadSpeed_ = speed;
}

LightSetting EffectSettings::Current() const {
    LightSetting s;
    s.mode = mode_;
    s.brightness = brightness_;
    s.speed = speed_;
    s.direction = direction_;
    s.multiColour = multiColour_;
    s.red = red_;
    s.green = green_;
    s.blue = blue_;
    s.zzccMode = zzccMode_;
    s.customGroup = customGroup_;
    return s;
}

}  // namespace lighting
