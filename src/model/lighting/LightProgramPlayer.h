// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays a light program: timed steps of breathing, static, blink, wave or spectrum over
// all LEDs. The steps and the step index are shared with the UI thread under the device's
// light-step lock (passed in); the counters of the step renderers belong to the light
// thread. Counters advance per pass; a pass is one millisecond of the loop.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "data/LightStep.h"
#include "model/lighting/ColourBuffer.h"

namespace lighting {

class LightProgramPlayer {
public:
    // The caller holds the light-step lock. Starts again at step 0, whose time runs from
    // the next pass.
    void Load(std::vector<LightStep> steps);
    size_t StepCount() const { return steps_.size(); }
    size_t StepIndex() const { return index_; }

    // One pass at tick `now`; takes `stepLock` itself. Returns false when there are no
    // steps (nothing drawn: the caller shows all LEDs off). `blinkSpeed` is the speed level
    // of the current effect settings, which times the blink steps.
    bool Pass(ColourBuffer& colours, int ledCount, uint8_t blinkSpeed, uint32_t now,
              std::mutex& stepLock);

private:
    void Draw(const LightStep& step, ColourBuffer& colours, int ledCount, uint8_t blinkSpeed,
              uint32_t now);
    void DrawWave(const LightStep& step, ColourBuffer& colours, int ledCount);

    // Under the light-step lock.
    std::vector<LightStep> steps_;
    size_t index_ = 0;
    bool restartClock_ = true;

    // Light thread only.
    uint32_t stepStart_ = 0;
    uint8_t frame_ = 0;
    uint8_t breathPhase_ = 0;
    uint8_t wavePhase_ = 0;
    uint8_t blinkHue_ = 0;
    bool blinkOn_ = false;
    uint32_t lastToggle_ = 0;
};

}  // namespace lighting
