// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse pad's settings copy: 21 bytes, read from the first 21 of the 26-byte block
// at offset index x 25 and written back at offset index x 64. Byte 0 is the active
// index, 1 mode, 2 brightness, 3 speed (held as the speed, kept by the pad as 4 - speed),
// 4 direction, 5 multi-colour, 6-8 red, green, blue; bytes 9-20 are the pad's own and go
// back as they came.
#include <array>
#include <cstdint>
#include <span>

#include "data/LightSetting.h"

namespace model {

class PadSettingsBlock {
public:
    static constexpr std::size_t kSize = 21;
    static constexpr std::size_t kReadSize = 26;
    static constexpr unsigned kReadStride = 25;
    static constexpr unsigned kWriteStride = 64;

    using Bytes = std::array<uint8_t, kSize>;

    const Bytes& Copy() const { return copy_; }
    uint8_t HeldSpeed() const { return copy_[3]; }

    // A block as read (at least kSize bytes), with the active index in byte 0.
    void TakeRead(uint8_t activeIndex, std::span<const uint8_t, kReadSize> block);
    // Mode, brightness, speed, multi-colour and colour of the current lighting.
    void TakeLight(const LightSetting& light);

    // The 21 bytes to write.
    Bytes ForWrite() const;

private:
    Bytes copy_{};
};

}  // namespace model
