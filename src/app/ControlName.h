// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the shell reads control names. A numbered control is a prefix ending in "_" and a
// decimal number ("polling_rate_option_2"); names compare without regard to case, except a
// few whose exact spelling the skin relies on.
#include <string_view>

namespace app {

struct ControlNameParts {
    bool hasPrefix = false;   // false: no "_" at all, the name only matches whole
    std::string_view prefix;  // up to and including the last "_"
    long n = 0;               // the number after it; 0 when no digits follow
};

// Splits at the last "_". The number is read as layout attributes read integers
// (ui::attr::ParseInt): leading blanks and a sign are allowed, digits stop at the first
// other character, and values beyond the range of an int are clamped to it.
ControlNameParts SplitControlName(std::string_view name);

enum class NameCase { Ignore, Exact };

// The case rule for a name as the routing tables list it.
NameCase CaseRuleFor(std::string_view tableName);

// Whether a sender's name (or prefix) equals a table's under the given case rule.
bool NameEquals(std::string_view sender, std::string_view tableName, NameCase rule);

}  // namespace app
