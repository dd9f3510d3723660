// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CBasicProfiledata.h"

#include "data/DataPaths.h"
#include "data/JsonAccess.h"
#include "platform/Trace.h"

namespace {

// A section is usable only as an object; anything else in its place is damage.
const Json::Value& UsableSection(const Json::Value& root, int index) {
    const Json::Value& section = JsonAccess::Element(JsonAccess::Member(root, "Device"), index);
    static const Json::Value null;
    return JsonAccess::IsObject(section) ? section : null;
}

// Sets element [index] of the root's "Device", reshaping whatever stands in the way.
void PutSection(Json::Value& root, int index, const Json::Value& section) {
    JsonAccess::WritableElement(JsonAccess::WritableMember(root, "Device"),
                                static_cast<Json::ArrayIndex>(index)) = section;
}

LightSetting ReadLightListElement(const Json::Value& element) {
    LightSetting s;
    if (!JsonAccess::IsObject(element)) return s;
    s.mode = JsonAccess::ReadByte(element, "LEDREGMode");
    s.brightness = JsonAccess::ReadByte(element, "LEDBrightness");
    s.speed = JsonAccess::ReadByte(element, "LEDSpeed");
    s.direction = JsonAccess::ReadFlag(element, "LEDDirection");
    s.multiColour = JsonAccess::ReadFlag(element, "LEDMultiColor");
    s.red = JsonAccess::ReadByte(element, "red");
    s.green = JsonAccess::ReadByte(element, "green");
    s.blue = JsonAccess::ReadByte(element, "blue");
    s.present = 1;
    return s;
}

LightStep ReadLightStep(const Json::Value& element) {
    LightStep step;
    step.mode = JsonAccess::ReadByte(element, "LEDREGMode");
    step.brightness = JsonAccess::ReadByte(element, "LEDBrightness");
    step.speed = JsonAccess::ReadByte(element, "LEDSpeed");
    step.direction = JsonAccess::ReadByte(element, "LEDDirection");
    step.multiColour = JsonAccess::ReadByte(element, "LEDMultiColor");
    step.red = JsonAccess::ReadByte(element, "red");
    step.green = JsonAccess::ReadByte(element, "green");
    step.blue = JsonAccess::ReadByte(element, "blue");
    step.timeMs = JsonAccess::ReadInt(element, "Time");
    step.repeatCount = JsonAccess::ReadInt(element, "Cyle");
    return step;
}

}  // namespace

void CBasicProfiledata::SetProfilePath(const std::filesystem::path& path) {
    if (!path.empty()) profilePath_ = path;
}

void CBasicProfiledata::SetDefaultProfilePath(const std::filesystem::path& path) {
    if (!path.empty()) defaultProfilePath_ = path;
}

Json::Value CBasicProfiledata::LoadSection(const std::filesystem::path& path) {
    using Outcome = LoadReport::Outcome;
    lastLoad_ = LoadReport{Outcome::Loaded, path, {}};
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    Json::Value root = jsonFile_.ReadJsonFile(path, status);
    section_ = UsableSection(root, deviceIndex_);
    if (!section_.isNull() || !JsonAccess::IsWritableIndex(deviceIndex_)) return section_;

    section_ = UsableSection(jsonFile_.ReadJsonFile(defaultProfilePath_), deviceIndex_);
    // The default file itself is shipped and never written.
    const bool isDefaultFile = !defaultProfilePath_.empty() &&
                               path.lexically_normal() == defaultProfilePath_.lexically_normal();
    if (isDefaultFile) return section_;
    if (status == JsonDataFile::ReadStatus::Unreadable) {
        lastLoad_.outcome = Outcome::Kept;
        return section_;
    }
    // Something the user had that is not a section: the file goes aside before the
    // defaults take its place. An empty slot in a good file is simply filled.
    const Json::Value& stored =
        JsonAccess::Element(JsonAccess::Member(root, "Device"), deviceIndex_);
    const bool damaged = status == JsonDataFile::ReadStatus::Invalid ||
                         (status == JsonDataFile::ReadStatus::Ok &&
                          (!JsonAccess::IsObject(root) || !stored.isNull() ||
                           !(JsonAccess::Member(root, "Device").isNull() ||
                             JsonAccess::IsArray(JsonAccess::Member(root, "Device")))));
    if (damaged) {
        lastLoad_.copy = jsonFile_.KeepCopy(path);
        if (lastLoad_.copy.empty()) {
            lastLoad_.outcome = Outcome::Kept;
            return section_;
        }
        lastLoad_.outcome = Outcome::Replaced;
    } else {
        lastLoad_.outcome = Outcome::Created;
    }
    if (!JsonAccess::IsObject(root)) root = Json::Value(Json::objectValue);
    PutSection(root, deviceIndex_, section_);
    jsonFile_.WriteJsonFile(path, root);
    return section_;
}

