// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The USB headset's profile section: the shared parts plus voice changer, microphone
// and monitor settings, and the equaliser presets.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/CBasicProfiledata.h"

class CZo6533Profiledata : public CBasicProfiledata {
public:
    static constexpr int kBandCount = 10;
    // The user-defined preset: its bands live in "CustomEQHzValueInfo", not "EQHzValueInfo".
    static constexpr int kUserPreset = 13;

    // "SystemSetStages": "MagicEnable", "MagicType", "EqType", "CustomEqSeletIndex",
    // "MicInSelect", "MicInValue", "MicMoniterSelect", "MicMoniterValue"; all 0 when missing.
    std::array<int32_t, 8> GetSystemSetStages();
    void SetSystemSetStages(const std::array<int32_t, 8>& values);

    // The ten bands of preset `preset` of "EQHzValueInfo" (preset 0 and presets above 13
    // share element 1; preset 13 has none: empty result, nothing written). Missing bands
    // are written into the section as 0.
    std::vector<int32_t> GetEqBands(int preset);
    // Writes up to ten bands; a shorter list writes only the bands it has.
    void SetEqBands(int preset, const std::vector<int32_t>& bands);

    std::vector<std::string> GetCustomEqNames();
    void SetCustomEqNames(const std::vector<std::string>& names);

    // The same as the preset bands, on element `slot` of "CustomEQHzValueInfo".
    std::vector<int32_t> GetCustomEqBands(int slot);
    void SetCustomEqBands(int slot, const std::vector<int32_t>& bands);

    // "VirtualSurround": the virtual surround switch, 0 off or 1 on. Missing reads as off,
    // any other number as on when positive, so that an edited file never sends the library
    // a value the switch cannot show.
    bool GetVirtualSurround();
    void SetVirtualSurround(bool on);

private:
    std::vector<int32_t> ReadBands(const char* member, int element);
    void WriteBands(const char* member, int element, const std::vector<int32_t>& bands);

    std::array<int32_t, 8> systemSetStages_{};
    std::vector<int32_t> bands_;
};
