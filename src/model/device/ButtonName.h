// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbered control names: a prefix ending in "_" and a decimal number ("key_12",
// "light_3"). Names are split at the last "_".
#include <optional>
#include <string>
#include <string_view>

namespace model {

struct ButtonName {
    std::string prefix;  // up to and including the last "_"
    int number = 0;

    // Nothing when the name has no "_" or no decimal number after it.
    static std::optional<ButtonName> Split(std::string_view name);
};

}  // namespace model
