// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-LED colour buffer: one RGBA entry per LED position, written by the light thread
// and read by the preview timer and the colour stream without a lock. Entries are single
// relaxed words, so a reader sees each LED's colour whole; positions outside the buffer
// are ignored on write and read as 0.
//
// In the custom-colour mode the light thread levels every entry while the UI thread paints
// the user's colours into the same entries. SetColour and SetAlpha therefore change only
// their own bytes, in one step: neither can write back what it read before the other's
// write, which would undo a colour the user has just set.
#include <array>
#include <cstdint>

#include "model/lighting/LayoutTables.h"
#include "model/lighting/Relaxed.h"
#include "model/lighting/Rgba.h"

namespace lighting {

class ColourBuffer {
public:
    static constexpr int kSize = kLedSlots;

    void Set(int position, Rgba colour) {
        if (Contains(position)) entries_[position] = colour.ToWord();
    }
    Rgba Get(int position) const {
        return Contains(position) ? Rgba::FromWord(entries_[position]) : Rgba{};
    }
    // Keeps the entry's alpha; for colours that are painted now and levelled later.
    void SetColour(int position, Rgb colour) {
        if (!Contains(position)) return;
        entries_[position].update(
            [colour](uint32_t word) { return Rgba(colour, Rgba::FromWord(word).alpha).ToWord(); });
    }
    void SetAlpha(int position, uint8_t alpha) {
        if (!Contains(position)) return;
        entries_[position].update(
            [alpha](uint32_t word) { return Rgba(Rgba::FromWord(word).Colour(), alpha).ToWord(); });
    }
    void Clear() {
        for (auto& entry : entries_) entry = 0u;
    }

    static constexpr bool Contains(int position) { return position >= 0 && position < kSize; }

private:
    std::array<Relaxed<uint32_t>, kSize> entries_{};
};

}  // namespace lighting
