// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's profile section: the shared parts plus DPI stages, system settings,
// report rate and the pointer-correction presets.
#include <array>
#include <cstdint>
#include <vector>

#include "data/CBasicProfiledata.h"
#include "data/CorrectEntry.h"
#include "data/DpiStage.h"

class CMouseProfiledata : public CBasicProfiledata {
public:
    // "DPIStages". The file's stages overwrite the stored ones from the start; stored
    // stages beyond the file's count stay. Also takes the file's "StageActive".
    std::vector<DpiStage> GetDpiStages();
    void SetDpiStages(const std::vector<DpiStage>& stages);

    // The stored index; not read from the section.
    int GetActiveDpiStage() const { return activeDpiStage_; }
    void SetActiveDpiStage(int stage);

    // "DoubleClickTime" | "MouseSpeed"<<16, "PointerPrecision" | "ScorllPage"<<16,
    // "WheelScorlllinse" | report-rate step<<16 (from "ReportStages"; 0 without it).
    std::array<uint32_t, 3> GetMouseSystemStages();
    void SetMouseSystemStages(uint32_t word0, uint32_t word1, uint32_t word2);

    // "CorrectInfo"; ships in the default profile and is never written.
    std::vector<CorrectEntry> GetCorrectList();

private:
    std::vector<DpiStage> dpiStages_;
    int activeDpiStage_ = 0;
    std::array<uint32_t, 3> systemStages_{};
    std::vector<CorrectEntry> correctList_;
};
