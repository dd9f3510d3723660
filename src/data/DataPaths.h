// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the data files of a device kind live. The kind folder is the kind's type name
// ("keyboard", "mouse", "MousePad", "HD"). Defaults ship beside the program and are
// never written; the user's files live in the per-user data folder.
#include <filesystem>
#include <string>
#include <string_view>

class DataPaths {
public:
    // DataDir()/"DefaultData"/
    static std::filesystem::path DefaultDataDir();
    // DefaultDataDir()/kind + ".Json"
    static std::filesystem::path DefaultProfileFile(const std::string& kindFolder);
    // DefaultDataDir()/"default_light.json"
    static std::filesystem::path DefaultLightFile();
    // UserDataDir(kind)/uuid + ".Json"; empty when the uuid is not a plain file name,
    // since it comes from a user-editable list and must not lead out of the folder.
    static std::filesystem::path ProfileFile(const std::string& kindFolder,
                                             const std::string& uuid);
    // UserDataDir(kind)/lightListName + ".config" ("vexal_light.config")
    static std::filesystem::path LightConfigFile(const std::string& kindFolder,
                                                 const std::string& lightListName);

    // A name that stays inside the folder it is joined to: not empty, not "." or "..",
    // no path separator of either platform, no NUL.
    static bool IsPlainFileName(std::string_view name);
};
