// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's system settings as the profile packs them, two 16-bit values per word,
// low half first: word 0 = Repeat | RepeatDelay << 16, word 1 = Key6Flag | PollingRate << 16,
// word 2 = WFlag | WinFlag << 16.
#include <array>
#include <cstdint>

namespace model {

struct SystemStages {
    std::array<uint32_t, 3> words{};

    static uint16_t Low(uint32_t word) { return static_cast<uint16_t>(word); }
    static uint16_t High(uint32_t word) { return static_cast<uint16_t>(word >> 16); }
    static uint32_t Pack(uint16_t low, uint16_t high) { return low | uint32_t{high} << 16; }

    uint16_t Repeat() const { return Low(words[0]); }
    uint16_t RepeatDelay() const { return High(words[0]); }
    uint16_t Key6Flag() const { return Low(words[1]); }
    uint16_t PollingRate() const { return High(words[1]); }
    uint16_t WFlag() const { return Low(words[2]); }
    uint16_t WinFlag() const { return High(words[2]); }

    void SetRepeat(uint16_t v) { words[0] = Pack(v, RepeatDelay()); }
    void SetRepeatDelay(uint16_t v) { words[0] = Pack(Repeat(), v); }
    void SetKey6Flag(uint16_t v) { words[1] = Pack(v, PollingRate()); }
    void SetPollingRate(uint16_t v) { words[1] = Pack(Key6Flag(), v); }
    void SetWFlag(uint16_t v) { words[2] = Pack(v, WinFlag()); }
    void SetWinFlag(uint16_t v) { words[2] = Pack(WFlag(), v); }

    bool operator==(const SystemStages&) const = default;
};

}  // namespace model
