// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/CKeyboardLightEffects.h"

#include <algorithm>

#include "model/lighting/ColourTables.h"
#include "model/lighting/LayoutWalk.h"

namespace lighting {

namespace {

struct Neighbour {
    int dc;
    int dr;
    uint8_t gain;  // on a press
    uint8_t loss;  // on a release no other held key covers
};

// The ring, then the diagonals and the keys two rows away, then two columns away.
constexpr std::array<Neighbour, 12> kNeighbours{{
    {0, -1, 150, 15},
    {0, 1, 150, 15},
    {-1, 0, 150, 15},
    {1, 0, 150, 15},
    {-1, -1, 90, 90},
    {-1, 1, 90, 90},
    {1, -1, 90, 90},
    {1, 1, 90, 90},
    {0, -2, 90, 90},
    {0, 2, 90, 90},
    {-2, 0, 60, 90},
    {2, 0, 60, 90},
}};

uint8_t AddWrapped(int value, int add, int modulo) {
    return static_cast<uint8_t>((value + add) % modulo);
}

}  // namespace

CKeyboardLightEffects::CKeyboardLightEffects(LightingState& state, IKeyboardLightingHost& host)
    : CLightEffects(state, host), keyboard_(host) {}

void CKeyboardLightEffects::EffectResetState() {
    EffectState& e = state_.effect;
    e.phase = 0;
    e.frameCounter = 0;
    for (auto& i : e.intensity) i = 0;
    state_.masks.Clear();
}

void CKeyboardLightEffects::PaintRippleMasks() {
    const bool multi = state_.settings.MultiColour();
    EffectState& e = state_.effect;
    for (int c = 0; c < kColumns; ++c) {
        const uint8_t rows = state_.masks.ColumnUnion(c);
        for (int r = 0; r < kRows; ++r) {
            const uint8_t led = kColumnMatrix[c][r];
            if (!(rows & (1u << r)) || !IsLedPosition(led)) continue;
            e.intensity[led] = 255;
            if (multi) e.colourIndex[led] = static_cast<uint8_t>(Rand() % 192);
        }
    }
}

void CKeyboardLightEffects::SpreadRippleMasks() {
    state_.masks.Spread();
}

void CKeyboardLightEffects::ShiftRippleLines() {
    state_.masks.ShiftLines();
}

void CKeyboardLightEffects::OnKeyEvent(int keyCode, int event) {
    if (keyCode < 0) return;
    for (int n = 0; n < kLedSlots; ++n) {
        if (keyboard_.KeyCodeOfLed(n) == keyCode) {
            DispatchKeyToEffect(n, event);
            return;
        }
    }
}

void CKeyboardLightEffects::DispatchKeyToEffect(int led, int event) {
    if (!IsLedPosition(led) || (event != kPress && event != kRelease)) return;
    switch (RowOf(kKeyboardModes, state_.settings.Mode()).key) {
        case KeyOp::LightPressedKey:
            LightPressedKey(led, event);
            break;
        case KeyOp::SeedRipple:
            SeedRipple(led, event);
            break;
        case KeyOp::LightKeyAndNeighbours:
            LightKeyAndNeighbours(led, event);
            break;
        case KeyOp::None:
            break;
    }
}

void CKeyboardLightEffects::PaintColumn(int column, Rgb colour, uint8_t alpha, int ledCount) {
    for (uint8_t led : kColumnMatrix[column]) Draw(led, colour, alpha, ledCount);
}

void CKeyboardLightEffects::ColumnWave(uint8_t hueStep, std::span<const uint8_t> curve,
                                       uint8_t curveStep) {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    if (state_.settings.MultiColour()) {
        e.phase = StepPhase(e.phase, 192);
        int hue = AddWrapped(e.phase, 1, 192);
        for (int c = 0; c < kColumns; ++c) {
            PaintColumn(c, kColourWheel[hue], brightness, count);
            hue = AddWrapped(hue, hueStep, 192);
        }
        return;
    }
    e.phase = StepPhase(e.phase, 96);
    int w = AddWrapped(e.phase, 1, 96);
    const Rgb colour = state_.settings.UserColour();
    for (int c = 0; c < kColumns; ++c) {
        PaintColumn(c, colour, Scale(brightness, curve[w]), count);
        w = AddWrapped(w, curveStep, 96);
    }
}

void CKeyboardLightEffects::EffectColumnWave() {
    ColumnWave(7, kWaveCurve, 3);
}

void CKeyboardLightEffects::EffectColumnWaveFine() {
    ColumnWave(2, kPulseCurve, 5);
}

void CKeyboardLightEffects::EffectRowBands() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    e.phase = StepPhase(e.phase, 192);
    int hue = AddWrapped(e.phase, 1, 192);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c)
            Draw(kColumnMatrix[c][r], kColourWheel[hue], brightness, count);
        hue = AddWrapped(hue, 24, 192);
    }
}

