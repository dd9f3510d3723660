// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which operation each light mode steps, after how many counts at each speed level, what
// runs when a mode is entered and how the mode answers key presses. Modes past the end of
// a table, and rows marked Playback, play the light program on every pass.
#include <array>
#include <cstdint>
#include <span>

namespace lighting {

enum class EffectOp : uint8_t {
    Playback,
    // Whole-device effects shared by every kind.
    EffectBreathing,
    EffectBreathingFourColours,
    EffectStatic,
    EffectSpectrumCycle,
    EffectBlink,
    EffectBlinkFourColours,
    EffectAllOff,
    // Keyboard effects.
    EffectColumnWave,
    EffectRowBands,
    EffectSnakeWave,
    EffectChase,
    EffectKeyBreathing,
    EffectStarlight,
    EffectKeyPulse,
    EffectCustomColours,
    EffectDiagonalRainbow,
    EffectColumnWaveFine,
    EffectBouncingRipple,
    EffectPresetHue,
    EffectRipple,
    EffectSweep,
    EffectPerKeyRainbow,
    EffectRisingRipple,
    EffectLightShow,
    EffectHorizontalRipple,
    // Mouse-pad effects.
    EffectPadWave,
    EffectPadPairFade,
    EffectPadFade,
    // Mouse effects (its wave is the pad's).
    EffectMouseSegments,
};

enum class InitOp : uint8_t {
    None,
    InitColourIndices,
    InitRippleBottom,
    InitColumnIntensities,
    InitRippleLeft,
    LoadCustomColoursThenIndices,
    InitKeyPhases,
};

enum class KeyOp : uint8_t { None, LightPressedKey, SeedRipple, LightKeyAndNeighbours };

// Thresholds per speed level; only levels 0-4 are used, the rest of a row is 0.
using Thresholds = std::array<uint8_t, 15>;

struct ModeRow {
    EffectOp step = EffectOp::Playback;
    Thresholds thresholds{};
    InitOp init = InitOp::InitColourIndices;
    KeyOp key = KeyOp::None;

