// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File-type filters as the program writes them: pairs of description and patterns joined
// by '|' and closed by "||" ("Profile Files(*.json)|*.json||", "(*.png) | *.png |(*.*)|*.*||"),
// patterns separated by ';'. Read into entries and written in the form Qt's dialogs take
// ("Profile Files (*.json)").
#include <string>
#include <string_view>
#include <vector>

namespace ui::qt {

struct FileDialogFilterEntry {
    std::string description;            // without the pattern group it may repeat
    std::vector<std::string> patterns;  // "*.json"
};

class FileDialogFilter {
public:
    static std::vector<FileDialogFilterEntry> Parse(std::string_view filter);
    // "Description (*.a *.b)" per entry; a pair without patterns is left out.
    static std::vector<std::string> ToQtFilters(std::string_view filter);
};

}  // namespace ui::qt