void CKeyboardLightEffects::EffectSnakeWave() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    if (state_.settings.MultiColour()) {
        e.phase = StepPhase(e.phase, 192);
        int h = e.phase;
        for (uint8_t led : kOrderA) {
            Draw(led, kColourWheel[h], brightness, count);
            h = AddWrapped(h, 5, 192);
        }
        return;
    }
    e.phase = StepPhase(e.phase, 96);
    int w = e.phase;
    const Rgb colour = state_.settings.UserColour();
    for (uint8_t led : kOrderA) {
        Draw(led, colour, Scale(brightness, kWaveCurve[w]), count);
        w = AddWrapped(w, 5, 96);
    }
}

void CKeyboardLightEffects::EffectChase() {
    EffectState& e = state_.effect;
    auto light = [&](int index) {
        // Index 126 (the start of the way back) is past the order; it lights nothing.
        if (index >= static_cast<int>(kOrderB.size())) return;
        const uint8_t led = kOrderB[index];
        if (IsLedPosition(led)) e.intensity[led] = 254;
    };
    const uint8_t phase = e.phase;
    if (state_.settings.Direction()) {
        if (phase <= 125) {
            light(phase);
            e.phase = static_cast<uint8_t>(phase + 1);
        } else {
            e.phase = 0;
        }
    } else {
        if (phase > 0) {
            light(phase);
            e.phase = static_cast<uint8_t>(phase - 1);
        } else {
            e.phase = 126;
        }
    }
    const int count = LedCount();
    for (uint8_t led : kOrderA) FadeAndDraw(led, 30, count);
}

void CKeyboardLightEffects::InitKeyPhases() {
    EffectState& e = state_.effect;
    for (int c = 0; c < kColumns; ++c) {
        auto a = static_cast<uint8_t>(192 - 8 * c);
        for (uint8_t led : kSevenRowMatrix[c]) {
            auto b = static_cast<uint8_t>(a - 35);
            if (b >= 192) b = static_cast<uint8_t>(b - 63);
            if (IsLedPosition(led)) {
                e.keyPhase[led] = b;
                e.colourIndex[led] = static_cast<uint8_t>(7 * c);
            }
            a = b;
        }
    }
}

void CKeyboardLightEffects::EffectKeyBreathing() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    for (uint8_t led : kOrderA) {
        int phase = e.keyPhase[led] + 1;
        // The start phases reach 192 itself; counting on from there would leave the curve.
        if (phase >= 192) {
            phase = 0;
            e.colourIndex[led] = static_cast<uint8_t>(Rand() % 192);
        }
        e.keyPhase[led] = static_cast<uint8_t>(phase);
        Draw(led, EffectColour(e.colourIndex[led]), Scale(brightness, kPulseCurve[phase]), count);
    }
}

void CKeyboardLightEffects::EffectStarlight() {
    EffectState& e = state_.effect;
    for (int i = 0; i < 6; ++i) {
        const uint8_t led = kKeyListC[kRandomPick[Rand() % kRandomPick.size()]];
        const auto colourIndex = static_cast<uint8_t>(Rand() % 192);
        if (!IsLedPosition(led)) continue;
        e.colourIndex[led] = colourIndex;
        e.intensity[led] = 255;
    }
    const int count = LedCount();
    for (int n = 0; n < count; ++n) FadeAndDraw(n, 10, count);
}

