// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/LightProgramPlayer.h"

#include "model/lighting/ColourTables.h"
#include "model/lighting/ModeTable.h"

namespace lighting {

namespace {

void FillAll(ColourBuffer& colours, int ledCount, Rgba colour) {
    for (int n = 0; n < ledCount; ++n) colours.Set(n, colour);
}

uint8_t NextBelow(uint8_t value, int limit) {
    return value + 1 >= limit ? 0 : static_cast<uint8_t>(value + 1);
}

}  // namespace

void LightProgramPlayer::Load(std::vector<LightStep> steps) {
    steps_ = std::move(steps);
    index_ = 0;
    restartClock_ = true;
}

bool LightProgramPlayer::Pass(ColourBuffer& colours, int ledCount, uint8_t blinkSpeed, uint32_t now,
                              std::mutex& stepLock) {
    LightStep step;
    {
        std::lock_guard lock(stepLock);
        if (index_ >= steps_.size()) index_ = 0;
        if (steps_.empty()) return false;
        step = steps_[index_];
        if (restartClock_) {
            restartClock_ = false;
            stepStart_ = now;
        }
    }

    Draw(step, colours, ledCount, blinkSpeed, now);

    // Unsigned on purpose: a negative time never ends, so playback stays on that step.
    if (now - stepStart_ > static_cast<uint32_t>(step.timeMs)) {
        std::lock_guard lock(stepLock);
        if (!steps_.empty()) index_ = index_ + 1 >= steps_.size() ? 0 : index_ + 1;
        stepStart_ = now;
    }
    return true;
}

void LightProgramPlayer::Draw(const LightStep& step, ColourBuffer& colours, int ledCount,
                              uint8_t blinkSpeed, uint32_t now) {
    frame_ = NextBelow(frame_, 255);
    const uint8_t brightness = BrightnessOf(step.brightness);
    const Rgb colour{step.red, step.green, step.blue};
    const bool due = frame_ >= BlinkPeriodOf(step.speed);

    switch (step.mode) {
        case 0:  // breathing
            if (!due) return;
            frame_ = 0;
            breathPhase_ = NextBelow(breathPhase_, 128);
            FillAll(colours, ledCount,
                    Rgba(step.multiColour ? kColourWheel[0] : colour,
                         Scale(kBreathCurve[breathPhase_], brightness)));
            return;
        case 1:  // static
            if (!due) return;
            frame_ = 0;
            FillAll(colours, ledCount, Rgba(colour, brightness));
            return;
        case 2:  // blink
            breathPhase_ = NextBelow(breathPhase_, 128);
            if (due) frame_ = 0;
            if (now - lastToggle_ >= BlinkPeriodMsOf(blinkSpeed)) {
                blinkOn_ = !blinkOn_;
                lastToggle_ = now;
                blinkHue_ = static_cast<uint8_t>(breathPhase_ + 14);
            }
            FillAll(colours, ledCount,
                    blinkOn_ ? Rgba(step.multiColour ? kColourWheel[blinkHue_] : colour, brightness)
                             : Rgba{});
            return;
        case 4:  // wave
            if (!due) return;
            frame_ = 0;
            wavePhase_ = NextBelow(wavePhase_, 192);
            DrawWave(step, colours, ledCount);
            return;
        case 5:  // spectrum
            if (frame_ < RowOf(kKeyboardModes, 1).ThresholdOf(step.speed)) return;
            frame_ = 0;
            wavePhase_ = NextBelow(wavePhase_, 192);
            FillAll(colours, ledCount, Rgba(kColourWheel[wavePhase_], brightness));
            return;
        default:  // 3 keeps the colours there are
            return;
    }
}

void LightProgramPlayer::DrawWave(const LightStep& step, ColourBuffer& colours, int ledCount) {
    const uint8_t brightness = BrightnessOf(step.brightness);
    uint8_t h;
    if (step.direction == 0) {
        h = NextBelow(wavePhase_, 192);
    } else {
        h = static_cast<uint8_t>(-wavePhase_ - 64);
        if (h >= 192) h = 191;
    }
    if (step.multiColour) {
        for (int n = 0; n < ledCount; ++n) {
            colours.Set(n, Rgba(kColourWheel[h], brightness));
            h = static_cast<uint8_t>((h + 12) % 192);
        }
        return;
    }
    const Rgb colour{step.red, step.green, step.blue};
    int w = (h + 12) % 96;
    for (int n = 0; n < ledCount; ++n) {
        colours.Set(n, Rgba(colour, Scale(brightness, kWaveCurve[w])));
        w = (w + 12) % 96;
    }
}

}  // namespace lighting
