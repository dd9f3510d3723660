// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names a device's lighting panel offers: the built-in mode names with their
// visible flags and the area names (from "default_light.json" in the default data
// folder), and the user's light programs (from the light list config). Each list is
// indexed by the device kind's light-list index: keyboard 0, mouse 1, mouse pad 2,
// headset 3.
#include <filesystem>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"

class LightNameLists {
public:
    std::vector<std::string> defaultNames;  // language keys of the mode names, by mode number
    std::vector<bool> defaultVisible;       // parallel to defaultNames
    std::vector<std::string> areaNames;
    std::vector<std::string> programNames;

    // Refills the lists of the kind at `lightListIndex`. A list whose part of the files
    // is missing keeps what it held, so a damaged file never empties the panel.
    void Load(const JsonDataFile& files, int lightListIndex,
              const std::filesystem::path& defaultLightFile,
              const std::filesystem::path& lightConfigFile);
};
