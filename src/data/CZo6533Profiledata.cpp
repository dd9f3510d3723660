// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CZo6533Profiledata.h"

#include <algorithm>

#include "data/JsonAccess.h"

namespace {

constexpr std::array<const char*, 8> kSystemSetNames = {
    "MagicEnable", "MagicType",  "EqType",           "CustomEqSeletIndex",
    "MicInSelect", "MicInValue", "MicMoniterSelect", "MicMoniterValue"};

// -1 for the user-defined preset, which has no element of its own.
int EqElementFor(int preset) {
    if (preset == CZo6533Profiledata::kUserPreset) return -1;
    return preset >= 1 && preset <= 12 ? preset : 1;
}

}  // namespace

std::array<int32_t, 8> CZo6533Profiledata::GetSystemSetStages() {
    const Json::Value& stages = JsonAccess::Member(ConstSection(), "SystemSetStages");
    for (std::size_t i = 0; i < kSystemSetNames.size(); ++i)
        systemSetStages_[i] = JsonAccess::ReadInt(stages, kSystemSetNames[i]);
    return systemSetStages_;
}

void CZo6533Profiledata::SetSystemSetStages(const std::array<int32_t, 8>& values) {
    systemSetStages_ = values;
    Json::Value& stages = JsonAccess::WritableMember(Section(), "SystemSetStages");
    for (std::size_t i = 0; i < kSystemSetNames.size(); ++i)
        JsonAccess::WritableMember(stages, kSystemSetNames[i]) = values[i];
}

std::vector<int32_t> CZo6533Profiledata::GetEqBands(int preset) {
    const int element = EqElementFor(preset);
    if (element < 0) return {};
    return ReadBands("EQHzValueInfo", element);
}

void CZo6533Profiledata::SetEqBands(int preset, const std::vector<int32_t>& bands) {
    const int element = EqElementFor(preset);
    if (element >= 0) WriteBands("EQHzValueInfo", element, bands);
}

std::vector<std::string> CZo6533Profiledata::GetCustomEqNames() {
    std::vector<std::string> names;
    const Json::Value& list = JsonAccess::Member(ConstSection(), "CustomEQNameInfo");
    if (JsonAccess::IsArray(list))
        for (const Json::Value& element : list)
            names.push_back(JsonAccess::ReadText(element, "Name"));
    return names;
}

void CZo6533Profiledata::SetCustomEqNames(const std::vector<std::string>& names) {
    Json::Value list(Json::arrayValue);
    for (const std::string& name : names) {
        Json::Value element(Json::objectValue);
        element["Name"] = name;
        list.append(element);
    }
    JsonAccess::WritableMember(Section(), "CustomEQNameInfo") = list;
}

std::vector<int32_t> CZo6533Profiledata::GetCustomEqBands(int slot) {
    return ReadBands("CustomEQHzValueInfo", slot);
}

void CZo6533Profiledata::SetCustomEqBands(int slot, const std::vector<int32_t>& bands) {
    WriteBands("CustomEQHzValueInfo", slot, bands);
}

bool CZo6533Profiledata::GetVirtualSurround() {
    return JsonAccess::ReadInt(ConstSection(), "VirtualSurround") > 0;
}

void CZo6533Profiledata::SetVirtualSurround(bool on) {
    JsonAccess::WritableMember(Section(), "VirtualSurround") = on ? 1 : 0;
}

std::vector<int32_t> CZo6533Profiledata::ReadBands(const char* member, int element) {
    bands_.assign(kBandCount, 0);
    const Json::Value& preset =
        JsonAccess::Element(JsonAccess::Member(ConstSection(), member), element);
    if (JsonAccess::IsArray(preset)) {
        for (int i = 0; i < kBandCount; ++i)
            bands_[static_cast<std::size_t>(i)] =
                JsonAccess::ReadInt(JsonAccess::Element(preset, i), "value");
    } else if (JsonAccess::IsWritableIndex(element)) {
        // A preset the file does not have yet is filled in with flat bands.
        Json::Value& presets = JsonAccess::WritableMember(Section(), member);
        Json::Value& written =
            JsonAccess::WritableElement(presets, static_cast<Json::ArrayIndex>(element));
        written = Json::Value(Json::arrayValue);
        for (int i = 0; i < kBandCount; ++i) {
            Json::Value band(Json::objectValue);
            band["value"] = 0;
            written.append(band);
        }
    }
    return bands_;
}

void CZo6533Profiledata::WriteBands(const char* member, int element,
                                    const std::vector<int32_t>& bands) {
    if (!JsonAccess::IsWritableIndex(element)) return;
    Json::Value& presets = JsonAccess::WritableMember(Section(), member);
    Json::Value& preset =
        JsonAccess::WritableElement(presets, static_cast<Json::ArrayIndex>(element));
    const std::size_t count = std::min<std::size_t>(bands.size(), kBandCount);
    for (std::size_t i = 0; i < count; ++i) {
        Json::Value& band = JsonAccess::WritableElement(preset, static_cast<Json::ArrayIndex>(i));
        JsonAccess::WritableMember(band, "value") = bands[i];
    }
}
