// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ProfileListFile.h"

#include <algorithm>
#include <system_error>

#include "data/DataPaths.h"
#include "data/JsonAccess.h"

namespace {

constexpr const char* kList = "profilelist";
constexpr const char* kSelect = "profileselect";
constexpr const char* kName = "profilename";
constexpr const char* kUuid = "profileUUID";

const Json::Value& List(const Json::Value& document) {
    const Json::Value& list = JsonAccess::Member(document, kList);
    static const Json::Value empty(Json::arrayValue);
    return JsonAccess::IsArray(list) ? list : empty;
}

std::string Text(const Json::Value& value) {
    return value.isString() ? value.asString() : std::string();
}

}  // namespace

ProfileListFile::ProfileListFile(std::filesystem::path folder) : folder_(std::move(folder)) {}

JsonDataFile::ReadStatus ProfileListFile::Read() {
    using Status = JsonDataFile::ReadStatus;
    Status status = Status::Ok;
    document_ = files_.ReadJsonFile(Path(), status);
    const bool usable = status == Status::Ok && JsonAccess::IsObject(document_);
    writable_ = status != Status::Unreadable;
    keepCopyFirst_ = status == Status::Invalid || (status == Status::Ok && !usable);
    if (!usable) document_ = Json::Value();
    return usable ? Status::Ok : status;
}

bool ProfileListFile::Write() {
    if (!writable_) return false;
    if (keepCopyFirst_) {
        if (files_.KeepCopy(Path()).empty()) return false;
        keepCopyFirst_ = false;
    }
    return files_.WriteJsonFile(Path(), document_);
}

int ProfileListFile::IndexOfFile(const std::filesystem::path& file) const {
    for (int i = 0; i < Count(); ++i)
        if (ProfileFile(At(i).uuid) == file) return i;
    return -1;
}

int ProfileListFile::Count() const {
    return static_cast<int>(List(document_).size());
}

ProfileListFile::Entry ProfileListFile::At(int index) const {
    if (index < 0 || index >= Count()) return {};
    const Json::Value& element = List(document_)[static_cast<Json::ArrayIndex>(index)];
    if (!JsonAccess::IsObject(element)) return {};
    return {Text(element[kName]), Text(element[kUuid])};
}

std::vector<std::string> ProfileListFile::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < Count(); ++i) names.push_back(At(i).name);
    return names;
}

int ProfileListFile::Selected() const {
    const Json::Value& select = JsonAccess::Member(document_, kSelect);
    return select.isIntegral() ? JsonAccess::ToInt(select) : 0;
}

void ProfileListFile::SetSelected(int index) {
    if (!JsonAccess::IsObject(document_)) document_ = Json::Value(Json::objectValue);
    document_[kSelect] = index;
}

void ProfileListFile::Put(int index, const Entry& entry) {
    if (index < 0) return;
    Json::Value element(Json::objectValue);
    element[kName] = entry.name;
    element[kUuid] = entry.uuid;
    element["profileislink"] = 0;
    element["profilelinkmame"] = "";
    JsonAccess::WritableElement(JsonAccess::WritableMember(document_, kList),
                                static_cast<Json::ArrayIndex>(index)) = element;
}

void ProfileListFile::Remove(int index) {
    if (index < 0 || index >= Count()) return;
    Json::Value removed;
    document_[kList].removeIndex(static_cast<Json::ArrayIndex>(index), &removed);
}

void ProfileListFile::SetName(int index, const std::string& name) {
    if (index < 0 || index >= Count()) return;
    Json::Value& element = document_[kList][static_cast<Json::ArrayIndex>(index)];
    if (!JsonAccess::IsObject(element)) element = Json::Value(Json::objectValue);
    element[kName] = name;
}

void ProfileListFile::Clear() {
    document_ = Json::Value(Json::objectValue);
    document_[kList] = Json::Value(Json::arrayValue);
}

std::filesystem::path ProfileListFile::ProfileFile(const std::string& uuid) const {
    if (!DataPaths::IsPlainFileName(uuid)) return {};
    return folder_ / (uuid + ".Json");
}

std::vector<ProfileListFile::Entry> ProfileListFile::FindProfileFiles() const {
    std::vector<Entry> found;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder_, error)) {
        const std::filesystem::path& path = item.path();
        if (path.extension() != ".Json" || !item.is_regular_file(error)) continue;
        const Json::Value root = files_.ReadJsonFile(path);
        const std::string uuid = Text(JsonAccess::Member(root, kUuid));
        const std::string name = Text(JsonAccess::Member(root, kName));
        if (uuid.empty() || name.empty() || uuid != path.stem().string()) continue;
        found.push_back({name, uuid});
    }
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return a.uuid < b.uuid; });
    return found;
}
