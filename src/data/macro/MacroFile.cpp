// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/macro/MacroFile.h"

#include <cstdint>
#include <limits>

#include "data/DataPaths.h"
#include "data/JsonAccess.h"

std::filesystem::path MacroFile::PathOf(const std::filesystem::path& libraryFolder,
                                        std::string_view guid) {
    if (!DataPaths::IsPlainFileName(guid)) return {};
    return libraryFolder / (std::string(guid) + ".mac");
}

std::vector<MacroEvent> MacroFile::ReadEvents(const JsonDataFile& files,
                                              const std::filesystem::path& path) {
    std::vector<MacroEvent> events;
    if (path.empty()) return events;
    const Json::Value root = files.ReadJsonFile(path);
    const Json::Value& list = JsonAccess::Member(root, "Events");
    if (!JsonAccess::IsArray(list)) return events;
    events.reserve(list.size());
    for (const Json::Value& element : list) {
        MacroEvent event;
        event.type = JsonAccess::ReadInt(element, "Type");
        event.button = JsonAccess::ReadInt(element, "Button");
        event.down = JsonAccess::ReadText(element, "Action") == "down";
        event.delay = ParseDelay(JsonAccess::ReadText(element, "Delay"));
        events.push_back(event);
    }
    return events;
}

uint16_t MacroFile::ParseDelay(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    return static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFFFu);
}
