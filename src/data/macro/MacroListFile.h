// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro list file of a device kind's library: library folder + "macro.config", one
// JSON object whose "MacroInfo" array gives the macros in index order. A key that plays
// macro n plays entry n.
#include <filesystem>
#include <optional>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/macro/MacroInfo.h"

class MacroListFile {
public:
    static constexpr const char* kFileName = "macro.config";

    static std::filesystem::path PathIn(const std::filesystem::path& libraryFolder) {
        return libraryFolder / kFileName;
    }

    // The entries of "MacroInfo" in order; nothing when the file is missing, unreadable
    // or not JSON. A file without "MacroInfo" has no entries.
    static std::optional<std::vector<MacroInfo>> Read(const JsonDataFile& files,
                                                      const std::filesystem::path& path);
};
