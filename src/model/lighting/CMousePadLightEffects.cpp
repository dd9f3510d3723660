// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/CMousePadLightEffects.h"

#include "model/lighting/ColourTables.h"
#include "model/lighting/FadeRule.h"

namespace lighting {

namespace {

constexpr uint8_t kPadFadeRate = 6;

}  // namespace

CMousePadLightEffects::CMousePadLightEffects(LightingState& state, ILightingHost& host)
    : CLightEffects(state, host) {}

void CMousePadLightEffects::EffectPadWave() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    if (state_.settings.MultiColour()) {
        e.phase = StepPhase(e.phase, 192);
        int h = e.phase + 1;  // 192 is the wheel's repeat of 0
        for (int n = 0; n < count; ++n) {
            Draw(n, kColourWheel[h], brightness, count);
            h = (h + 7) % 192;
        }
        return;
    }
    e.phase = StepPhase(e.phase, 96);
    int w = (e.phase + 1) % 96;
    const Rgb colour = state_.settings.UserColour();
    for (int n = 0; n < count; ++n) {
        Draw(n, colour, Scale(brightness, kWaveCurve[w]), count);
        w = (w + 7) % 96;
    }
}

void CMousePadLightEffects::EffectPadFade() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 192);
    const int count = LedCount();
    for (int n = 0; n < count; ++n) FadeIntensity(n, kPadFadeRate);
    const Rgb colour = EffectColour(e.phase);
    const uint8_t brightness = Brightness();
    for (int n = 0; n < count; ++n) Draw(n, colour, Scale(brightness, e.intensity[n]), count);
}

void CMousePadLightEffects::EffectPadPairFade() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 192);
    for (auto& level : e.padPairIntensity) level = Faded(level);
    const int count = LedCount();
    const Rgb colour = EffectColour(e.phase);
    const uint8_t brightness = Brightness();
    for (int pair = 0; pair < static_cast<int>(e.padPairIntensity.size()); ++pair) {
        const uint8_t alpha = Scale(brightness, e.padPairIntensity[pair]);
        Draw(1 + pair, colour, alpha, count);
        Draw(14 - pair, colour, alpha, count);
    }
}

void CMousePadLightEffects::RunStep(EffectOp op) {
    switch (op) {
        case EffectOp::EffectPadWave:
            EffectPadWave();
            break;
        case EffectOp::EffectPadPairFade:
            EffectPadPairFade();
            break;
        case EffectOp::EffectPadFade:
            EffectPadFade();
            break;
        default:
            CLightEffects::RunStep(op);
            break;
    }
}

}  // namespace lighting