    // A level past the row counts as the row's unused tail: 0.
    uint8_t ThresholdOf(uint8_t speed) const {
        return speed < thresholds.size() ? thresholds[speed] : 0;
    }
};

inline constexpr Thresholds kNormalSteps{5, 4, 3, 2, 1};
inline constexpr Thresholds kSlowSteps{28, 23, 18, 13, 7};
inline constexpr Thresholds kBouncingSteps{6, 5, 4, 3, 2};

// clang-format off
// Keyboard modes 0-30.
inline constexpr std::array<ModeRow, 31> kKeyboardModes{{
    /* 0 */ {EffectOp::Playback, {}, InitOp::InitColourIndices, KeyOp::None},
    /* 1 */ {EffectOp::EffectColumnWave, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 2 */ {EffectOp::EffectColumnWaveFine, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 3 */ {EffectOp::EffectSnakeWave, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 4 */ {EffectOp::EffectSpectrumCycle, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 5 */ {EffectOp::EffectBreathing, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 6 */ {EffectOp::EffectStatic, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 7 */ {EffectOp::EffectRipple, kSlowSteps, InitOp::InitColourIndices, KeyOp::LightPressedKey},
    /* 8 */ {EffectOp::EffectRipple, kNormalSteps, InitOp::InitColourIndices, KeyOp::SeedRipple},
    /* 9 */ {EffectOp::EffectHorizontalRipple, kNormalSteps, InitOp::InitColourIndices, KeyOp::SeedRipple},
    /* 10 */ {EffectOp::EffectStarlight, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 11 */ {EffectOp::EffectPerKeyRainbow, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 12 */ {EffectOp::EffectRowBands, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 13 */ {EffectOp::EffectRisingRipple, kNormalSteps, InitOp::InitRippleBottom, KeyOp::None},
    /* 14 */ {EffectOp::EffectLightShow, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 15 */ {EffectOp::EffectKeyPulse, kNormalSteps, InitOp::InitColumnIntensities, KeyOp::None},
    /* 16 */ {EffectOp::EffectBouncingRipple, kBouncingSteps, InitOp::InitRippleLeft, KeyOp::None},
    /* 17 */ {EffectOp::EffectPresetHue, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 18 */ {EffectOp::EffectDiagonalRainbow, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 19 */ {EffectOp::Playback, {}, InitOp::InitColourIndices, KeyOp::None},
    /* 20 */ {EffectOp::EffectCustomColours, kNormalSteps, InitOp::LoadCustomColoursThenIndices, KeyOp::None},
    /* 21 */ {EffectOp::Playback, {}, InitOp::InitColourIndices, KeyOp::None},
    /* 22 */ {EffectOp::EffectKeyBreathing, kNormalSteps, InitOp::InitKeyPhases, KeyOp::None},
    /* 23 */ {EffectOp::Playback, {}, InitOp::InitColourIndices, KeyOp::None},
    /* 24 */ {EffectOp::EffectBlink, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 25 */ {EffectOp::EffectSweep, kSlowSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 26 */ {EffectOp::EffectBreathingFourColours, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 27 */ {EffectOp::EffectBlinkFourColours, kNormalSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 28 */ {EffectOp::EffectAllOff, kSlowSteps, InitOp::InitColourIndices, KeyOp::None},
    /* 29 */ {EffectOp::EffectRipple, kSlowSteps, InitOp::InitColourIndices, KeyOp::LightKeyAndNeighbours},
    /* 30 */ {EffectOp::EffectChase, kSlowSteps, InitOp::InitColourIndices, KeyOp::None},
}};

// Mouse-pad modes 0-8; the pad runs nothing on a mode change and has no key effects.
inline constexpr std::array<ModeRow, 9> kPadModes{{
    /* 0 */ {EffectOp::EffectPadWave, kSlowSteps, InitOp::None, KeyOp::None},
    /* 1 */ {EffectOp::EffectSpectrumCycle, kSlowSteps, InitOp::None, KeyOp::None},
    /* 2 */ {EffectOp::EffectBreathing, kSlowSteps, InitOp::None, KeyOp::None},
    /* 3 */ {EffectOp::EffectStatic, kSlowSteps, InitOp::None, KeyOp::None},
    /* 4 */ {EffectOp::EffectBlink, kSlowSteps, InitOp::None, KeyOp::None},
    /* 5 */ {EffectOp::Playback, {}, InitOp::None, KeyOp::None},
    /* 6 */ {EffectOp::EffectPadFade, kSlowSteps, InitOp::None, KeyOp::None},
    /* 7 */ {EffectOp::EffectPadPairFade, kSlowSteps, InitOp::None, KeyOp::None},
    /* 8 */ {EffectOp::EffectAllOff, kSlowSteps, InitOp::None, KeyOp::None},
}};
// Mouse modes 0-8; like the pad, nothing runs on a mode change and keys light nothing.
inline constexpr std::array<ModeRow, 9> kMouseModes{{
    /* 0 */ {EffectOp::EffectPadWave, kSlowSteps, InitOp::None, KeyOp::None},
    /* 1 */ {EffectOp::EffectSpectrumCycle, kSlowSteps, InitOp::None, KeyOp::None},
    /* 2 */ {EffectOp::EffectBreathing, kSlowSteps, InitOp::None, KeyOp::None},
    /* 3 */ {EffectOp::EffectStatic, kSlowSteps, InitOp::None, KeyOp::None},
    /* 4 */ {EffectOp::EffectBlink, kSlowSteps, InitOp::None, KeyOp::None},
    /* 5 */ {EffectOp::EffectMouseSegments, kSlowSteps, InitOp::None, KeyOp::None},
    /* 6 */ {EffectOp::EffectBreathingFourColours, kSlowSteps, InitOp::None, KeyOp::None},
    /* 7 */ {EffectOp::EffectBlinkFourColours, kSlowSteps, InitOp::None, KeyOp::None},
    /* 8 */ {EffectOp::EffectAllOff, kSlowSteps, InitOp::None, KeyOp::None},
}};
// clang-format on

// The row of `mode`; modes past the table play the light program.
inline constexpr ModeRow kPlaybackRow{
    EffectOp::Playback, {}, InitOp::InitColourIndices, KeyOp::None};
inline const ModeRow& RowOf(std::span<const ModeRow> table, uint8_t mode) {
    return mode < table.size() ? table[mode] : kPlaybackRow;
}

}  // namespace lighting
