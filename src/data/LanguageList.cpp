// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/LanguageList.h"

#include "data/JsonAccess.h"

std::vector<LanguageEntry> LanguageList::Read(const JsonDataFile& files,
                                              const std::filesystem::path& path) {
    std::vector<LanguageEntry> entries;
    const Json::Value root = files.ReadJsonFile(path);
    const Json::Value& list = JsonAccess::Member(root, "Language");
    if (!JsonAccess::IsArray(list)) return entries;
    for (const Json::Value& item : list) {
        LanguageEntry entry;
        entry.name = JsonAccess::ReadText(item, "Language_name");
        entry.file = JsonAccess::ReadText(item, "Language_file");
        entry.id = JsonAccess::ReadInt(item, "Language_ID");
        entry.text = JsonAccess::ReadText(item, "Language_text");
        entries.push_back(std::move(entry));
    }
    return entries;
}
