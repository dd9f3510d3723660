// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's effects: its wave is the pad's over the mouse's LEDs; its own is the segment
// chase, nine segments of up to three LEDs lit in turn by a mask that walks round the 23
// entries and comes back (it is not let fall off the end: the chase would stop for good
// after one round).
#include <array>
#include <cstdint>

#include "model/lighting/CMousePadLightEffects.h"

namespace lighting {

class CMouseLightEffects : public CMousePadLightEffects {
public:
    static constexpr int kSegments = 9;
    static constexpr int kMaskEntries = 23;
    static constexpr uint8_t kNoLed = 255;
    using Segment = std::array<uint8_t, 3>;
    static const std::array<Segment, kSegments>& Segments();

    CMouseLightEffects(LightingState& state, ILightingHost& host);

    virtual void EffectMouseSegments();
    // After a sleep the chase starts again from its first segment (light thread).
    void RestartEffect() override;

    std::span<const ModeRow> Modes() const override { return kMouseModes; }
    void RunStep(EffectOp op) override;

    // The walking mask, for a look from a test (light thread only otherwise).
    const std::array<uint8_t, kMaskEntries>& RunMask() const { return runMask_; }

private:
    std::array<uint8_t, kMaskEntries> runMask_{};
    std::array<uint8_t, kSegments> segmentLevel_{};
};

}  // namespace lighting
