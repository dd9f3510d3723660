#pragma once
// The per-LED colour buffer: one RGBA entry per LED position, written by the light thread
// and read by the preview timer and the colour stream without a lock. Entries are single
// relaxed words, so a reader sees each LED's colour whole; positions outside the buffer
// are ignored on write and read as 0.
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
        if (Contains(position)) Set(position, Rgba(colour, Get(position).alpha));
    }
    void SetAlpha(int position, uint8_t alpha) {
        if (Contains(position)) Set(position, Rgba(Get(position).Colour(), alpha));
    }
    void Clear() {
        for (auto& entry : entries_) entry = 0u;
    }

    static constexpr bool Contains(int position) { return position >= 0 && position < kSize; }

private:
    std::array<Relaxed<uint32_t>, kSize> entries_{};
};

}  // namespace lighting
