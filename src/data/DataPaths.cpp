// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataPaths.h"

#include "platform/Paths.h"

std::filesystem::path DataPaths::DefaultDataDir() {
    return platform::DataDir() / "DefaultData" / "";
}

std::filesystem::path DataPaths::DefaultProfileFile(const std::string& kindFolder) {
    return DefaultDataDir() / (kindFolder + ".Json");
}

std::filesystem::path DataPaths::DefaultLightFile() {
    return DefaultDataDir() / "default_light.json";
}

std::filesystem::path DataPaths::ProfileFile(const std::string& kindFolder,
                                             const std::string& uuid) {
    if (!IsPlainFileName(uuid)) return {};
    return platform::UserDataDir(kindFolder) / (uuid + ".Json");
}

std::filesystem::path DataPaths::LightConfigFile(const std::string& kindFolder,
                                                 const std::string& lightListName) {
    return platform::UserDataDir(kindFolder) / (lightListName + ".config");
}

bool DataPaths::IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}
