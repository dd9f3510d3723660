// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the lighting engine keeps for one device object.
#include <atomic>

#include "model/lighting/ColourBuffer.h"
#include "model/lighting/EffectSettings.h"
#include "model/lighting/EffectState.h"
#include "model/lighting/LightListOverlay.h"
#include "model/lighting/LightProgramPlayer.h"
#include "model/lighting/LightRandom.h"
#include "model/lighting/Relaxed.h"
#include "model/lighting/RippleMasks.h"
#include "platform/Event.h"

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
    // The device's picture is on screen (its tab selected, the window shown). When it is
    // not and no colour leaves the host, the light thread sleeps on `wake`.
    Relaxed<bool> onScreen{true};
    platform::Event wake{platform::Event::Mode::AutoReset};
    // The light thread sleeps on a still picture it has drawn in full: nothing will change
    // until it is woken, so the preview need not look (set after the last colour).
    std::atomic<bool> resting{false};
    Relaxed<uint32_t> now;  // tick of the pass in progress, for the timed effects
};

}  // namespace lighting
