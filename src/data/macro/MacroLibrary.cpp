// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/macro/MacroLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "data/JsonAccess.h"
#include "data/ProfileNames.h"
#include "data/macro/MacroFile.h"
#include "data/macro/MacroListFile.h"
#include "platform/AtomicFile.h"
#include "platform/TextCompare.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kList = "MacroInfo";
constexpr const char* kName = "MacroName";
constexpr const char* kGuid = "Guid";
constexpr const char* kEvents = "Events";

bool IsUsableList(const Json::Value& root) {
    return JsonAccess::IsObject(root) &&
           (!root.isMember(kList) || JsonAccess::IsArray(root[kList]));
}

Json::Value& EntriesOf(Json::Value& root) {
    Json::Value& entries = JsonAccess::WritableMember(root, kList);
    if (!JsonAccess::IsArray(entries)) entries = Json::Value(Json::arrayValue);
    return entries;
}

Json::Value EntryValue(const MacroInfo& entry) {
    Json::Value value(Json::objectValue);
    value[kName] = entry.name;
    value[kGuid] = entry.guid;
    return value;
}

bool NamesFile(const Json::Value& entries, const std::string& guid) {
    return std::any_of(entries.begin(), entries.end(), [&](const Json::Value& entry) {
        return JsonAccess::ReadText(entry, kGuid) == guid;
    });
}

bool IsInteger(const Json::Value& value) {
    return (value.type() == Json::intValue || value.type() == Json::uintValue) && value.isInt();
}

bool IsMacroEvent(const Json::Value& event) {
    if (!JsonAccess::IsObject(event)) return false;
    const Json::Value& action = event["Action"];
    return IsInteger(event["Type"]) && IsInteger(event["Button"]) && action.isString() &&
           (action.asString() == "down" || action.asString() == "up") && event["Delay"].isString();
}

}  // namespace

struct MacroLibrary::ListDocument {
    Json::Value root{Json::objectValue};
    // The file there is not a usable list: it is copied aside before it is replaced.
    bool keepCopyFirst = false;
};

MacroLibrary::MacroLibrary(fs::path folder) : folder_(std::move(folder)) {}

fs::path MacroLibrary::ListPath() const {
    return MacroListFile::PathIn(folder_);
}

std::vector<MacroInfo> MacroLibrary::Entries() const {
    return MacroListFile::Read(files_, ListPath()).value_or(std::vector<MacroInfo>{});
}

std::vector<std::string> MacroLibrary::Names(const std::vector<MacroInfo>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const MacroInfo& entry : entries) names.push_back(entry.name);
    return names;
}

std::string MacroLibrary::NewName(const std::vector<std::string>& names) {
    return ProfileNames::Numbered("macro_", names);
}

std::optional<MacroLibrary::ListDocument> MacroLibrary::ReadForChange() const {
    using Status = JsonDataFile::ReadStatus;
    Status status = Status::Ok;
    ListDocument list;
    list.root = files_.ReadJsonFile(ListPath(), status);
    // Something is there that cannot even be read: it must not be replaced blindly.
    if (status == Status::Unreadable) return std::nullopt;
    if (status == Status::Ok && IsUsableList(list.root)) return list;
    list.root = Json::Value(Json::objectValue);
    list.keepCopyFirst = status != Status::Missing;
    // The macros of a damaged list are still there as files: the change is made to them,
    // never to an empty list that would leave them out.
    if (list.keepCopyFirst) {
        Json::Value& entries = EntriesOf(list.root);
        for (const MacroInfo& entry : FindMacroFiles()) entries.append(EntryValue(entry));
    }
    return list;
}

std::vector<MacroInfo> MacroLibrary::FindMacroFiles() const {
    std::vector<MacroInfo> found;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder_, error)) {
        const fs::path& path = item.path();
        if (path.extension() != ".mac" || !fs::is_regular_file(item.symlink_status(error)))
            continue;
        const std::string guid = path.stem().string();
        if (MacroFile::PathOf(folder_, guid) != path) continue;
        JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
        const Json::Value document = files_.ReadJsonFile(path, status);
        if (status != JsonDataFile::ReadStatus::Ok || !IsMacroDocument(document)) continue;
        found.push_back({JsonAccess::ReadText(document, kName), guid});
    }
    std::sort(found.begin(), found.end(),
              [](const MacroInfo& a, const MacroInfo& b) { return a.guid < b.guid; });
    if (found.size() > static_cast<std::size_t>(kMaxMacros)) found.resize(kMaxMacros);
    // Names stay told apart as the editor keeps them: none empty, none twice.
    std::vector<std::string> names;
    for (MacroInfo& entry : found) {
        const bool taken = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return platform::EqualsNoCase(name, entry.name);
        });
        if (entry.name.empty() || taken) entry.name = NewName(names);
        names.push_back(entry.name);
    }
    return found;
}

