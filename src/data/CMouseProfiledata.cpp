// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CMouseProfiledata.h"

#include "data/HalfWords.h"
#include "data/JsonAccess.h"

namespace {

DpiStage ReadDpiStage(const Json::Value& element) {
    return {JsonAccess::ReadByte(element, "StageActive"),
            JsonAccess::ReadByte(element, "StageXY"),
            static_cast<uint16_t>(JsonAccess::ReadInt(element, "StageDPIX")),
            static_cast<uint16_t>(JsonAccess::ReadInt(element, "StageDPIY")),
            JsonAccess::ReadByte(element, "StageColorR"),
            JsonAccess::ReadByte(element, "StageColorG"),
            JsonAccess::ReadByte(element, "StageColorB")};
}

}  // namespace

std::vector<DpiStage> CMouseProfiledata::GetDpiStages() {
    const Json::Value& dpi = JsonAccess::Member(ConstSection(), "DPIStages");
    if (!dpi.isNull()) {
        activeDpiStage_ = JsonAccess::ReadInt(dpi, "StageActive");
        const Json::Value& stages = JsonAccess::Member(dpi, "StageDPIs");
        if (JsonAccess::IsArray(stages)) {
            for (Json::ArrayIndex j = 0; j < stages.size(); ++j) {
                const DpiStage stage = ReadDpiStage(stages[j]);
                if (j < dpiStages_.size())
                    dpiStages_[j] = stage;
                else
                    dpiStages_.push_back(stage);
            }
        }
    }
    return dpiStages_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& stages) {
    dpiStages_ = stages;
    Json::Value& list =
        JsonAccess::WritableMember(JsonAccess::WritableMember(Section(), "DPIStages"), "StageDPIs");
    for (Json::ArrayIndex i = 0; i < stages.size(); ++i) {
        Json::Value& element = JsonAccess::WritableElement(list, i);
        const DpiStage& stage = stages[i];
        JsonAccess::WritableMember(element, "StageActive") = stage.enabled;
        JsonAccess::WritableMember(element, "StageXY") = stage.separateXY;
        JsonAccess::WritableMember(element, "StageDPIX") = stage.x;
        JsonAccess::WritableMember(element, "StageDPIY") = stage.y;
        JsonAccess::WritableMember(element, "StageColorR") = stage.red;
        JsonAccess::WritableMember(element, "StageColorG") = stage.green;
        JsonAccess::WritableMember(element, "StageColorB") = stage.blue;
    }
}

void CMouseProfiledata::SetActiveDpiStage(int stage) {
    activeDpiStage_ = stage;
    JsonAccess::WritableMember(JsonAccess::WritableMember(Section(), "DPIStages"), "StageActive") =
        stage;
}

std::array<uint32_t, 3> CMouseProfiledata::GetMouseSystemStages() {
    const Json::Value& stages = JsonAccess::Member(ConstSection(), "SystemStages");
    systemStages_ = {};
    if (!stages.isNull()) {
        const Json::Value& report = JsonAccess::Member(ConstSection(), "ReportStages");
        systemStages_ = {HalfWords::Read(stages, "DoubleClickTime", "MouseSpeed"),
                         HalfWords::Read(stages, "PointerPrecision", "ScorllPage"),
                         HalfWords::Pack(JsonAccess::ReadInt(stages, "WheelScorlllinse"),
                                         JsonAccess::ReadInt(report, "StageActive"))};
    }
    return systemStages_;
}

void CMouseProfiledata::SetMouseSystemStages(uint32_t word0, uint32_t word1, uint32_t word2) {
    systemStages_ = {word0, word1, word2};
    Json::Value& stages = JsonAccess::WritableMember(Section(), "SystemStages");
    HalfWords::Write(stages, "DoubleClickTime", "MouseSpeed", word0);
    HalfWords::Write(stages, "PointerPrecision", "ScorllPage", word1);
    JsonAccess::WritableMember(stages, "WheelScorlllinse") = HalfWords::Low(word2);
    JsonAccess::WritableMember(JsonAccess::WritableMember(Section(), "ReportStages"),
                               "StageActive") = HalfWords::High(word2);
}

std::vector<CorrectEntry> CMouseProfiledata::GetCorrectList() {
    correctList_.clear();
    const Json::Value& list = JsonAccess::Member(ConstSection(), "CorrectInfo");
    if (JsonAccess::IsArray(list)) {
        for (const Json::Value& element : list) {
            correctList_.push_back({JsonAccess::ReadByte(element, "CorrectPixThresh"),
                                    JsonAccess::ReadByte(element, "CorrectMinSq"),
                                    JsonAccess::ReadByte(element, "CorrectSelect"),
                                    JsonAccess::ReadText(element, "CorrectName")});
        }
    }
    return correctList_;
}
