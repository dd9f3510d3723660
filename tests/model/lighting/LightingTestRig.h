// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A keyboard or pad lighting engine on a fake device, with helpers to set the lighting
// and to run the light loop tick by tick as the thread would.
#include <cstdint>

#include "model/lighting/FakeLightingHost.h"
#include "model/lighting/LightEngine.h"

namespace lighting::test {

// A user colour the effects tests set, and a colour no effect writes: a slot still
// holding it was never drawn.
inline constexpr Rgb kUser{10, 20, 30};
inline constexpr Rgba kSentinel{1, 2, 3, 77};

inline LightSetting Setting(uint8_t mode, uint8_t brightness = 5, uint8_t speed = 4,
                            uint8_t direction = 1, bool multi = true, Rgb colour = {10, 20, 30}) {
    LightSetting s;
    s.mode = mode;
    s.brightness = brightness;
    s.speed = speed;
    s.direction = direction;
    s.multiColour = multi ? 1 : 0;
    s.red = colour.red;
    s.green = colour.green;
    s.blue = colour.blue;
    return s;
}

inline LightStep ProgramStep(uint8_t mode, Rgb colour, int32_t timeMs, uint8_t speed = 4,
                             uint8_t multi = 0, uint8_t direction = 0, uint8_t brightness = 5) {
    LightStep s;
    s.mode = mode;
    s.brightness = brightness;
    s.speed = speed;
    s.direction = direction;
    s.multiColour = multi;
    s.red = colour.red;
    s.green = colour.green;
    s.blue = colour.blue;
    s.timeMs = timeMs;
    return s;
}

// TickCount's value after `ticks` steps of 15.625 ms.
inline uint32_t TickAt(uint32_t ticks) {
    return ticks * 125 / 8;
}

template <typename Engine>
struct Rig {
    explicit Rig(int ledCount) : host(ledCount), engine(host) {}

    auto& Fx() { return engine.Effects(); }
    EffectState& Effect() { return engine.State().effect; }
    Rgba Led(int n) const { return engine.State().colours.Get(n); }
    void Apply(const LightSetting& s) { engine.Effects().ApplySettings(s); }

    // The thread's start, then `passes` wakes one tick apart.
    void StartLoop(uint32_t atTick = 64) {
        tick = atTick;
        engine.Loop().Restart(TickAt(tick));
    }
    void RunTicks(int passes) {
        for (int i = 0; i < passes; ++i) engine.Loop().RunPass(TickAt(++tick));
    }

    FakeLightingHost host;
    Engine engine;
    uint32_t tick = 64;
};

struct KeyboardRig : Rig<KeyboardLightEngine> {
    KeyboardRig() : Rig(kLedSlots) {}
};

struct PadRig : Rig<MousePadLightEngine> {
    PadRig() : Rig(15) {}
};

struct MouseRig : Rig<MouseLightEngine> {
    MouseRig() : Rig(6) {}
};

}  // namespace lighting::test
