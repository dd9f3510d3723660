// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's segment chase and its mode table.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/lighting/LightingTestRig.h"

namespace lighting::test {
namespace {

TEST(MouseEffects, TheChaseLightsOnlyTheMousesLedsAndComesRoundAgain) {
    MouseRig rig;
    rig.Apply(Setting(5, 5, 4, 1, false, {255, 0, 0}));
    std::set<int> lit;
    for (int step = 0; step < 60; ++step) {
        rig.Fx().EffectMouseSegments();
        for (int n = 0; n < kLedSlots; ++n)
            if (rig.Led(n).alpha != 0) lit.insert(n);
    }
    // Segments 0-5 start on LEDs 0-5; their other LEDs (10-18) and segments 6-8 are not
    // the mouse's.
    EXPECT_EQ(lit, (std::set<int>{0, 1, 2, 3, 4, 5}));
    // The lit entry walks round the 23 entries of the mask and is still there.
    const auto& mask = rig.Fx().RunMask();
    EXPECT_EQ(std::count(mask.begin(), mask.end(), 1), 1);

    // Segment 0 lights in full again once the mask came back to it: 23 steps a round.
    MouseRig again;
    again.Apply(Setting(5, 5, 4, 0, false, {0, 0, 255}));
    again.Fx().EffectMouseSegments();
    const uint8_t first = again.Led(0).alpha;
    EXPECT_GT(first, 0);
    for (int step = 0; step < 23; ++step) again.Fx().EffectMouseSegments();
    EXPECT_EQ(again.Led(0).alpha, first);
}

TEST(MouseEffects, TheModeTableRunsTheWaveTheChaseAndTheSharedEffects) {
    MouseRig rig;
    EXPECT_EQ(rig.Fx().Modes().size(), 9u);
    EXPECT_EQ(rig.Fx().Modes()[0].step, EffectOp::EffectPadWave);
    EXPECT_EQ(rig.Fx().Modes()[5].step, EffectOp::EffectMouseSegments);
    EXPECT_EQ(rig.Fx().Modes()[8].step, EffectOp::EffectAllOff);
    for (const ModeRow& row : rig.Fx().Modes()) EXPECT_EQ(row.ThresholdOf(0), 28);
    EXPECT_EQ(RowOf(rig.Fx().Modes(), 9).step, EffectOp::Playback);
}

}  // namespace
}  // namespace lighting::test