fs::path MacroLibrary::RebuildDamagedList() const {
    std::optional<ListDocument> list = ReadForChange();
    if (!list || !list->keepCopyFirst) return {};
    const fs::path copy = files_.KeepCopy(ListPath());
    if (copy.empty()) return {};
    if (!files_.WriteJsonFile(ListPath(), list->root)) return {};
    return copy;
}

bool MacroLibrary::WriteList(const ListDocument& list) const {
    if (list.keepCopyFirst && files_.KeepCopy(ListPath()).empty()) return false;
    return files_.WriteJsonFile(ListPath(), list.root);
}

std::string MacroLibrary::NewIdentifier(const Json::Value& entries) const {
    // A file left from an entry removed by hand (or an identifier repeated when the clock
    // went back) must not be taken over.
    return files_.MakeFreeTimeStampName([&](const std::string& guid) {
        std::error_code error;
        const fs::path path = MacroFile::PathOf(folder_, guid);
        return path.empty() || NamesFile(entries, guid) ||
               fs::exists(fs::symlink_status(path, error));
    });
}

std::optional<MacroInfo> MacroLibrary::Add(const std::string& name) {
    std::optional<ListDocument> list = ReadForChange();
    if (!list) return std::nullopt;
    Json::Value& entries = EntriesOf(list->root);
    if (entries.size() >= static_cast<Json::ArrayIndex>(kMaxMacros)) return std::nullopt;
    MacroInfo entry{name, NewIdentifier(entries)};
    if (entry.guid.empty()) return std::nullopt;
    entries.append(EntryValue(entry));
    if (!WriteList(*list)) return std::nullopt;
    return entry;
}

bool MacroLibrary::Remove(int index) {
    std::optional<ListDocument> list = ReadForChange();
    if (!list) return false;
    Json::Value& entries = EntriesOf(list->root);
    if (index < 0 || static_cast<Json::ArrayIndex>(index) >= entries.size()) return false;
    const std::string guid = JsonAccess::ReadText(entries[index], kGuid);
    Json::Value removed;
    entries.removeIndex(static_cast<Json::ArrayIndex>(index), &removed);
    // The list goes first: should it fail, the macro is still there with its events.
    if (!WriteList(*list)) return false;

    const fs::path path = MacroFile::PathOf(folder_, guid);
    if (path.empty() || NamesFile(entries, guid)) return true;
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(path, error))) fs::remove(path, error);
    return true;
}

bool MacroLibrary::Rename(int index, const std::string& name) {
    std::optional<ListDocument> list = ReadForChange();
    if (!list) return false;
    Json::Value& entries = EntriesOf(list->root);
    if (index < 0 || static_cast<Json::ArrayIndex>(index) >= entries.size()) return false;
    JsonAccess::WritableMember(entries[index], kName) = name;
    return WriteList(*list);
}

bool MacroLibrary::SaveEvents(const std::string& guid, const std::string& name,
                              const std::vector<Json::Value>& events) const {
    const fs::path path = MacroFile::PathOf(folder_, guid);
    return !path.empty() && files_.WriteJsonFile(path, Document(name, guid, events));
}

std::vector<Json::Value> MacroLibrary::LoadEvents(const std::string& guid, bool* cut) const {
    std::vector<Json::Value> events;
    if (cut != nullptr) *cut = false;
    const fs::path path = MacroFile::PathOf(folder_, guid);
    if (path.empty()) return events;
    const Json::Value root = files_.ReadJsonFile(path);
    const Json::Value& list = JsonAccess::Member(root, kEvents);
    if (!JsonAccess::IsArray(list)) return events;
    for (const Json::Value& event : list) {
        if (!JsonAccess::IsObject(event)) continue;
        if (events.size() == kMaxLoadedEvents) {
            if (cut != nullptr) *cut = true;
            break;
        }
        events.push_back(event);
    }
    return events;
}

