// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's layout-based and reactive effects, on top of the shared ones. Key events
// come from the input listener thread; they only raise intensities, pressed flags and
// ripple masks, which the light thread's steps then spread and fade.
//
// The custom-colour group operations (select a group, load it, fill it) work on the
// profile and the lighting panel and stay with the device; the engine reaches
// LoadCustomColours and StreamCustomColours through the host.
#include <cstdint>
#include <span>

#include "model/lighting/CLightEffects.h"

namespace lighting {

class CKeyboardLightEffects : public CLightEffects {
public:
    enum KeyEvent : int { kPress = 1, kRelease = 2 };

    CKeyboardLightEffects(LightingState& state, IKeyboardLightingHost& host);

    virtual void EffectResetState();
    void RestartEffect() override;
    virtual void PaintRippleMasks();
    virtual void SpreadRippleMasks();
    virtual void ShiftRippleLines();
    // A key the keyboard reported (1 press, 2 release); codes with no LED are ignored.
    virtual void OnKeyEvent(int keyCode, int event);
    virtual void DispatchKeyToEffect(int led, int event);
    virtual void EffectColumnWave();
    virtual void EffectRowBands();
    virtual void EffectSnakeWave();
    virtual void EffectChase();
    virtual void InitKeyPhases();
    virtual void EffectKeyBreathing();
    virtual void EffectStarlight();
    virtual void InitColumnIntensities();
    virtual void EffectKeyPulse();
    virtual void EffectCustomColours();
    virtual uint8_t FindKeyListPosition(int entry) const;
    virtual void EffectDiagonalRainbow();
    virtual void EffectColumnWaveFine();
    virtual void InitRippleLeft();
    virtual void EffectBouncingRipple();
    virtual void EffectPresetHue();
    virtual void SeedRipple(int led, int event);
    virtual void EffectRipple();
    virtual void EffectSweep();
    virtual void LightPressedKey(int led, int event);
    virtual void LightKeyAndNeighbours(int led, int event);
    // 1 when the LED at (column, row) or one around it is held, `releasedLed` not counted.
    virtual int HasPressedNeighbour(int column, int row, int releasedLed) const;
    virtual void InitColourIndices();
    virtual void EffectPerKeyRainbow();
    virtual void InitRippleBottom();
    virtual void EffectRisingRipple();
    virtual void EffectLightShow();
    virtual void EffectHorizontalRipple();

    // Takes the settings; on a change of mode, resets the effect state and starts the new
    // mode's effect.
    void ApplySettings(const LightSetting& setting) override;
    std::span<const ModeRow> Modes() const override { return kKeyboardModes; }
    void RunStep(EffectOp op) override;
    void RunInit(InitOp op);

private:
    int Rand() { return state_.random.Next(); }
    void ColumnWave(uint8_t hueStep, std::span<const uint8_t> curve, uint8_t curveStep);
    void PaintColumn(int column, Rgb colour, uint8_t alpha, int ledCount);
    void LightForShow(int led);
    // Re-seeds `bit` of `column` in all four masks when the masks there hold just `value`:
    // how the bouncing and rising ripples start again when their wave comes back.
    void ReseedIf(int column, uint8_t value, int bit);

    IKeyboardLightingHost& keyboard_;
};

}  // namespace lighting
