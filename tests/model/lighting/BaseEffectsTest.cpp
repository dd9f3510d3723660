// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/lighting/ColourTables.h"
#include "model/lighting/LightingTestRig.h"

namespace lighting::test {
namespace {

TEST(BaseEffects, BreathingAtThePeakOfTheCurveAndAtBrightnessZero) {
    KeyboardRig rig;
    rig.Apply(Setting(5, 5, 4, 1, false, kUser));
    rig.Effect().phase = 62;
    rig.Fx().EffectBreathing();
    EXPECT_EQ(rig.Effect().phase, 63);
    for (int n : {0, 16, 62, 125}) EXPECT_EQ(rig.Led(n), Rgba(kUser, 254)) << n;

    rig.Apply(Setting(5, 0, 4, 1, false, kUser));
    rig.Fx().EffectBreathing();
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(rig.Led(n).alpha, 0) << n;
}

TEST(BaseEffects, MultiColourBreathingColoursByColumnAndSkipsLedsOffTheGrid) {
    KeyboardRig rig;
    rig.Apply(Setting(5, 5, 4, 1, true));
    rig.Fx().SetLedColour(16, Rgba(1, 2, 3, 4).ToWord());  // 16 has no place in the grid
    rig.Effect().phase = 62;
    rig.Fx().EffectBreathing();
    EXPECT_EQ(rig.Led(120), Rgba(kColourWheel[1], 254));   // column 0
    EXPECT_EQ(rig.Led(0), Rgba(kColourWheel[8], 254));     // column 1
    EXPECT_EQ(rig.Led(41), Rgba(kColourWheel[155], 254));  // column 22
    EXPECT_EQ(rig.Led(16), Rgba(1, 2, 3, 4));
}

TEST(BaseEffects, SpectrumStepsBackFromZeroTo191) {
    KeyboardRig rig;
    rig.Apply(Setting(4, 5, 4, 0));
    rig.Fx().EffectSpectrumCycle();
    EXPECT_EQ(rig.Effect().phase, 191);
    EXPECT_EQ(rig.Led(77), Rgba(255, 0, 0, 255));
}

TEST(BaseEffects, FourColourBreathingChangesColourEachTimeThePhaseReturnsToZero) {
    KeyboardRig rig;
    rig.Apply(Setting(26, 5, 4, 1));
    rig.Effect().phase = 126;
    rig.Fx().EffectBreathingFourColours();
    EXPECT_EQ(rig.Effect().phase2, 0);
    EXPECT_EQ(rig.Led(3), Rgba(kFourColours[0], 0));  // breath curve 127
    rig.Fx().EffectBreathingFourColours();
    EXPECT_EQ(rig.Effect().phase, 0);
    EXPECT_EQ(rig.Effect().phase2, 1);
    EXPECT_EQ(rig.Led(3), Rgba(kFourColours[1], 0));
    rig.Effect().phase2 = 3;
    rig.Effect().phase = 127;
    rig.Fx().EffectBreathingFourColours();
    EXPECT_EQ(rig.Effect().phase2, 0);
}

TEST(BaseEffects, BlinkTogglesOncePerPeriodAndSteps16ThroughTheWheel) {
    KeyboardRig rig;
    rig.Apply(Setting(24, 5, 4, 1, true));  // 7 x 200 ms
    rig.Effect().phase = 176;
    rig.engine.State().now = 1400;
    rig.Fx().EffectBlink();  // 1400 ms since the last toggle at 0
    EXPECT_EQ(rig.Effect().blinkFlag, 1);
    EXPECT_EQ(rig.Effect().phase, 0);  // 176 + 16 is past 191
    EXPECT_EQ(rig.Led(9), Rgba(kColourWheel[0], 255));

    rig.engine.State().now = 2799;
    rig.Fx().EffectBlink();
    EXPECT_EQ(rig.Effect().blinkFlag, 1);
    rig.engine.State().now = 2800;
    rig.Fx().EffectBlink();
    EXPECT_EQ(rig.Effect().blinkFlag, 0);
    EXPECT_EQ(rig.Effect().phase, 16);
    EXPECT_EQ(rig.Led(9), Rgba{});

    rig.Apply(Setting(24, 5, 4, 1, false, kUser));
    rig.engine.State().now = 4200;
    rig.Fx().EffectBlink();
    EXPECT_EQ(rig.Led(9), Rgba(kUser, 255));
}

TEST(BaseEffects, FourColourBlinkCountsZeroToThree) {
    KeyboardRig rig;
    rig.Apply(Setting(27, 5, 4));
    uint32_t now = 0;
    for (int toggle = 1; toggle <= 5; ++toggle) {
        now += 1400;
        rig.engine.State().now = now;
        rig.Fx().EffectBlinkFourColours();
        EXPECT_EQ(rig.Effect().phase, toggle % 4) << toggle;
    }
    EXPECT_EQ(rig.Led(0), Rgba(kFourColours[1], 255));  // fifth toggle: on, colour 1
}

TEST(BaseEffects, StaticRainbowFollowsTheDiagonalRowsAsTheyStand) {
    KeyboardRig rig;
    rig.Apply(Setting(6, 3, 4, 1, true));
    rig.Fx().EffectStatic();
    EXPECT_EQ(rig.Led(50), Rgba(kColourWheel[117], 162));  // row 0
    EXPECT_EQ(rig.Led(0), Rgba(kColourWheel[0], 162));     // row 9
    EXPECT_EQ(rig.Led(44), Rgba(kColourWheel[26], 162));   // rows 6 and 7: the later wins
    EXPECT_EQ(rig.Led(16), Rgba{});                        // on no diagonal row

    rig.Apply(Setting(6, 3, 4, 1, false, kUser));
    rig.Fx().EffectStatic();
    EXPECT_EQ(rig.Led(16), Rgba(kUser, 162));
}

TEST(BaseEffects, LedColoursStayInsideTheDevice) {
    PadRig rig;
    rig.Fx().SetLedColour(14, 0x04030201);
    rig.Fx().SetLedColour(15, 0x04030201);
    rig.Fx().SetLedColour(-1, 0x04030201);
    EXPECT_EQ(rig.Fx().GetLedColour(14), 0x04030201u);
    EXPECT_EQ(rig.Led(14), Rgba(1, 2, 3, 4));
    EXPECT_EQ(rig.Fx().GetLedColour(15), 0u);
    EXPECT_EQ(rig.Led(15), Rgba{});
    EXPECT_EQ(rig.Fx().GetLedColour(1000), 0u);

    rig.host.ledCount = 500;  // a device that claims more LEDs than the engine holds
    rig.Fx().EffectAllOff();
    rig.Fx().SetLedColour(126, 0x01010101);
    EXPECT_EQ(rig.Fx().GetLedColour(126), 0u);
}

TEST(BaseEffects, FadingFallsFastFromBrightAndStopsAtZero) {
    KeyboardRig rig;
    const std::pair<int, int> steps[] = {{255, 215}, {128, 88}, {127, 97}, {64, 34},
                                         {63, 53},   {32, 22},  {31, 23},  {17, 9},
                                         {16, 15},   {1, 0},    {0, 0}};
    for (auto [from, to] : steps) {
        rig.Effect().intensity[7] = static_cast<uint8_t>(from);
        rig.Fx().FadeIntensity(7, 10);
        EXPECT_EQ(rig.Effect().intensity[7], to) << from;
    }
    rig.Effect().intensity[7] = 200;
    rig.Fx().FadeIntensity(7, 0);
    EXPECT_EQ(rig.Effect().intensity[7], 200);
    rig.Fx().FadeIntensity(126, 10);  // outside: ignored
}

TEST(BaseEffects, PreviewHandsColourWordAndAlphaToVisibleButtonsOnly) {
    KeyboardRig rig;
    rig.Fx().SetLedColour(1, Rgba(0x11, 0x22, 0x33, 0x44).ToWord());
    rig.Fx().SetLedColour(2, Rgba(0x11, 0x22, 0x33, 0x44).ToWord());
    FakePreviewSink sink(100, 2);

    rig.Fx().SetPreviewEnabled(false);
    rig.Fx().RefreshKeyPreview(sink);
    EXPECT_FALSE(sink.shown[1].overlay);

    rig.Fx().SetPreviewEnabled(true);
    rig.Fx().RefreshKeyPreview(sink);
    EXPECT_TRUE(sink.shown[1].overlay);
    EXPECT_EQ(sink.shown[1].word, 0x223311u);  // red | blue << 8 | green << 16
    EXPECT_EQ(sink.shown[1].alpha, 0x44);
    EXPECT_FALSE(sink.shown[2].overlay);  // hidden button keeps 255 / 200
    EXPECT_EQ(sink.shown[2].word, 255u);
    EXPECT_EQ(sink.shown[2].alpha, 200);
    EXPECT_FALSE(sink.shown[100].overlay);  // no button
}

TEST(PadEffects, WaveDrawsEachLedSevenCurveEntriesOn) {
    PadRig rig;
    rig.Apply(Setting(0, 5, 4, 1, false, kUser));
    rig.Effect().phase = 94;
    rig.Fx().EffectPadWave();
    EXPECT_EQ(rig.Effect().phase, 95);
    EXPECT_EQ(rig.Led(0), Rgba(kUser, Scale(255, kWaveCurve[0])));
    EXPECT_EQ(rig.Led(1), Rgba(kUser, Scale(255, kWaveCurve[7])));
    EXPECT_EQ(rig.Led(14), Rgba(kUser, Scale(255, kWaveCurve[98 % 96])));

    rig.Apply(Setting(0, 5, 4, 1, true));
    rig.Effect().phase = 190;
    rig.Fx().EffectPadWave();  // 191, so LED 0 shows 192: the colour of 0
    EXPECT_EQ(rig.Led(0), Rgba(kColourWheel[0], 255));
    EXPECT_EQ(rig.Led(1), Rgba(kColourWheel[7], 255));
}

TEST(PadEffects, MultiColourBreathingTakesTheKeyboardColumnsAndStaysOnThePad) {
    PadRig rig;
    rig.Apply(Setting(2, 5, 4, 1, true));
    rig.Effect().phase = 62;
    rig.Fx().EffectBreathing();
    EXPECT_EQ(rig.Led(0), Rgba(kColourWheel[8], 254));
    EXPECT_EQ(rig.Led(14), Rgba(kColourWheel[120], 254));
    for (int n = 15; n < kLedSlots; ++n) EXPECT_EQ(rig.Led(n), Rgba{}) << n;

    rig.Apply(Setting(3, 5, 4, 1, true));
    rig.Fx().EffectStatic();
    rig.Fx().EffectSpectrumCycle();
    for (int n = 15; n < kLedSlots; ++n) EXPECT_EQ(rig.Led(n), Rgba{}) << n;
}

TEST(PadEffects, FadeModesDrawAtZeroAndPairFadeLeavesLedZero) {
    PadRig rig;
    rig.Apply(Setting(7, 5, 4, 1, false, kUser));
    rig.Fx().SetLedColour(0, Rgba(9, 9, 9, 9).ToWord());
    rig.Fx().EffectPadPairFade();
    EXPECT_EQ(rig.Led(0), Rgba(9, 9, 9, 9));
    for (int n = 1; n < 15; ++n) EXPECT_EQ(rig.Led(n), Rgba(kUser, 0)) << n;
    rig.Fx().EffectPadFade();
    EXPECT_EQ(rig.Led(0), Rgba(kUser, 0));
    EXPECT_EQ(rig.Effect().phase, 2);
}

}  // namespace
}  // namespace lighting::test
