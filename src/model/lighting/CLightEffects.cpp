// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/CLightEffects.h"

#include <algorithm>
#include <mutex>

#include "model/lighting/ColourTables.h"
#include "model/lighting/FadeRule.h"
#include "model/lighting/LayoutWalk.h"
#include "model/lighting/StepLevel.h"

namespace lighting {

CLightEffects::CLightEffects(LightingState& state, ILightingHost& host)
    : state_(state), host_(host) {}

int CLightEffects::LedCount() const {
    return std::clamp(host_.LedCount(), 0, kLedSlots);
}

uint8_t CLightEffects::Brightness() const {
    return BrightnessOf(state_.settings.Brightness());
}

Rgb CLightEffects::EffectColour(uint8_t colourIndex) const {
    return state_.settings.MultiColour() ? kColourWheel[colourIndex] : state_.settings.UserColour();
}

uint8_t CLightEffects::StepPhase(uint8_t value, uint8_t limit) const {
    return StepLevel(state_.settings.Direction(), limit, value, 1);
}

void CLightEffects::Draw(int led, Rgb colour, uint8_t alpha, int ledCount) {
    if (led >= 0 && led < ledCount) state_.colours.Set(led, Rgba(colour, alpha));
}

void CLightEffects::Fill(Rgba colour) {
    const int count = LedCount();
    for (int n = 0; n < count; ++n) state_.colours.Set(n, colour);
}

void CLightEffects::FadeAndDraw(int led, uint8_t rate, int ledCount) {
    if (led < 0 || led >= ledCount) return;
    FadeIntensity(led, rate);
    Draw(led, EffectColour(state_.effect.colourIndex[led]),
         Scale(Brightness(), state_.effect.intensity[led]), ledCount);
}

bool CLightEffects::BlinkToggleDue() {
    EffectState& e = state_.effect;
    const uint32_t now = state_.now;
    if (now - e.blinkTime < BlinkPeriodMsOf(state_.settings.Speed())) return false;
    e.blinkFlag = e.blinkFlag ? 0 : 1;
    e.blinkTime = now;
    return true;
}

void CLightEffects::EffectBreathing() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 128);
    const uint8_t alpha = Scale(kBreathCurve[e.phase], Brightness());
    if (!state_.settings.MultiColour()) {
        Fill(Rgba(state_.settings.UserColour(), alpha));
        return;
    }
    const int count = LedCount();
    for (int c = 0; c < kColumns; ++c)
        for (uint8_t led : kColumnMatrix[c]) Draw(led, kColourWheel[1 + 7 * c], alpha, count);
}

void CLightEffects::EffectBreathingFourColours() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 128);
    if (e.phase == 0) e.phase2 = static_cast<uint8_t>((e.phase2 + 1) % 4);
    Fill(Rgba(kFourColours[e.phase2 % 4], Scale(kBreathCurve[e.phase], Brightness())));
}

void CLightEffects::EffectStatic() {
    const uint8_t brightness = Brightness();
    if (!state_.settings.MultiColour()) {
        Fill(Rgba(state_.settings.UserColour(), brightness));
        return;
    }
    const int count = LedCount();
    for (int i = 0; i < 10; ++i)
        for (uint8_t led : kDiagonalMatrix[i])
            Draw(led, kColourWheel[117 - 13 * i], brightness, count);
}

void CLightEffects::EffectSpectrumCycle() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 192);
    Fill(Rgba(kColourWheel[e.phase], Brightness()));
}

void CLightEffects::EffectBlink() {
    EffectState& e = state_.effect;
    if (BlinkToggleDue()) e.phase = e.phase + 16 > 191 ? 0 : static_cast<uint8_t>(e.phase + 16);
    Fill(e.blinkFlag ? Rgba(EffectColour(e.phase), Brightness()) : Rgba{});
}

void CLightEffects::EffectBlinkFourColours() {
    EffectState& e = state_.effect;
    if (BlinkToggleDue()) e.phase = e.phase + 1 > 3 ? 0 : static_cast<uint8_t>(e.phase + 1);
    Fill(e.blinkFlag ? Rgba(kFourColours[e.phase % 4], Brightness()) : Rgba{});
}

void CLightEffects::EffectAllOff() {
    Fill(Rgba{});
}

void CLightEffects::RefreshKeyPreview(IKeyPreviewSink& sink) {
    if (!IsPreviewEnabled()) return;
    const int count = LedCount();
    for (int n = 0; n < count; ++n) {
        if (!sink.HasVisibleKeyButton(n)) continue;
        const Rgba colour = state_.colours.Get(n);
        sink.ShowKeyLight(n, colour.PreviewWord(), colour.alpha);
    }
}

void CLightEffects::SetLedColour(int position, uint32_t rgba) {
    if (position >= 0 && position < LedCount()) state_.colours.Set(position, Rgba::FromWord(rgba));
    state_.wake.Set();  // a still effect draws over it again, as it always did
}

void CLightEffects::SetLedRgb(int position, Rgb colour) {
    if (position >= 0 && position < LedCount()) state_.colours.SetColour(position, colour);
    state_.wake.Set();
}

uint32_t CLightEffects::GetLedColour(int position) const {
    if (position < 0 || position >= LedCount()) return 0;
    return state_.colours.Get(position).ToWord();
}

void CLightEffects::FadeIntensity(int position, uint8_t rate) {
    if (rate == 0 || !IsLedPosition(position)) return;
    state_.effect.intensity[position] = Faded(state_.effect.intensity[position]);
}

void CLightEffects::ApplySettings(const LightSetting& setting) {
    state_.settings.Apply(setting);
    // A sleeping thread looks again: the new mode may stream its colours.
    state_.wake.Set();
}

void CLightEffects::SetOnScreen(bool shown) {
    if (state_.onScreen == shown) return;
    state_.onScreen = shown;
    state_.wake.Set();
}

bool CLightEffects::ColoursWanted() const {
    if (state_.onScreen || host_.HostDrivesLeds()) return true;
    return RowOf(Modes(), state_.settings.ThreadMode()).step == EffectOp::EffectCustomColours;
}

void CLightEffects::LoadLightSteps(std::vector<LightStep> steps) {
    {
        std::lock_guard lock(host_.LightStepLock());
        state_.program.Load(std::move(steps));
    }
    state_.wake.Set();
}

void CLightEffects::LoadLightList(const std::vector<LightSetting>& list) {
    {
        std::lock_guard lock(host_.LightListLock());
        state_.lightList.Load(list);
    }
    state_.wake.Set();
}

void CLightEffects::RunStep(EffectOp op) {
    switch (op) {
        case EffectOp::EffectBreathing:
            EffectBreathing();
            break;
        case EffectOp::EffectBreathingFourColours:
            EffectBreathingFourColours();
            break;
        case EffectOp::EffectStatic:
            EffectStatic();
            break;
        case EffectOp::EffectSpectrumCycle:
            EffectSpectrumCycle();
            break;
        case EffectOp::EffectBlink:
            EffectBlink();
            break;
        case EffectOp::EffectBlinkFourColours:
            EffectBlinkFourColours();
            break;
        case EffectOp::EffectAllOff:
            EffectAllOff();
            break;
        default:
            break;
    }
}

}  // namespace lighting
