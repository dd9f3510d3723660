// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole-device effects that every device kind shares, and the per-LED helpers of the
// engine. One object per device object, working on that device's LightingState and
// talking to the device only through its ILightingHost. The step operations run on the
// light thread; ApplySettings, the loads and RefreshKeyPreview on the UI thread.
#include <cstdint>
#include <span>
#include <vector>

#include "data/LightSetting.h"
#include "data/LightStep.h"
#include "model/lighting/IKeyPreviewSink.h"
#include "model/lighting/ILightingHost.h"
#include "model/lighting/LightingState.h"
#include "model/lighting/ModeTable.h"

namespace lighting {

class CLightEffects {
public:
    CLightEffects(LightingState& state, ILightingHost& host);
    virtual ~CLightEffects() = default;
    CLightEffects(const CLightEffects&) = delete;
    CLightEffects& operator=(const CLightEffects&) = delete;

    virtual void EffectBreathing();
    virtual void EffectBreathingFourColours();
    virtual void EffectStatic();
    virtual void EffectSpectrumCycle();
    virtual void EffectBlink();
    virtual void EffectBlinkFourColours();
    virtual void EffectAllOff();
    // Hands each LED's colour to its visible key button; nothing while the preview is off.
    virtual void RefreshKeyPreview(IKeyPreviewSink& sink);

    // RGBA word: red | green << 8 | blue << 16 | alpha << 24. Positions outside
    // 0..LED count-1 are ignored on write and read as 0.
    void SetLedColour(int position, uint32_t rgba);
    uint32_t GetLedColour(int position) const;
    // The colour alone, keeping the LED's level: how the user paints custom colours while
    // the light thread may be levelling the same LED.
    void SetLedRgb(int position, Rgb colour);
    void ClearColours() { state_.colours.Clear(); }
    // Lowers an LED's intensity by the fading rule; rate 0 leaves it.
    void FadeIntensity(int position, uint8_t rate);
    void SetPreviewEnabled(bool enabled) {
        state_.previewEnabled = enabled;
        Wake();
    }
    // Something the light thread or the preview shows may have changed: a sleeping thread
    // looks again (and the preview with it).
    void Wake() { state_.wake.Set(); }
    // Whether the device's picture is on screen; wakes a sleeping light thread to look.
    void SetOnScreen(bool shown);
    bool IsOnScreen() const { return state_.onScreen; }
    // Whether anyone needs the colours computed now: the picture on screen, the streamed
    // custom colours, or LEDs driven by the host.
    bool ColoursWanted() const;
    // The light thread wakes after a sleep: the running effect starts afresh, as after a
    // mode change (its phase restarts; what happened meanwhile, key reactions included,
    // would have run its course).
    virtual void RestartEffect() {}
    bool IsPreviewEnabled() const { return state_.previewEnabled; }

    // A load of the lighting settings (profile or device). The base only takes the copy;
    // the keyboard also restarts the effect when the mode changed.
    virtual void ApplySettings(const LightSetting& setting);
    // The light program to play, from step 0; takes the light-step lock.
    void LoadLightSteps(std::vector<LightStep> steps);
    // The per-LED light list; takes the light-list lock.
    void LoadLightList(const std::vector<LightSetting>& list);

    // The mode table of this device kind, and one step of one of its operations.
    virtual std::span<const ModeRow> Modes() const = 0;
    virtual void RunStep(EffectOp op);

    LightingState& State() { return state_; }
    const LightingState& State() const { return state_; }
    ILightingHost& Host() { return host_; }

protected:
    // The host's LED count, kept inside the engine's arrays.
    int LedCount() const;
    uint8_t Brightness() const;
    // Wheel colour k with the multi-colour flag, else the user's colour.
    Rgb EffectColour(uint8_t colourIndex) const;
    // Steps a counter by one in the current direction below `limit`.
    uint8_t StepPhase(uint8_t value, uint8_t limit) const;
    void Draw(int led, Rgb colour, uint8_t alpha, int ledCount);
    void Fill(Rgba colour);
    // Fade at `rate`, then the effect colour of the LED's colour index at its intensity.
    void FadeAndDraw(int led, uint8_t rate, int ledCount);
    // Toggles the blink flag when the blink period of the speed level has passed.
    bool BlinkToggleDue();

    LightingState& state_;
    ILightingHost& host_;
};

}  // namespace lighting