void CKeyboardLightEffects::InitColumnIntensities() {
    EffectState& e = state_.effect;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < static_cast<int>(kSevenRowMatrix[c].size()); ++r) {
            const uint8_t led = kSevenRowMatrix[c][r];
            if (!IsLedPosition(led)) continue;
            e.intensity[led] = StartIntensityAt(6 * c + r);
            e.colourIndex[led] = static_cast<uint8_t>(7 * c);
        }
    }
}

void CKeyboardLightEffects::EffectKeyPulse() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    for (uint8_t led : kOrderA) {
        int level = e.intensity[led] + 2;
        if (level >= 192) {
            level = 0;
            e.colourIndex[led] = static_cast<uint8_t>(Rand() % 192);
        }
        e.intensity[led] = static_cast<uint8_t>(level);
        Draw(led, EffectColour(e.colourIndex[led]), Scale(brightness, kPulseCurve[level]), count);
    }
}

void CKeyboardLightEffects::EffectCustomColours() {
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    for (int n = 0; n < count; ++n) state_.colours.SetAlpha(n, brightness);
    keyboard_.StreamCustomColours();
}

uint8_t CKeyboardLightEffects::FindKeyListPosition(int entry) const {
    return lighting::FindKeyListPosition(entry);
}

void CKeyboardLightEffects::EffectDiagonalRainbow() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    e.phase = StepPhase(e.phase, 192);
    int h = e.phase;
    for (const auto& row : kDiagonalMatrix) {
        h = AddWrapped(h, 10, 192);
        for (uint8_t entry : row) {
            const uint8_t led = FindKeyListPosition(entry);
            if (led != kNoLed) Draw(led, kColourWheel[h], brightness, count);
        }
    }
}

void CKeyboardLightEffects::InitRippleLeft() {
    state_.masks.SeedAll(1, 0);
}

void CKeyboardLightEffects::InitRippleBottom() {
    state_.masks.SeedAll(9, 6);
}

void CKeyboardLightEffects::ReseedIf(int column, uint8_t value, int bit) {
    if (state_.masks.ColumnUnion(column) == value) state_.masks.SeedAll(column, bit);
}

void CKeyboardLightEffects::EffectBouncingRipple() {
    ReseedIf(1, 1, 0);
    ReseedIf(22, 64, 6);
    PaintRippleMasks();
    SpreadRippleMasks();
    const int count = LedCount();
    for (uint8_t led : kOrderA) FadeAndDraw(led, 16, count);
}

void CKeyboardLightEffects::EffectPresetHue() {
    uint8_t hue = 174;
    switch (state_.settings.Direction()) {
        case 1:
            hue = 25;
            break;
        case 2:
            hue = 70;
            break;
        case 3:
            hue = 95;
            break;
        default:
            break;
    }
    Fill(Rgba(kColourWheel[hue], Brightness()));
}

void CKeyboardLightEffects::SeedRipple(int led, int event) {
    if (event != kPress) return;
    if (const auto at = FindInColumnMatrix(led)) state_.masks.SeedAll(at->column, at->row);
}

void CKeyboardLightEffects::EffectRipple() {
    PaintRippleMasks();
    SpreadRippleMasks();
    const int count = LedCount();
    const uint8_t rate = state_.settings.Mode();
    for (int n = 0; n < count; ++n) FadeAndDraw(n, rate, count);
}

void CKeyboardLightEffects::EffectHorizontalRipple() {
    PaintRippleMasks();
    ShiftRippleLines();
    const int count = LedCount();
    const uint8_t rate = state_.settings.Mode();
    for (int n = 0; n < count; ++n) FadeAndDraw(n, rate, count);
}

void CKeyboardLightEffects::EffectSweep() {
    EffectState& e = state_.effect;
    e.phase = StepPhase(e.phase, 52);
    for (uint8_t led : kSweepTable[e.phase]) {
        if (!IsLedPosition(led)) continue;
        e.intensity[led] = 255;
        e.colourIndex[led] = 0;
    }
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    const bool multi = state_.settings.MultiColour();
    const Rgb colour = state_.settings.UserColour();
    for (int n = 0; n < count; ++n) {
        const uint8_t level = e.intensity[n];
        if (level) e.intensity[n] = static_cast<uint8_t>(level >= 5 ? level - 5 : 0);
        const uint8_t index = e.colourIndex[n];
        if (index != 255) e.colourIndex[n] = static_cast<uint8_t>(index + 3);
        if (multi)
            Draw(n, kColourWheel[e.colourIndex[n]], brightness, count);
        else
            Draw(n, colour, Scale(brightness, e.intensity[n]), count);
    }
}

