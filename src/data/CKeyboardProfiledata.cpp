// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CKeyboardProfiledata.h"

#include <algorithm>

#include "data/HalfWords.h"
#include "data/JsonAccess.h"

namespace {

Json::Value ColourElement(const CustomColour& colour) {
    Json::Value element(Json::objectValue);
    element["Red"] = colour.red;
    element["Green"] = colour.green;
    element["Blue"] = colour.blue;
    element["Alpha"] = colour.alpha;
    return element;
}

}  // namespace

std::array<uint32_t, 3> CKeyboardProfiledata::GetSystemStages() {
    const Json::Value& stages = JsonAccess::Member(ConstSection(), "SystemStages");
    systemStages_ = {};
    if (!stages.isNull()) {
        systemStages_ = {HalfWords::Read(stages, "Repeat", "RepeatDelay"),
                         HalfWords::Read(stages, "Key6Flag", "PollingRate"),
                         HalfWords::Read(stages, "WFlag", "WinFlag")};
    }
    return systemStages_;
}

void CKeyboardProfiledata::SetSystemStages(uint32_t word0, uint32_t word1, uint32_t word2) {
    systemStages_ = {word0, word1, word2};
    Json::Value& stages = JsonAccess::WritableMember(Section(), "SystemStages");
    HalfWords::Write(stages, "Repeat", "RepeatDelay", word0);
    HalfWords::Write(stages, "Key6Flag", "PollingRate", word1);
    HalfWords::Write(stages, "WFlag", "WinFlag", word2);
}

std::vector<CustomColour> CKeyboardProfiledata::GetCustomColours(int group, int count) {
    count = std::clamp(count, 0, JsonAccess::kMaxWriteIndex);
    customColours_.assign(static_cast<std::size_t>(count), CustomColour{});
    if (!JsonAccess::IsWritableIndex(group)) return customColours_;

    Json::Value& groups = JsonAccess::WritableMember(
        JsonAccess::WritableMember(Section(), "CustomLightMode"), "LightColorInfo");
    Json::Value& colours =
        JsonAccess::WritableElement(groups, static_cast<Json::ArrayIndex>(group));
    const Json::Value zero = ColourElement({});
    for (int j = 0; j < count; ++j) {
        Json::Value& element =
            JsonAccess::WritableElement(colours, static_cast<Json::ArrayIndex>(j));
        if (!JsonAccess::IsObject(element)) {
            element = zero;
            continue;
        }
        customColours_[static_cast<std::size_t>(j)] = {
            JsonAccess::ReadByte(element, "Red"), JsonAccess::ReadByte(element, "Green"),
            JsonAccess::ReadByte(element, "Blue"), JsonAccess::ReadByte(element, "Alpha")};
    }
    return customColours_;
}

void CKeyboardProfiledata::SetCustomColours(const std::vector<CustomColour>& colours, int group) {
    customColours_ = colours;
    if (!JsonAccess::IsWritableIndex(group)) return;
    Json::Value& groups = JsonAccess::WritableMember(
        JsonAccess::WritableMember(Section(), "CustomLightMode"), "LightColorInfo");
    Json::Value& elements =
        JsonAccess::WritableElement(groups, static_cast<Json::ArrayIndex>(group));
    for (std::size_t i = 0; i < colours.size(); ++i)
        JsonAccess::WritableElement(elements, static_cast<Json::ArrayIndex>(i)) =
            ColourElement(colours[i]);
}

int CKeyboardProfiledata::GetCustomGroupIndex() {
    customGroupIndex_ = JsonAccess::ReadInt(JsonAccess::Member(ConstSection(), "CustomLightMode"),
                                            "CustomLightModeGroupIndex");
    return customGroupIndex_;
}

void CKeyboardProfiledata::SetCustomGroupIndex(int group) {
    customGroupIndex_ = group;
    JsonAccess::WritableMember(JsonAccess::WritableMember(Section(), "CustomLightMode"),
                               "CustomLightModeGroupIndex") = group;
}
