// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile's per-LED light list ("LightList"): entry n, when present, overrides what
// the running effect drew on LED n with a breathing, static, blinking, cycling or dark LED
// of its own. Shared with the UI thread under the device's light-list lock, which the
// callers hold around every call.
#include <array>
#include <cstdint>
#include <vector>

#include "data/LightSetting.h"
#include "model/lighting/ColourBuffer.h"
#include "model/lighting/LayoutTables.h"

namespace lighting {

class LightListOverlay {
public:
    // Takes the entries for LED positions 0-125 (the rest have no LED to drive) and starts
    // every LED's breathing, blinking and colour cycle afresh.
    void Load(const std::vector<LightSetting>& list);
    int Size() const { return size_; }
    // True when some entry changes on its own (breathes, blinks or cycles), so the loop
    // must run every pass.
    bool HasActiveEntries() const { return active_; }

    // Advances each entry by `passes` one-millisecond passes up to tick `now` and draws it.
    void Apply(ColourBuffer& colours, int ledCount, uint32_t passes, uint32_t now);

private:
    struct Entry {
        LightSetting setting;
        uint8_t counter = 0;
        uint8_t breathPhase = 0;
        uint8_t hue = 0;
        bool blinkOn = false;
        uint32_t lastToggle = 0;
    };

    static void Step(Entry& entry, uint32_t passes, uint32_t now);
    static Rgba ColourOf(const Entry& entry);

    std::array<Entry, kLedSlots> entries_{};
    int size_ = 0;
    bool active_ = false;
};

}  // namespace lighting