void CKeyboardLightEffects::LightPressedKey(int led, int event) {
    if (IsLedPosition(led) && (event == kPress || event == kRelease))
        state_.effect.intensity[led] = 255;
}

void CKeyboardLightEffects::LightKeyAndNeighbours(int led, int event) {
    const auto at = FindInColumnMatrix(led);
    if (!at) return;
    EffectState& e = state_.effect;
    if (event == kPress) {
        e.keyPressed[led] = 1;
        e.intensity[led] = 255;
        for (const Neighbour& n : kNeighbours) {
            const uint8_t other = ColumnMatrixAt(at->column + n.dc, at->row + n.dr);
            if (!IsLedPosition(other)) continue;
            e.intensity[other] = static_cast<uint8_t>(std::min(255, e.intensity[other] + n.gain));
        }
        return;
    }
    if (event != kRelease) return;
    for (const Neighbour& n : kNeighbours) {
        const int column = at->column + n.dc;
        const int row = at->row + n.dr;
        const uint8_t other = ColumnMatrixAt(column, row);
        if (!IsLedPosition(other) || HasPressedNeighbour(column, row, led)) continue;
        const uint8_t level = e.intensity[other];
        e.intensity[other] = static_cast<uint8_t>(level > n.loss ? level - n.loss : 0);
    }
    e.keyPressed[led] = 0;
}

int CKeyboardLightEffects::HasPressedNeighbour(int column, int row, int releasedLed) const {
    auto held = [&](int c, int r) {
        const uint8_t led = ColumnMatrixAt(c, r);
        return IsLedPosition(led) && led != releasedLed && state_.effect.keyPressed[led] != 0;
    };
    if (held(column, row)) return 1;
    for (const Neighbour& n : kNeighbours)
        if (held(column + n.dc, row + n.dr)) return 1;
    return 0;
}

void CKeyboardLightEffects::InitColourIndices() {
    for (int n = 0; n < kLedSlots; ++n)
        state_.effect.colourIndex[n] = static_cast<uint8_t>(33 * (n + 1) % 192);
}

void CKeyboardLightEffects::EffectPerKeyRainbow() {
    EffectState& e = state_.effect;
    const int count = LedCount();
    const uint8_t brightness = Brightness();
    for (int n = 0; n < count; ++n) {
        const int index = e.colourIndex[n] + 1;
        e.colourIndex[n] = static_cast<uint8_t>(index >= 192 ? 0 : index);
        Draw(n, kColourWheel[e.colourIndex[n]], brightness, count);
    }
}

void CKeyboardLightEffects::EffectRisingRipple() {
    EffectState& e = state_.effect;
    ReseedIf(9, 1, 0);
    ReseedIf(9, 64, 6);
    if (e.frameCounter > 1) {
        e.frameCounter = 0;
        PaintRippleMasks();
        SpreadRippleMasks();
    }
    e.frameCounter = static_cast<uint8_t>(e.frameCounter + 1);
    const int count = LedCount();
    for (int n = 0; n < count; ++n) FadeAndDraw(n, 13, count);
}

void CKeyboardLightEffects::LightForShow(int led) {
    if (!IsLedPosition(led)) return;
    state_.effect.intensity[led] = 254;
    if (state_.settings.MultiColour())
        state_.effect.colourIndex[led] = static_cast<uint8_t>(Rand() % 192);
}

