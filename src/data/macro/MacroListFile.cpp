// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/macro/MacroListFile.h"

#include "data/JsonAccess.h"

std::optional<std::vector<MacroInfo>> MacroListFile::Read(const JsonDataFile& files,
                                                          const std::filesystem::path& path) {
    JsonDataFile::ReadStatus status = JsonDataFile::ReadStatus::Ok;
    const Json::Value root = files.ReadJsonFile(path, status);
    if (status != JsonDataFile::ReadStatus::Ok) return std::nullopt;

    std::vector<MacroInfo> entries;
    const Json::Value& list = JsonAccess::Member(root, "MacroInfo");
    if (!JsonAccess::IsArray(list)) return entries;
    entries.reserve(list.size());
    for (const Json::Value& element : list)
        entries.push_back(
            {JsonAccess::ReadText(element, "MacroName"), JsonAccess::ReadText(element, "Guid")});
    return entries;
}
