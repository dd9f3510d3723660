// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One device's lighting engine: its state, its effects and its light loop, for a device
// object to own. The device implements the host interface, runs RunThread in its light
// WorkerThread, and calls the effects for settings, key events and the preview.
#include "model/lighting/CKeyboardLightEffects.h"
#include "model/lighting/CMouseLightEffects.h"
#include "model/lighting/CMousePadLightEffects.h"
#include "model/lighting/LightLoop.h"
#include "model/lighting/LightingState.h"

namespace lighting {

template <typename EffectsT, typename HostT>
class LightEngine {
public:
    LightEngine(HostT& host, const LoopConfig& config)
        : effects_(state_, host), loop_(effects_, config) {}
    LightEngine(const LightEngine&) = delete;
    LightEngine& operator=(const LightEngine&) = delete;

    EffectsT& Effects() { return effects_; }
    const EffectsT& Effects() const { return effects_; }
    LightLoop& Loop() { return loop_; }
    LightingState& State() { return state_; }
    const LightingState& State() const { return state_; }

    // The light thread's body (give it to WorkerThread::Start); returns once `stop` is set.
    void RunThread(platform::Event& stop) { loop_.Run(stop); }

private:
    LightingState state_;
    EffectsT effects_;
    LightLoop loop_;
};

class KeyboardLightEngine : public LightEngine<CKeyboardLightEffects, IKeyboardLightingHost> {
public:
    explicit KeyboardLightEngine(IKeyboardLightingHost& host) : LightEngine(host, kKeyboardLoop) {}
};

class MousePadLightEngine : public LightEngine<CMousePadLightEffects, ILightingHost> {
public:
    explicit MousePadLightEngine(ILightingHost& host) : LightEngine(host, kPadLoop) {}
};

class MouseLightEngine : public LightEngine<CMouseLightEffects, ILightingHost> {
public:
    explicit MouseLightEngine(ILightingHost& host) : LightEngine(host, kPadLoop) {}
};

}  // namespace lighting
