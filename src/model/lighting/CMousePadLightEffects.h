// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse pad's effects: its 15 LEDs in a row, on top of the shared whole-device
// effects. The pad runs nothing when its mode changes.
#include <span>

#include "model/lighting/CLightEffects.h"

namespace lighting {

class CMousePadLightEffects : public CLightEffects {
public:
    CMousePadLightEffects(LightingState& state, ILightingHost& host);

    virtual void EffectPadWave();
    // Mode 7: seven intensities, one per LED pair (1, 14), (2, 13) ... (7, 8); LED 0 is
    // not drawn. Nothing on the pad raises these intensities.
    virtual void EffectPadPairFade();
    // Mode 6: one intensity per LED.
    virtual void EffectPadFade();

    std::span<const ModeRow> Modes() const override { return kPadModes; }
    void RunStep(EffectOp op) override;
};

}  // namespace lighting