LightSetting CBasicProfiledata::GetLightInfo() {
    const Json::Value& info = JsonAccess::Member(section_, "LightInfo");
    if (info.isNull()) return lightSetting_;
    LightSetting s;
    s.mode = JsonAccess::ReadByte(info, "SelectItem");
    s.brightness = JsonAccess::ReadByte(info, "Light");
    s.speed = JsonAccess::ReadByte(info, "Speed");
    s.direction = JsonAccess::ReadByte(info, "Fx");
    s.multiColour = JsonAccess::ReadFlag(info, "MultiColor");
    s.red = JsonAccess::ReadByte(info, "Red");
    s.green = JsonAccess::ReadByte(info, "Green");
    s.blue = JsonAccess::ReadByte(info, "Blue");
    s.zzccMode = JsonAccess::ReadByte(info, "ZZCCLedMode");
    s.customGroup = JsonAccess::ReadByte(info, "CustomGroup");
    lightSetting_ = s;
    return s;
}

void CBasicProfiledata::SetLightInfo(uint32_t word0, uint32_t word1, uint32_t word2,
                                     uint32_t word3) {
    lightSetting_ = LightSetting::FromWords(word0, word1, word2, word3);
    const LightSetting& s = lightSetting_;
    Json::Value info(Json::objectValue);
    info["SelectItem"] = s.mode;
    info["Light"] = s.brightness;
    info["Speed"] = s.speed;
    info["Fx"] = s.direction;
    info["MultiColor"] = s.multiColour != 0 ? 1 : 0;
    info["Red"] = s.red;
    info["Green"] = s.green;
    info["Blue"] = s.blue;
    info["ZZCCLedMode"] = s.zzccMode;
    info["CustomGroup"] = s.customGroup;
    JsonAccess::WritableMember(section_, "LightInfo") = info;
}

std::vector<LightSetting> CBasicProfiledata::GetLightList() {
    lightList_.clear();
    const Json::Value& list = JsonAccess::Member(section_, "LightList");
    if (JsonAccess::IsArray(list))
        for (const Json::Value& element : list) lightList_.push_back(ReadLightListElement(element));
    return lightList_;
}

std::vector<KeyMapping> CBasicProfiledata::GetKeyList() {
    keyList_.clear();
    const Json::Value& list = JsonAccess::Member(section_, "KeyList");
    if (!JsonAccess::IsArray(list)) return keyList_;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const auto position = static_cast<uint16_t>(i);
        const auto current = static_cast<uint32_t>(JsonAccess::ReadInt(list[i], "Assignment"));
        const auto defaults =
            static_cast<uint32_t>(JsonAccess::ReadInt(list[i], "DefaultAssignment"));
        keyList_.push_back({KeyAssignment::FromPacked(position, current),
                            KeyAssignment::FromPacked(position, defaults)});
    }
    return keyList_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyMapping>& keys) {
    keyList_ = keys;
    Json::Value& list = JsonAccess::WritableMember(section_, "KeyList");
    for (Json::ArrayIndex i = 0; i < keys.size(); ++i) {
        Json::Value& element = JsonAccess::WritableElement(list, i);
        JsonAccess::WritableMember(element, "Assignment") =
            static_cast<Json::Int>(keys[i].current.Packed());
    }
}

Json::Value CBasicProfiledata::LoadLightConfig(const std::filesystem::path& path) {
    lightConfig_ = jsonFile_.ReadJsonFile(path);
    lightConfigFolder_ = path.parent_path();
    return lightConfig_;
}

std::vector<LightStep> CBasicProfiledata::LoadLightSteps() {
    lightSteps_.clear();
    const int index = lightSetting_.mode - kFirstCustomMode;
    if (!lightConfig_.isNull() && index >= 0) {
        const Json::Value& programs =
            JsonAccess::Element(JsonAccess::Member(lightConfig_, "LightInfo"), lightListIndex_);
        const std::string guid = JsonAccess::ReadText(JsonAccess::Element(programs, index), "Guid");
        // The name comes from a user-editable file: it must name a file beside the
        // config, not a path of its own.
        if (DataPaths::IsPlainFileName(guid)) {
            const Json::Value program =
                jsonFile_.ReadJsonFile(lightConfigFolder_ / (guid + ".light"));
            const Json::Value& steps = JsonAccess::Member(program, "LEDEffectList");
            if (JsonAccess::IsArray(steps))
                for (const Json::Value& element : steps)
                    lightSteps_.push_back(ReadLightStep(element));
        } else if (!guid.empty()) {
            platform::TraceF("light program name refused: %s\n", guid.c_str());
        }
    }
    return lightSteps_;
}

bool CBasicProfiledata::Save() {
    // The defaults in memory after a load that could not touch the file are no reason to
    // write over what the user has there.
    if (lastLoad_.outcome == LoadReport::Outcome::Kept &&
        lastLoad_.file.lexically_normal() == profilePath_.lexically_normal())
        return false;
    return SaveSection(section_, profilePath_);
}

bool CBasicProfiledata::SaveSection(const Json::Value& section, const std::filesystem::path& path) {
    if (!JsonAccess::IsWritableIndex(deviceIndex_)) return false;
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    Json::Value root = jsonFile_.ReadJsonFile(path, status);
    if (status == JsonDataFile::ReadStatus::Unreadable) return false;
    if (status == JsonDataFile::ReadStatus::Invalid && jsonFile_.KeepCopy(path).empty())
        return false;
    if (!JsonAccess::IsObject(root)) root = Json::Value(Json::objectValue);
    PutSection(root, deviceIndex_, section);
    return WriteFile(root, path);
}

bool CBasicProfiledata::WriteFile(const Json::Value& value, const std::filesystem::path& path) {
    return jsonFile_.WriteJsonFile(path, value);
}
