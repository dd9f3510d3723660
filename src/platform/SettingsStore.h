// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own settings (the chosen language and the like), kept in
// ConfigDir()/settings.json as string values by name; the file is created on first write.
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file = {});  // empty: the default file
    std::optional<std::string> Get(const std::string& name) const;
    bool Set(const std::string& name, const std::string& value);
    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace platform
