// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "updatetime.config" in the user's data folder: the local date of the last update check,
// {"updatelasttime": {"value": "2026-12-9"}} ("%d-%d-%d", no leading zeros).
#include <filesystem>
#include <string>

namespace update {

class UpdateDateFile {
public:
    static std::filesystem::path File();
    // Today's local date as the file writes it.
    static std::string Today();
    // The stored date; when there is none, `today` is written and returned.
    static std::string ReadOrCreate(const std::string& today);
    // False when the file could not be written.
    static bool Write(const std::string& date);
};

}  // namespace update
