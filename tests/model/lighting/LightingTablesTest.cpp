// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "model/lighting/ColourTables.h"
#include "model/lighting/LayoutTables.h"
#include "model/lighting/LayoutWalk.h"
#include "model/lighting/ModeTable.h"
#include "model/lighting/StepLevel.h"

namespace lighting {
namespace {

TEST(LightingTables, WheelSelectsAColourForEveryIndexAndRepeatsTheFirst64) {
    for (int k = 0; k < 64; ++k) EXPECT_EQ(kColourWheel[192 + k], kColourWheel[k]) << k;
    EXPECT_EQ(kColourWheel[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(kColourWheel[32], (Rgb{248, 255, 0}));   // second segment starts falling red
    EXPECT_EQ(kColourWheel[100], (Rgb{0, 194, 255}));  // segment 3, k = 4
    EXPECT_EQ(kColourWheel[170], (Rgb{255, 0, 124}));  // segment 5, k = 10
    EXPECT_EQ(kColourWheel[255], (Rgb{0, 255, 0}));
}

TEST(LightingTables, CurvesRiseThenMirror) {
    EXPECT_EQ(kBreathCurve[63], 255);
    EXPECT_EQ(kBreathCurve[64], 255);
    EXPECT_EQ(kBreathCurve[65], 248);
    EXPECT_EQ(kBreathCurve[127], 0);
    EXPECT_EQ(kWaveCurve[0], 22);
    EXPECT_EQ(kWaveCurve[47], 255);
    EXPECT_EQ(kWaveCurve[48], 255);
    EXPECT_EQ(kWaveCurve[95], 22);
    EXPECT_EQ(kPulseCurve[24], 255);
    EXPECT_EQ(kPulseCurve[25], 248);
    EXPECT_EQ(kPulseCurve[86], 2);
    EXPECT_EQ(kPulseCurve[87], 1);
    for (int i = 88; i < 192; ++i) EXPECT_EQ(kPulseCurve[i], 0) << i;
}

TEST(LightingTables, EveryPositionTableHoldsLedsOrItsNoLedMark) {
    auto check = [](const auto& rows, uint8_t none, const char* name) {
        for (const auto& row : rows)
            for (uint8_t v : row)
                EXPECT_TRUE(IsLedPosition(v) || v == none) << name << " " << int(v);
    };
    check(kColumnMatrix, kNoLed, "column");
    check(kSevenRowMatrix, kNoLed7, "seven-row");
    check(kDiagonalMatrix, kNoLed, "diagonal");
    check(kSweepTable, kNoLed, "sweep");
    check(kLightShowRows, kNoLed7, "show rows");
    check(kLightShowPairs, kNoLed, "show pairs");
    auto checkList = [](const auto& list, const char* name) {
        for (uint8_t v : list)
            EXPECT_TRUE(IsLedPosition(v) || v == kNoLed) << name << " " << int(v);
    };
    checkList(kOrderA, "order A");
    checkList(kOrderB, "order B");
    checkList(kKeyListC, "key list C");
    for (uint8_t pick : kRandomPick) EXPECT_LT(pick, kKeyListC.size());
}

TEST(LightingTables, LookupsOutsideTheTablesFindNoLed) {
    EXPECT_EQ(ColumnMatrixAt(-1, 0), kNoLed);
    EXPECT_EQ(ColumnMatrixAt(23, 0), kNoLed);
    EXPECT_EQ(ColumnMatrixAt(1, 6), kNoLed);
    EXPECT_EQ(ColumnMatrixAt(1, 0), 0);
    EXPECT_FALSE(FindInColumnMatrix(126));
    EXPECT_FALSE(FindInColumnMatrix(16));  // a position the grid does not show
    const auto at = FindInColumnMatrix(50);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->column, 9);
    EXPECT_EQ(at->row, 2);
    EXPECT_EQ(FindKeyListPosition(55), 55);
    EXPECT_EQ(FindKeyListPosition(62), kNoLed);
    EXPECT_EQ(FindKeyListPosition(126), kNoLed);
    EXPECT_EQ(FindKeyListPosition(-3), kNoLed);
}

TEST(LightingTables, StartIntensitiesReadAsOneList) {
    EXPECT_EQ(StartIntensityAt(6 * 2 + 5), 20);  // column 2, row 5
    EXPECT_EQ(StartIntensityAt(6 * 2 + 6), 92);  // row 6 takes column 3's first value
    EXPECT_EQ(StartIntensityAt(137), 32);
    EXPECT_EQ(StartIntensityAt(138), 0);  // past the list: nothing to read
}

TEST(LightingTables, LevelsOutsideTheScalesClampToTheLastEntry) {
    EXPECT_EQ(BrightnessOf(5), 255);
    EXPECT_EQ(BrightnessOf(9), 255);
    EXPECT_EQ(BlinkPeriodOf(4), 7);
    EXPECT_EQ(BlinkPeriodOf(200), 7);
    EXPECT_EQ(BlinkPeriodMsOf(0), 5600u);
    EXPECT_EQ(Scale(255, 255), 254);
}

TEST(LightingTables, StepLevelWrapsAtBothEnds) {
    EXPECT_EQ(StepLevel(1, 192, 190, 1), 191);
    EXPECT_EQ(StepLevel(1, 192, 191, 1), 0);
    EXPECT_EQ(StepLevel(0, 192, 0, 1), 191);
    EXPECT_EQ(StepLevel(0, 128, 5, 1), 4);
    EXPECT_EQ(StepLevel(0, 52, 0, 1), 51);
    EXPECT_EQ(StepLevel(1, 96, 150, 1), 0);  // a phase left high by another mode
    EXPECT_EQ(StepLevel(0, 96, 150, 1), 95);
    EXPECT_EQ(StepLevel(1, 10, 255, 2), 1);  // 8-bit: 255 + 2 is 1
}

TEST(LightingTables, ModeTableRowsAndSpeedsPastTheRow) {
    const std::set<int> slow{7, 25, 28, 29, 30};
    for (int mode = 0; mode < 31; ++mode) {
        const ModeRow& row = RowOf(kKeyboardModes, static_cast<uint8_t>(mode));
        if (mode == 0 || mode == 19 || mode == 21 || mode == 23) {
            EXPECT_EQ(row.step, EffectOp::Playback) << mode;
            continue;
        }
        const uint8_t slowest = slow.count(mode) ? 28 : mode == 16 ? 6 : 5;
        EXPECT_EQ(row.ThresholdOf(0), slowest) << mode;
        EXPECT_EQ(row.ThresholdOf(5), 0) << mode;
        EXPECT_EQ(row.ThresholdOf(200), 0) << mode;
    }
    EXPECT_EQ(RowOf(kKeyboardModes, 31).step, EffectOp::Playback);
    EXPECT_EQ(RowOf(kKeyboardModes, 255).step, EffectOp::Playback);
    EXPECT_EQ(RowOf(kPadModes, 5).step, EffectOp::Playback);
    EXPECT_EQ(RowOf(kPadModes, 9).step, EffectOp::Playback);
    for (const ModeRow& row : kPadModes) EXPECT_EQ(row.init, InitOp::None);
}

}  // namespace
}  // namespace lighting
