// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A classic sectioned ini file ("[SECTION]" lines and "KEY=value" lines), read and written
// one value at a time as the Windows profile functions do: writing a value keeps every
// other line of the file, adds the section or the key when missing, and replaces the file
// whole. Section and key names compare without regard to case.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class IniFile {
public:
    explicit IniFile(std::filesystem::path file) : file_(std::move(file)) {}

    // Nothing when the file, the section or the key is missing.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // False when the file could not be written, or a name or value would break a line.
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;
    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace platform
