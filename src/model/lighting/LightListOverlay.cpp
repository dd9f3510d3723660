// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lighting/LightListOverlay.h"

#include <algorithm>

#include "model/lighting/ColourTables.h"

namespace lighting {

namespace {

enum ListMode : uint8_t { kBreathing = 0, kStatic = 1, kBlink = 2, kCycle = 3, kOff = 4 };

}  // namespace

void LightListOverlay::Load(const std::vector<LightSetting>& list) {
    size_ = static_cast<int>(std::min<size_t>(list.size(), entries_.size()));
    active_ = false;
    for (int n = 0; n < kLedSlots; ++n) {
        entries_[n] = Entry{n < size_ ? list[n] : LightSetting{}};
        // Static and dark entries are drawn every pass but never change on their own.
        const LightSetting& setting = entries_[n].setting;
        if (n < size_ && setting.present &&
            (setting.mode == kBreathing || setting.mode == kBlink || setting.mode == kCycle))
            active_ = true;
    }
}

void LightListOverlay::Apply(ColourBuffer& colours, int ledCount, uint32_t passes, uint32_t now) {
    const int count = std::min(size_, ledCount);
    for (int n = 0; n < count; ++n) {
        Entry& entry = entries_[n];
        if (!entry.setting.present || entry.setting.mode > kOff) continue;
        Step(entry, passes, now);
        colours.Set(n, ColourOf(entry));
    }
}

void LightListOverlay::Step(Entry& entry, uint32_t passes, uint32_t now) {
    const LightSetting& s = entry.setting;
    switch (s.mode) {
        case kBreathing:
        case kCycle:
            for (uint32_t i = 0; i < passes; ++i) {
                if (++entry.counter < BlinkPeriodOf(s.speed)) continue;
                entry.counter = 0;
                if (s.mode == kBreathing)
                    entry.breathPhase = entry.breathPhase + 1 >= 128 ? 0 : entry.breathPhase + 1;
                else
                    entry.hue = entry.hue + 1 >= 192 ? 0 : entry.hue + 1;
            }
            break;
        case kBlink:
            if (now - entry.lastToggle >= BlinkPeriodMsOf(s.speed)) {
                entry.blinkOn = !entry.blinkOn;
                entry.lastToggle = now;
                entry.hue = static_cast<uint8_t>(entry.hue + 14);
            }
            break;
        default:
            break;
    }
}

Rgba LightListOverlay::ColourOf(const Entry& entry) {
    const LightSetting& s = entry.setting;
    const uint8_t brightness = BrightnessOf(s.brightness);
    const Rgb own = s.multiColour ? kColourWheel[entry.hue] : Rgb{s.red, s.green, s.blue};
    switch (s.mode) {
        case kBreathing:
            return Rgba(own, Scale(kBreathCurve[entry.breathPhase], brightness));
        case kStatic:
            return Rgba(Rgb{s.red, s.green, s.blue}, brightness);
        case kBlink:
            return entry.blinkOn ? Rgba(own, brightness) : Rgba{};
        case kCycle:
            return Rgba(kColourWheel[entry.hue], brightness);
        default:
            return Rgba{};
    }
}

}  // namespace lighting