void CKeyboardLightEffects::EffectLightShow() {
    EffectState& e = state_.effect;
    // The frame counter is the script's stage.
    switch (e.frameCounter) {
        case 0: {
            uint8_t phase = e.phase;
            if (phase < kLightShowRows.size())
                for (uint8_t led : kLightShowRows[phase]) LightForShow(led);
            ++phase;
            if (phase >= kLightShowRows.size()) {
                phase = 0;
                e.frameCounter = 1;
            }
            e.phase = phase;
            break;
        }
        case 1:
            if (e.phase <= 30) {
                for (uint8_t led : kLightShowPairs[e.phase % kLightShowPairs.size()])
                    LightForShow(led);
                e.phase = static_cast<uint8_t>(e.phase + 1);
            } else if (e.intensity[51] == 0) {
                e.frameCounter = 2;
                e.phase = 0;
            }
            break;
        case 2:
            SeedRipple(50, kPress);
            e.frameCounter = 3;
            break;
        case 3:
            PaintRippleMasks();
            SpreadRippleMasks();
            if (e.intensity[105] != 0) e.frameCounter = 4;
            break;
        case 4:
            if (e.intensity[105] == 0) {
                e.frameCounter = 0;
                e.phase = 0;
            }
            break;
        default:
            break;
    }
    const int count = LedCount();
    for (int n = 0; n < count; ++n) FadeAndDraw(n, 14, count);
}

void CKeyboardLightEffects::ApplySettings(const LightSetting& setting) {
    const uint8_t previous = state_.settings.Mode();
    CLightEffects::ApplySettings(setting);
    if (setting.mode == previous) return;
    EffectResetState();
    RunInit(RowOf(kKeyboardModes, setting.mode).init);
}

void CKeyboardLightEffects::RestartEffect() {
    const InitOp init = RowOf(kKeyboardModes, state_.settings.ThreadMode()).init;
    EffectResetState();
    // The custom colours are already in the buffer: they are loaded when the mode is
    // entered, and that mode never sleeps.
    RunInit(init == InitOp::LoadCustomColoursThenIndices ? InitOp::InitColourIndices : init);
}

void CKeyboardLightEffects::RunInit(InitOp op) {
    switch (op) {
        case InitOp::InitColourIndices:
            InitColourIndices();
            break;
        case InitOp::InitRippleBottom:
            InitRippleBottom();
            break;
        case InitOp::InitColumnIntensities:
            InitColumnIntensities();
            break;
        case InitOp::InitRippleLeft:
            InitRippleLeft();
            break;
        case InitOp::LoadCustomColoursThenIndices:
            keyboard_.LoadCustomColours();
            InitColourIndices();
            break;
        case InitOp::InitKeyPhases:
            InitKeyPhases();
            break;
        case InitOp::None:
            break;
    }
}

void CKeyboardLightEffects::RunStep(EffectOp op) {
    switch (op) {
        case EffectOp::EffectColumnWave:
            EffectColumnWave();
            break;
        case EffectOp::EffectRowBands:
            EffectRowBands();
            break;
        case EffectOp::EffectSnakeWave:
            EffectSnakeWave();
            break;
        case EffectOp::EffectChase:
            EffectChase();
            break;
        case EffectOp::EffectKeyBreathing:
            EffectKeyBreathing();
            break;
        case EffectOp::EffectStarlight:
            EffectStarlight();
            break;
        case EffectOp::EffectKeyPulse:
            EffectKeyPulse();
            break;
        case EffectOp::EffectCustomColours:
            EffectCustomColours();
            break;
        case EffectOp::EffectDiagonalRainbow:
            EffectDiagonalRainbow();
            break;
        case EffectOp::EffectColumnWaveFine:
            EffectColumnWaveFine();
            break;
        case EffectOp::EffectBouncingRipple:
            EffectBouncingRipple();
            break;
        case EffectOp::EffectPresetHue:
            EffectPresetHue();
            break;
        case EffectOp::EffectRipple:
            EffectRipple();
            break;
        case EffectOp::EffectSweep:
            EffectSweep();
            break;
        case EffectOp::EffectPerKeyRainbow:
            EffectPerKeyRainbow();
            break;
        case EffectOp::EffectRisingRipple:
            EffectRisingRipple();
            break;
        case EffectOp::EffectLightShow:
            EffectLightShow();
            break;
        case EffectOp::EffectHorizontalRipple:
            EffectHorizontalRipple();
            break;
        default:
            CLightEffects::RunStep(op);
            break;
    }
}

}  // namespace lighting
