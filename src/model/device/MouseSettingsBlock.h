// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's settings block: read as 71 bytes at offset index x 128, written as its first
// 66 bytes at the same offset.
//
//   0      active profile (write: the caller's byte 0)   1  light mode (9 and above: 0)
//   2      brightness        3  speed (kept by the mouse as 4 - speed; see Encode)
//   4      direction         5  multi-colour    6-8  red, green, blue    9-10  0
//   11     report-rate step  12 current DPI stage   13  0
//   14+9i  DPI stage i (i = 0-4): enabled, separate X/Y, X low, high, Y low, high, r, g, b
//   59     1      60-61 screen width     62-63 screen height (little-endian)
//   64-65  the selected pointer correction: minimum square, pixel threshold
//   66-70  the mouse's own (read only)
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "data/CorrectEntry.h"
#include "data/DpiStage.h"
#include "data/LightSetting.h"

namespace model {

class MouseSettingsBlock {
public:
    static constexpr std::size_t kReadSize = 71;
    static constexpr std::size_t kWriteSize = 66;
    static constexpr unsigned kStride = 128;
    static constexpr int kDpiStages = 5;
    static constexpr uint8_t kFirstProgramMode = 9;

    using ReadBytes = std::array<uint8_t, kReadSize>;
    using WriteBytes = std::array<uint8_t, kWriteSize>;

    struct Source {
        uint8_t byte0 = 0;
        LightSetting light;
        std::vector<DpiStage> stages;  // the first five go out; missing ones are zeros
        int reportStep = 0;
        int activeStage = 0;
        std::vector<CorrectEntry> corrections;  // the first selected one goes out
        int byte59 = 1;
        int screenWidth = 0;
        int screenHeight = 0;
        // A mouse behind a receiver (kind 6) takes the speed as 4 - speed; a mouse of kind 2
        // takes it as it is. Both are read back as 4 - value.
        bool invertSpeed = false;
    };
    static WriteBytes Encode(const Source& source);

    // A block as read, with the active index; byte 9 is kept as 0.
    void TakeRead(uint8_t activeIndex, std::span<const uint8_t, kReadSize> block);
    // Mode, brightness, speed, multi-colour and colour of `held` replaced by the block's;
    // the direction and the rest stay as held.
    // `invertSpeed` as the block was written: the speed reads back the way it went out, so
    // that a read after the mouse's own change never turns the user's speed round.
    LightSetting LightOver(const LightSetting& held, bool invertSpeed) const;
    // Bytes 1-3 and 5-8 follow the current lighting.
    void TakeLight(const LightSetting& light);

    const ReadBytes& Copy() const { return copy_; }
    uint8_t ActiveIndex() const { return copy_[0]; }
    uint8_t ActiveDpiStage() const { return copy_[12]; }
    uint8_t ReportStep() const { return copy_[11]; }

private:
    ReadBytes copy_{};
};

}  // namespace model
