// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "model/lighting/ColourTables.h"
#include "model/lighting/LightingTestRig.h"

namespace lighting::test {
namespace {

uint8_t Mask(KeyboardRig& rig, RippleMasks::Mask mask, int column) {
    return rig.engine.State().masks.Get(mask, column);
}

bool MasksEmpty(KeyboardRig& rig) {
    for (int c = 0; c < kColumns; ++c)
        if (rig.engine.State().masks.ColumnUnion(c)) return false;
    return true;
}

TEST(KeyboardEffects, KeyPressSeedsARippleThatSpreadsOneStepOutward) {
    KeyboardRig rig;
    rig.Apply(Setting(8));
    rig.host.keyCodes[0] = 41;
    rig.Fx().OnKeyEvent(41, CKeyboardLightEffects::kRelease);
    EXPECT_TRUE(MasksEmpty(rig));
    rig.Fx().OnKeyEvent(41, CKeyboardLightEffects::kPress);
    for (auto m : {RippleMasks::A, RippleMasks::B, RippleMasks::C, RippleMasks::D})
        EXPECT_EQ(Mask(rig, m, 1), 1) << m;

    rig.Fx().SpreadRippleMasks();
    EXPECT_EQ(Mask(rig, RippleMasks::A, 0), 1);
    EXPECT_EQ(Mask(rig, RippleMasks::D, 0), 1);
    EXPECT_EQ(Mask(rig, RippleMasks::B, 0) | Mask(rig, RippleMasks::C, 0), 0);
    EXPECT_EQ(Mask(rig, RippleMasks::B, 2), 1);
    EXPECT_EQ(Mask(rig, RippleMasks::C, 2), 1);
    EXPECT_EQ(Mask(rig, RippleMasks::A, 2) | Mask(rig, RippleMasks::D, 2), 0);
    EXPECT_EQ(Mask(rig, RippleMasks::C, 1), 2);
    EXPECT_EQ(Mask(rig, RippleMasks::D, 1), 2);
    EXPECT_EQ(Mask(rig, RippleMasks::A, 1) | Mask(rig, RippleMasks::B, 1), 0);
}

TEST(KeyboardEffects, RipplesDrainAwayAtEveryEdge) {
    KeyboardRig rig;
    rig.Apply(Setting(8));
    rig.Fx().SeedRipple(50, CKeyboardLightEffects::kPress);
    for (int i = 0; i < 40 && !MasksEmpty(rig); ++i) rig.Fx().SpreadRippleMasks();
    EXPECT_TRUE(MasksEmpty(rig));

    // The sideways ripple of mode 9 must leave past the outer columns too.
    rig.Apply(Setting(9));
    rig.Fx().SeedRipple(40, CKeyboardLightEffects::kPress);  // column 21, row 1
    rig.Fx().SeedRipple(21, CKeyboardLightEffects::kPress);  // column 1, row 1
    rig.Fx().ShiftRippleLines();
    rig.Fx().ShiftRippleLines();
    for (int c = 0; c < kColumns; ++c) {
        EXPECT_EQ(Mask(rig, RippleMasks::B, c), c == 3 ? 2 : 0) << c;
        EXPECT_EQ(Mask(rig, RippleMasks::D, c), c == 19 ? 2 : 0) << c;
        EXPECT_EQ(Mask(rig, RippleMasks::A, c) | Mask(rig, RippleMasks::C, c), 0) << c;
    }
    for (int i = 0; i < 25; ++i) rig.Fx().ShiftRippleLines();
    EXPECT_TRUE(MasksEmpty(rig));
    rig.Fx().SeedRipple(40, CKeyboardLightEffects::kPress);
    for (int i = 0; i < 30; ++i) rig.Fx().EffectHorizontalRipple();
    EXPECT_EQ(rig.Effect().intensity[41], 0);  // column 22, row 1: lit once, then faded out
}

TEST(KeyboardEffects, KeysWithoutAnLedAndModesWithoutKeyEffectsChangeNothing) {
    KeyboardRig rig;
    rig.host.keyCodes[30] = 7;
    rig.Apply(Setting(8));
    rig.Fx().OnKeyEvent(99, CKeyboardLightEffects::kPress);
    rig.Fx().OnKeyEvent(-1, CKeyboardLightEffects::kPress);  // what "no key" maps to
    EXPECT_TRUE(MasksEmpty(rig));

    rig.host.keyCodes[16] = 8;  // an LED off the grid cannot seed a ripple
    rig.Fx().OnKeyEvent(8, CKeyboardLightEffects::kPress);
    EXPECT_TRUE(MasksEmpty(rig));

    rig.Apply(Setting(4));
    rig.Fx().OnKeyEvent(7, CKeyboardLightEffects::kPress);
    EXPECT_TRUE(MasksEmpty(rig));
    EXPECT_EQ(rig.Effect().intensity[30], 0);

    rig.Apply(Setting(7));
    rig.Fx().OnKeyEvent(7, CKeyboardLightEffects::kRelease);
    EXPECT_EQ(rig.Effect().intensity[30], 255);
}

TEST(KeyboardEffects, ReleasingOneOfTwoHeldKeysKeepsWhatTheOtherCovers) {
    KeyboardRig rig;
    rig.Apply(Setting(29));
    // 45 sits at column 4, row 2; 46 beside it at column 5.
    rig.Fx().LightKeyAndNeighbours(45, CKeyboardLightEffects::kPress);
    rig.Fx().LightKeyAndNeighbours(46, CKeyboardLightEffects::kPress);
    const std::map<int, int> held{{45, 255}, {46, 255}, {25, 240}, {67, 240},
                                  {47, 210}, {24, 240}, {66, 240}, {44, 210}};
    const std::map<int, int> dropped{{26, 90}, {68, 90}, {3, 90}, {88, 90}, {48, 60}};
    for (auto [led, level] : held) EXPECT_EQ(rig.Effect().intensity[led], level) << led;
    for (auto [led, level] : dropped) EXPECT_EQ(rig.Effect().intensity[led], level) << led;

    rig.Fx().LightKeyAndNeighbours(46, CKeyboardLightEffects::kRelease);
    for (auto [led, level] : held) EXPECT_EQ(rig.Effect().intensity[led], level) << led;
    for (auto [led, level] : dropped) EXPECT_EQ(rig.Effect().intensity[led], 0) << led;
    EXPECT_EQ(rig.Effect().keyPressed[46], 0);
    EXPECT_EQ(rig.Effect().keyPressed[45], 1);
}

TEST(KeyboardEffects, ReleasingALoneKeyDimsTheRingBy15AndTheRestBy90) {
    KeyboardRig rig;
    rig.Apply(Setting(29));
    rig.Fx().LightKeyAndNeighbours(45, CKeyboardLightEffects::kPress);
    rig.Effect().intensity[2] = 200;  // column 4, row 0: 90 + 110 from elsewhere
    rig.Fx().LightKeyAndNeighbours(45, CKeyboardLightEffects::kRelease);
    EXPECT_EQ(rig.Effect().intensity[45], 255);  // the key itself fades with the effect
    for (int ring : {24, 66, 44, 46}) EXPECT_EQ(rig.Effect().intensity[ring], 135) << ring;
    for (int far : {23, 65, 25, 67, 87, 43, 47}) EXPECT_EQ(rig.Effect().intensity[far], 0) << far;
    EXPECT_EQ(rig.Effect().intensity[2], 110);

    // At the edge of the grid the missing neighbours are skipped.
    rig.Fx().LightKeyAndNeighbours(0, CKeyboardLightEffects::kPress);
    EXPECT_EQ(rig.Effect().intensity[21], 150);
    EXPECT_EQ(rig.Fx().HasPressedNeighbour(1, 1, 0), 0);
    EXPECT_EQ(rig.Fx().HasPressedNeighbour(1, 1, 45), 1);
}

TEST(KeyboardEffects, SweptKeyClimbsTheWheelBy3AndStopsAtGreen) {
    KeyboardRig rig;
    rig.Apply(Setting(25, 5, 4, 1, true));
    rig.Fx().EffectSweep();  // row 1: 0, 26, 27, 50, 51
    EXPECT_EQ(rig.Effect().colourIndex[0], 3);
    EXPECT_EQ(rig.Effect().intensity[0], 250);
    rig.Fx().EffectSweep();
    EXPECT_EQ(rig.Effect().colourIndex[0], 6);
    EXPECT_EQ(rig.Effect().intensity[0], 245);
    rig.Effect().colourIndex[0] = 252;
    rig.Fx().EffectSweep();
    rig.Fx().EffectSweep();
    EXPECT_EQ(rig.Effect().colourIndex[0], 255);
    EXPECT_EQ(rig.Led(0), Rgba(0, 255, 0, 255));
    EXPECT_EQ(rig.Effect().colourIndex[62], 159 + 3 * 4);  // keys never swept climb too

    rig.Apply(Setting(25, 5, 4, 1, false, kUser));
    rig.Effect().intensity[0] = 3;  // not a multiple of 5: must stop at 0, not wrap
    rig.Fx().EffectSweep();
    EXPECT_EQ(rig.Effect().intensity[0], 0);
}

TEST(KeyboardEffects, StarlightInOneColourFadesTheUserColour) {
    KeyboardRig rig;
    rig.Apply(Setting(10, 5, 4, 1, false, kUser));
    std::set<uint8_t> alphas;
    for (int step = 0; step < 20; ++step) {
        rig.Fx().EffectStarlight();
        for (int n = 0; n < kLedSlots; ++n) {
            EXPECT_EQ(rig.Led(n).Colour(), kUser) << n;
            alphas.insert(rig.Led(n).alpha);
        }
    }
    EXPECT_TRUE(alphas.count(0));
    EXPECT_TRUE(alphas.count(214));  // 255 faded once, at full brightness
    EXPECT_GT(alphas.size(), 3u);
}

TEST(KeyboardEffects, TheSameSeedGivesTheSameStars) {
    KeyboardRig a;
    KeyboardRig b;
    for (auto* rig : {&a, &b}) {
        rig->Apply(Setting(10));
        rig->engine.State().random.Seed(77);
        for (int i = 0; i < 5; ++i) rig->Fx().EffectStarlight();
    }
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(a.Led(n), b.Led(n)) << n;
    b.engine.State().random.Seed(78);
    b.Fx().EffectStarlight();
    a.Fx().EffectStarlight();
    int differ = 0;
    for (int n = 0; n < kLedSlots; ++n) differ += !(a.Led(n) == b.Led(n));
    EXPECT_GT(differ, 0);
}

TEST(KeyboardEffects, CustomColoursKeepTheirColourAtBrightnessAndStream) {
    KeyboardRig rig;
    rig.Apply(Setting(20, 3, 0));
    EXPECT_EQ(rig.host.customLoads, 1);
    rig.engine.State().colours.SetColour(5, {200, 100, 50});
    for (uint8_t speed : {0, 4}) {
        rig.Apply(Setting(20, 3, speed));
        rig.Fx().EffectCustomColours();
        EXPECT_EQ(rig.Led(5), Rgba(200, 100, 50, 162));
    }
    EXPECT_EQ(rig.host.streams, 2);
    EXPECT_EQ(rig.host.customLoads, 1);  // loaded on entering the mode only
}

TEST(KeyboardEffects, ModeChangeClearsRipplesAndIntensitiesButNotTheColours) {
    KeyboardRig rig;
    rig.Apply(Setting(16));
    for (int i = 0; i < 5; ++i) rig.Fx().EffectBouncingRipple();
    const Rgba before = rig.Led(21);
    ASSERT_NE(before.alpha, 0);
    rig.Apply(Setting(1));
    EXPECT_TRUE(MasksEmpty(rig));
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(rig.Effect().intensity[n], 0) << n;
    EXPECT_EQ(rig.Led(21), before);
    EXPECT_EQ(rig.Effect().colourIndex[5], 6);  // InitColourIndices: 33 x 6 mod 192
    rig.Fx().EffectColumnWave();
    EXPECT_NE(rig.Led(21), before);
}

TEST(KeyboardEffects, SerpentineModesDrawOrderAOnlyAndEachOfItsLeds) {
    std::set<int> inOrderA(kOrderA.begin(), kOrderA.end());
    for (uint8_t mode : {3, 15, 16, 22, 30}) {
        KeyboardRig rig;
        rig.Apply(Setting(mode, 5, 4, 1, true));
        for (int n = 0; n < kLedSlots; ++n) rig.Fx().SetLedColour(n, kSentinel.ToWord());
        rig.Fx().RunStep(RowOf(kKeyboardModes, mode).step);
        for (int n = 0; n < kLedSlots; ++n) {
            if (inOrderA.count(n))
                EXPECT_NE(rig.Led(n), kSentinel) << int(mode) << " led " << n;
            else
                EXPECT_EQ(rig.Led(n), kSentinel) << int(mode) << " led " << n;
        }
    }
}

TEST(KeyboardEffects, ChaseRunsOrderBBothWaysAndLightsNothingPastItsEnd) {
    KeyboardRig rig;
    rig.Apply(Setting(30, 5, 4, 0, false, kUser));
    rig.Fx().EffectChase();  // phase 0 going back: restarts at 126
    EXPECT_EQ(rig.Effect().phase, 126);
    rig.Fx().EffectChase();  // 126 is past the order: nothing lit
    EXPECT_EQ(rig.Effect().phase, 125);
    for (int n = 0; n < kLedSlots; ++n) EXPECT_EQ(rig.Effect().intensity[n], 0) << n;

    rig.Apply(Setting(30, 5, 4, 1, false, kUser));
    rig.Effect().phase = 125;
    rig.Fx().EffectChase();  // entry 125 holds no LED
    EXPECT_EQ(rig.Effect().phase, 126);
    rig.Fx().EffectChase();
    EXPECT_EQ(rig.Effect().phase, 0);
    rig.Fx().EffectChase();
    EXPECT_EQ(rig.Effect().intensity[0], 214);  // lit at 254, faded once at rate 30
    EXPECT_EQ(rig.Led(0), Rgba(kUser, 213));

    rig.Effect().phase = 16;  // order B's 17: in no order A, so it keeps 254 and its colour
    rig.Fx().EffectChase();
    EXPECT_EQ(rig.Effect().intensity[17], 254);
}

TEST(KeyboardEffects, StartPhasesAndIntensitiesOfTheColumnModes) {
    KeyboardRig rig;
    rig.Apply(Setting(22));
    // Column 2: a = 176; row 0 gives 141 (no LED), row 1 gives 106 for LED 0.
    EXPECT_EQ(rig.Effect().keyPhase[0], 106);
    EXPECT_EQ(rig.Effect().colourIndex[0], 14);
    // Column 0: 192 -> 157, 122, 87, 52, 17 (no LEDs), then 17 - 35 wraps to 238, less 63
    // gives 175 for LED 84, and 140 for LED 105.
    EXPECT_EQ(rig.Effect().keyPhase[84], 175);
    EXPECT_EQ(rig.Effect().keyPhase[105], 140);
    rig.Effect().keyPhase[15] = 191;
    rig.Fx().EffectKeyBreathing();
    EXPECT_EQ(rig.Effect().keyPhase[15], 0);
    EXPECT_EQ(rig.Led(15).alpha, 0);  // pulse curve 0

    rig.Apply(Setting(15));
    EXPECT_EQ(rig.Effect().intensity[84], 162);  // column 0, row 5
    EXPECT_EQ(rig.Effect().intensity[105], 72);  // row 6 takes column 1's first value
    EXPECT_EQ(rig.Effect().colourIndex[105], 0);
    EXPECT_EQ(rig.Effect().intensity[113], 140);  // column 16, row 6: column 17's first
}

TEST(KeyboardEffects, RisingRipplePaintsOnEverySecondCall) {
    KeyboardRig rig;
    rig.Apply(Setting(13));
    EXPECT_EQ(Mask(rig, RippleMasks::A, 9), 64);
    int paints = 0;
    for (int call = 0; call < 6; ++call) {
        const uint8_t before = Mask(rig, RippleMasks::A, 9);
        rig.Fx().EffectRisingRipple();
        paints += Mask(rig, RippleMasks::A, 9) != before;
    }
    EXPECT_EQ(paints, 2);
}

TEST(KeyboardEffects, HueAndRainbowModes) {
    KeyboardRig rig;
    rig.Apply(Setting(17, 5, 4, 2));
    rig.Fx().EffectPresetHue();
    EXPECT_EQ(rig.Led(100), Rgba(kColourWheel[70], 255));
    rig.Apply(Setting(17, 5, 4, 9));
    rig.Fx().EffectPresetHue();
    EXPECT_EQ(rig.Led(100), Rgba(kColourWheel[174], 255));

    rig.Apply(Setting(11));
    rig.Effect().colourIndex[3] = 191;
    rig.Fx().EffectPerKeyRainbow();
    EXPECT_EQ(rig.Effect().colourIndex[3], 0);
    EXPECT_EQ(rig.Effect().colourIndex[0], 34);

    rig.Apply(Setting(18, 5, 4, 1));
    rig.Fx().SetLedColour(62, kSentinel.ToWord());
    rig.Fx().EffectDiagonalRainbow();  // phase 1: row 0 takes hue 11
    EXPECT_EQ(rig.Led(50), Rgba(kColourWheel[11], 255));
    EXPECT_EQ(rig.Led(62), kSentinel);  // in no diagonal row
}

TEST(KeyboardEffects, LightShowWalksItsRowsThenItsPairs) {
    KeyboardRig rig;
    rig.Apply(Setting(14, 5, 4, 1, false, kUser));
    rig.Fx().EffectLightShow();
    EXPECT_EQ(rig.Effect().intensity[0], 214);
    EXPECT_EQ(rig.Led(0), Rgba(kUser, 213));
    for (int i = 1; i < 15; ++i) rig.Fx().EffectLightShow();
    EXPECT_EQ(rig.Effect().frameCounter, 1);
    EXPECT_EQ(rig.Effect().phase, 0);
    rig.Fx().EffectLightShow();
    EXPECT_EQ(rig.Effect().intensity[28], 214);
    EXPECT_EQ(rig.Effect().intensity[92], 214);
    for (int i = 0; i < 200 && rig.Effect().frameCounter < 3; ++i) rig.Fx().EffectLightShow();
    EXPECT_EQ(rig.Effect().frameCounter, 3);
    EXPECT_EQ(Mask(rig, RippleMasks::A, 9), 4);  // the ripple seeded at LED 50
    for (int i = 0; i < 200 && rig.Effect().frameCounter != 0; ++i) rig.Fx().EffectLightShow();
    EXPECT_EQ(rig.Effect().frameCounter, 0);  // and round again
}

}  // namespace
}  // namespace lighting::test
