// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One timed step of a light program (an element of "LEDEffectList").
#include <cstdint>

struct LightStep {
    uint8_t mode = 0;  // 0 breathing, 1 static, 2 blink, 3 keep colours, 4 wave, 5 spectrum
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColour = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    int32_t timeMs = 0;       // compared unsigned by playback: negative never ends
    int32_t repeatCount = 0;  // kept, playback ignores it

    bool operator==(const LightStep&) const = default;
};