bool MacroLibrary::KeepCopyOf(const std::string& guid) const {
    const fs::path path = MacroFile::PathOf(folder_, guid);
    return !path.empty() && !files_.KeepCopy(path).empty();
}

MacroLibrary::ImportResult MacroLibrary::Import(const fs::path& source) const {
    using Status = JsonDataFile::ReadStatus;
    if (source.empty()) return {Transfer::Unreadable, {}};
    Status status = Status::Ok;
    const Json::Value document = files_.ReadJsonFile(source, status);
    if (status == Status::Missing || status == Status::Unreadable)
        return {Transfer::Unreadable, {}};
    if (!IsMacroDocument(document)) return {Transfer::NotAMacro, {}};
    const std::string bytes = files_.readjsonFile(source);
    if (bytes.empty()) return {Transfer::Unreadable, {}};

    std::optional<ListDocument> list = ReadForChange();
    if (!list) return {Transfer::NotWritten, {}};
    Json::Value& entries = EntriesOf(list->root);
    if (entries.size() >= static_cast<Json::ArrayIndex>(kMaxMacros))
        return {Transfer::LibraryFull, {}};
    std::vector<std::string> names;
    for (const Json::Value& entry : entries) names.push_back(JsonAccess::ReadText(entry, kName));
    const MacroInfo entry{NewName(names), NewIdentifier(entries)};
    const fs::path target = MacroFile::PathOf(folder_, entry.guid);
    if (target.empty() || !platform::WriteFileAtomically(target, bytes))
        return {Transfer::NotWritten, {}};

    std::error_code error;
    // The source was read twice and may have changed in between: the copy is what is kept,
    // so the copy is what must be a macro.
    if (!IsMacroDocument(files_.ReadJsonFile(target))) {
        fs::remove(target, error);
        return {Transfer::NotAMacro, {}};
    }
    entries.append(EntryValue(entry));
    if (!WriteList(*list)) {
        fs::remove(target, error);
        return {Transfer::NotWritten, {}};
    }
    return {Transfer::Done, entry};
}

MacroLibrary::Transfer MacroLibrary::Export(int index, const fs::path& target) const {
    const std::vector<MacroInfo> entries = Entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size())
        return Transfer::NoSuchMacro;
    const fs::path path = MacroFile::PathOf(folder_, entries[static_cast<std::size_t>(index)].guid);
    if (path.empty()) return Transfer::NoSuchMacro;
    const std::string bytes = files_.readjsonFile(path);
    if (bytes.empty()) {
        JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
        files_.ReadJsonFile(path, status);
        if (status == JsonDataFile::ReadStatus::Missing) return Transfer::NotSaved;
        return status == JsonDataFile::ReadStatus::Invalid ? Transfer::NotAMacro
                                                           : Transfer::Unreadable;
    }
    if (target.empty() || !platform::WriteFileAtomically(target, bytes))
        return Transfer::NotWritten;
    return Transfer::Done;
}

Json::Value MacroLibrary::Document(const std::string& name, const std::string& guid,
                                   const std::vector<Json::Value>& events) {
    Json::Value document(Json::objectValue);
    document[kName] = name;
    document[kGuid] = guid;
    Json::Value list(Json::arrayValue);
    for (const Json::Value& event : events) {
        if (!JsonAccess::IsObject(event)) continue;
        Json::Value stored = event;
        stored["Delay"] = DelayText(JsonAccess::ReadText(event, "Delay"));
        list.append(std::move(stored));
    }
    if (!list.empty()) document[kEvents] = std::move(list);
    document["Version"] = kVersion;
    return document;
}

bool MacroLibrary::IsMacroDocument(const Json::Value& document) {
    if (!JsonAccess::IsObject(document)) return false;
    if (!document.isMember(kEvents)) return true;
    const Json::Value& events = document[kEvents];
    return JsonAccess::IsArray(events) && std::all_of(events.begin(), events.end(), IsMacroEvent);
}

uint16_t MacroLibrary::ShownDelay(std::string_view text) {
    // strtol saturates instead of overflowing, so anything beyond the range is clamped.
    const std::string terminated(text);
    const long value = std::strtol(terminated.c_str(), nullptr, 10);
    return static_cast<uint16_t>(std::clamp<long>(value, 0, kMaxDelay));
}

std::string MacroLibrary::DelayText(std::string_view text) {
    return std::to_string(ShownDelay(text));
}
