// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One entry of the macro list file's "MacroInfo": the macro's display name and the
// identifier that names its macro file.
#include <string>

struct MacroInfo {
    std::string name;  // "MacroName"
    std::string guid;  // "Guid"

    bool operator==(const MacroInfo&) const = default;
};
