// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's profile section: the shared parts plus system settings and the
// custom per-key colour groups.
#include <array>
#include <cstdint>
#include <vector>

#include "data/CBasicProfiledata.h"
#include "data/CustomColour.h"

class CKeyboardProfiledata : public CBasicProfiledata {
public:
    // "SystemStages" as three words: "Repeat" | "RepeatDelay"<<16, "Key6Flag" |
    // "PollingRate"<<16, "WFlag" | "WinFlag"<<16. All zero without "SystemStages".
    std::array<uint32_t, 3> GetSystemStages();
    void SetSystemStages(uint32_t word0, uint32_t word1, uint32_t word2);

    // Group `group` of "CustomLightMode"/"LightColorInfo", `count` colours. Missing
    // groups and colours are written into the section as zero colours. A group outside
    // 0..JsonAccess::kMaxWriteIndex-1 reads as zeros and is not written.
    std::vector<CustomColour> GetCustomColours(int group, int count);
    void SetCustomColours(const std::vector<CustomColour>& colours, int group);

    // "CustomLightModeGroupIndex" of "CustomLightMode"; 0 when missing.
    int GetCustomGroupIndex();
    void SetCustomGroupIndex(int group);

private:
    std::array<uint32_t, 3> systemStages_{};
    std::vector<CustomColour> customColours_;
    int customGroupIndex_ = 0;
};
