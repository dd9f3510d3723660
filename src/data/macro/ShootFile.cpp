// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/macro/ShootFile.h"

#include <algorithm>
#include <string>

#include "data/JsonAccess.h"
#include "data/macro/MacroFile.h"

namespace {

constexpr int kTypeButton = 1;
constexpr int kTypeHorizontal = 4;
constexpr int kTypeVertical = 5;
constexpr int kLeftButton = 1;
constexpr int kPressDelay = 10;
constexpr int kMoveDelay = 5;

bool IsNumber(const Json::Value& value) {
    return value.isInt() || value.isUInt();
}

// One event of a pattern, or nothing when the element is not an event of the form the
// file has: integer "Type", "Button" and "Delay" ("Delay" may be its decimal text, as in
// a macro file) and an "Action" of "down" or "up".
std::optional<MacroEvent> EventOf(const Json::Value& element) {
    if (!JsonAccess::IsObject(element)) return std::nullopt;
    const Json::Value& type = JsonAccess::Member(element, "Type");
    const Json::Value& button = JsonAccess::Member(element, "Button");
    const Json::Value& action = JsonAccess::Member(element, "Action");
    const Json::Value& delay = JsonAccess::Member(element, "Delay");
    if (!IsNumber(type) || !IsNumber(button) || !action.isString()) return std::nullopt;
    if (action.asString() != "down" && action.asString() != "up") return std::nullopt;
    if (!IsNumber(delay) && !delay.isString()) return std::nullopt;
    MacroEvent event;
    event.type = JsonAccess::ToInt(type);
    event.button = JsonAccess::ToInt(button);
    event.down = action.asString() == "down";
    event.delay = MacroFile::ParseDelay(JsonAccess::ToText(delay));
    return event;
}

Json::Value JsonOf(const MacroEvent& event) {
    Json::Value element(Json::objectValue);
    element["Type"] = event.type;
    element["Button"] = event.button;
    element["Action"] = event.down ? "down" : "up";
    element["Delay"] = event.delay;
    return element;
}

bool IsShotIndex(int shot) {
    return shot >= 0 && shot < ShootFile::kShots;
}

}  // namespace

std::filesystem::path ShootFile::PathOf(const std::filesystem::path& folder, int slot) {
    return folder / ("ShootData_" + std::to_string(slot) + ".Shoot");
}

ShootFile::Pattern ShootFile::ReadPattern(const JsonDataFile& files,
                                          const std::filesystem::path& path) {
    Pattern pattern;
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    const Json::Value root = files.ReadJsonFile(path, status);
    if (status == JsonDataFile::ReadStatus::Missing) return pattern;
    return PatternOf(root);
}

bool ShootFile::IsPattern(const std::string& bytes) {
    Json::Value root;
    return JsonDataFile::ParseText(bytes, root) && PatternOf(root).status == Status::Ok;
}

ShootFile::Pattern ShootFile::PatternOf(const Json::Value& root) {
    Pattern pattern;
    pattern.status = Status::Malformed;
    const Json::Value& list = JsonAccess::Member(root, "Events");
    if (!JsonAccess::IsArray(list) || list.size() != static_cast<Json::ArrayIndex>(kEvents))
        return pattern;
    std::vector<MacroEvent> events;
    events.reserve(kEvents);
    for (const Json::Value& element : list) {
        const std::optional<MacroEvent> event = EventOf(element);
        if (!event) return pattern;
        events.push_back(*event);
    }
    pattern.status = Status::Ok;
    pattern.events = std::move(events);
    return pattern;
}

std::optional<ShootFile::Shot> ShootFile::ReadShot(const JsonDataFile& files,
                                                   const std::filesystem::path& path, int shot) {
    if (!IsShotIndex(shot)) return std::nullopt;
    const Pattern pattern = ReadPattern(files, path);
    if (pattern.status != Status::Ok) return std::nullopt;
    const MacroEvent& horizontal = pattern.events[shot * kEventsPerShot + 2];
    const MacroEvent& vertical = pattern.events[shot * kEventsPerShot + 3];
    Shot value;
    value.left = horizontal.down;
    value.x = horizontal.button;
    value.up = vertical.down;
    value.y = vertical.button;
    value.delay = vertical.delay;
    return value;
}

std::array<MacroEvent, ShootFile::kEventsPerShot> ShootFile::EventsOf(const Shot& shot) {
    const int x = std::clamp(shot.x, 0, kMaxDistance);
    const int y = std::clamp(shot.y, 0, kMaxDistance);
    const auto delay = static_cast<uint16_t>(std::clamp(shot.delay, 0, kMaxDelay));
    return {{
        {kTypeButton, kLeftButton, true, kPressDelay},
        {kTypeButton, kLeftButton, false, 0},
        {kTypeHorizontal, x, shot.left, kMoveDelay},
        {kTypeVertical, y, shot.up, delay},
        {kTypeHorizontal, 0, shot.left, 0},
        {kTypeVertical, 0, shot.up, 0},
    }};
}

bool ShootFile::WriteShot(const JsonDataFile& files, const std::filesystem::path& path, int shot,
                          const Shot& value) {
    if (!IsShotIndex(shot) || ReadPattern(files, path).status != Status::Ok) return false;
    Json::Value root = files.ReadJsonFile(path);
    Json::Value& list = root["Events"];
    const auto events = EventsOf(value);
    for (int i = 0; i < kEventsPerShot; ++i) {
        // The members the file has beyond the four of an event stay as they were.
        Json::Value& element = list[static_cast<Json::ArrayIndex>(shot * kEventsPerShot + i)];
        const Json::Value written = JsonOf(events[static_cast<std::size_t>(i)]);
        for (const std::string& name : written.getMemberNames()) element[name] = written[name];
    }
    return files.WriteJsonFile(path, root);
}
