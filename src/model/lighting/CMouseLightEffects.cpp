// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/CMouseLightEffects.h"

#include <algorithm>

#include "model/lighting/ColourTables.h"
#include "model/lighting/FadeRule.h"

namespace lighting {

namespace {

constexpr uint8_t kSegmentPhaseStep = 12;

}  // namespace

const std::array<CMouseLightEffects::Segment, CMouseLightEffects::kSegments>&
CMouseLightEffects::Segments() {
    static const std::array<Segment, kSegments> segments = {{
        {0, 18, 18},
        {1, kNoLed, 17},
        {2, kNoLed, 16},
        {3, kNoLed, 15},
        {4, kNoLed, 14},
        {5, kNoLed, 13},
        {6, kNoLed, 12},
        {7, 9, 11},
        {8, 9, 10},
    }};
    return segments;
}

CMouseLightEffects::CMouseLightEffects(LightingState& state, ILightingHost& host)
    : CMousePadLightEffects(state, host) {
    runMask_[0] = 1;
}

void CMouseLightEffects::RestartEffect() {
    runMask_.fill(0);
    runMask_[0] = 1;
    segmentLevel_.fill(0);
}

void CMouseLightEffects::EffectMouseSegments() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 192);
    for (int i = 0; i < kSegments; ++i)
        if (runMask_[static_cast<std::size_t>(i)] != 0)
            segmentLevel_[static_cast<std::size_t>(i)] = 255;
    // The mask walks one entry in the current direction; the lit entry comes round again.
    if (state_.settings.Direction() != 0) {
        std::rotate(runMask_.rbegin(), runMask_.rbegin() + 1, runMask_.rend());
    } else {
        std::rotate(runMask_.begin(), runMask_.begin() + 1, runMask_.end());
    }
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    const bool multiColour = state_.settings.MultiColour();
    uint8_t phase = e.phase;
    for (int i = 0; i < kSegments; ++i) {
        uint8_t& level = segmentLevel_[static_cast<std::size_t>(i)];
        level = Faded(level);
        Rgb colour = state_.settings.UserColour();
        if (multiColour) {
            phase = static_cast<uint8_t>(phase + kSegmentPhaseStep);
            colour = kColourWheel[phase >= 192 ? phase - 192 : phase];
        }
        const auto alpha = static_cast<uint8_t>(brightness * level >> 8);
        for (uint8_t led : Segments()[static_cast<std::size_t>(i)])
            if (led != kNoLed && led < count) Draw(led, colour, alpha, count);
    }
}

void CMouseLightEffects::RunStep(EffectOp op) {
    if (op == EffectOp::EffectMouseSegments) {
        EffectMouseSegments();
        return;
    }
    CMousePadLightEffects::RunStep(op);
}

}  // namespace lighting
