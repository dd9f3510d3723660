// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "DefaultData/Language.config": the languages the program ships, in list order. One
// JSON object whose "Language" array holds {"Language_name", "Language_file",
// "Language_ID", "Language_text"} per language.
#include <filesystem>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"

struct LanguageEntry {
    std::string name;  // given to the skin library as the language name
    std::string file;  // the language file, relative to the skin folder
    int id = 0;        // what is saved as the choice
    std::string text;  // the entry in the settings window's list (may hold markup)
};

class LanguageList {
public:
    // The entries in file order; none when the file is missing, not JSON or has no
    // "Language" array. Members of the wrong kind read as empty texts and id 0.
    static std::vector<LanguageEntry> Read(const JsonDataFile& files,
                                           const std::filesystem::path& path);
};
