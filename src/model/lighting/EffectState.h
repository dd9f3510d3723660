// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The counters and per-LED work arrays of the effects. The light thread steps them; the
// input listener raises intensities and pressed flags; the UI thread resets them when the
// mode changes. All of it is shared without a lock (see Relaxed).
#include <array>
#include <cstdint>

#include "model/lighting/LayoutTables.h"
#include "model/lighting/Relaxed.h"

namespace lighting {

using LedBytes = std::array<Relaxed<uint8_t>, kLedSlots>;

struct EffectState {
    Relaxed<uint8_t> phase;         // main animation counter
    Relaxed<uint8_t> phase2;        // colour number of the four-colour breathing
    Relaxed<uint8_t> blinkFlag;     // on/off of the blink effects
    Relaxed<uint32_t> blinkTime;    // tick of the last blink toggle
    Relaxed<uint8_t> frameCounter;  // sub-steps of modes 13 and 14
    LedBytes intensity{};
    LedBytes colourIndex{};  // into the colour wheel; 192-255 repeat 0-63
    LedBytes keyPhase{};     // mode 22
    LedBytes keyPressed{};   // mode 29: 1 while the key is held
    std::array<Relaxed<uint8_t>, 7> padPairIntensity{};  // the pad's LED pairs
};

}  // namespace lighting
