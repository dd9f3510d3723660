#pragma once
// Everything the lighting engine keeps for one device object.
#include "model/lighting/ColourBuffer.h"
#include "model/lighting/EffectSettings.h"
#include "model/lighting/EffectState.h"
#include "model/lighting/LightListOverlay.h"
#include "model/lighting/LightProgramPlayer.h"
#include "model/lighting/LightRandom.h"
#include "model/lighting/Relaxed.h"
#include "model/lighting/RippleMasks.h"

namespace lighting {

struct LightingState {
    ColourBuffer colours;
    EffectSettings settings;
    EffectState effect;
    RippleMasks masks;
    LightRandom random;          // light thread only
    LightProgramPlayer program;  // steps under the light-step lock
    LightListOverlay lightList;  // under the light-list lock
    Relaxed<bool> previewEnabled{true};
    Relaxed<uint32_t> now;  // tick of the pass in progress, for the timed effects
};

}  // namespace lighting
