// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding what a command names: a profile by its display name (any case) or its index, a
// lighting mode by its number or its name. Pure functions, so that the rules are tested
// without a window.
#include <string>
#include <vector>

namespace app::cli {

struct Lookup {
    int index = -1;     // found, or -1
    std::string error;  // for the user, when nothing was found
};

// A name equal to a profile's name wins (exactly first, then ignoring case, which must
// then be unambiguous); else a whole number is the index.
Lookup FindProfile(const std::vector<std::string>& names, const std::string& wanted);

struct ModeName {
    std::string key;         // the language key
    std::string translated;  // what the lighting page shows
    bool offered = true;     // hidden modes are not offered
};
// A number names the mode of that number; a name matches the shown name or the key, in
// any case. Modes the page does not offer are refused.
Lookup FindMode(const std::vector<ModeName>& modes, const std::string& wanted);

}  // namespace app::cli
