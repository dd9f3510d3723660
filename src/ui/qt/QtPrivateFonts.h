// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font files the program brings along in "Font/" beside it, made available to this
// process only for as long as the object lives. A file that is missing or not a font is
// skipped without a word: its faces then come from the system.
#include <filesystem>
#include <string>
#include <vector>

namespace ui::qt {

class QtPrivateFonts {
public:
    // The files, relative to the program folder, in the order they are loaded.
    static const std::vector<std::string>& Files();

    QtPrivateFonts() = default;
    ~QtPrivateFonts();  // removes them again, last loaded first
    QtPrivateFonts(const QtPrivateFonts&) = delete;
    QtPrivateFonts& operator=(const QtPrivateFonts&) = delete;

    // Loads the files from `dataDir`; returns how many were added.
    int Load(const std::filesystem::path& dataDir);
    void Unload();
    // The font families the loaded files provide.
    std::vector<std::string> Families() const;
    int Count() const { return static_cast<int>(m_ids.size()); }

private:
    std::vector<int> m_ids;
};

}  // namespace ui::qt
