// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CommandLookup.h"

#include "app/cli/CliRequest.h"
#include "platform/TerminalText.h"
#include "platform/TextCompare.h"

namespace app::cli {

namespace {

constexpr int kMaxIndex = 1000000;

// Both the names of the list and what was typed reach the terminal of whoever reads this.
std::string Quoted(const std::string& text) {
    return "'" + platform::EscapedForTerminal(text) + "'";
}

}  // namespace

Lookup FindProfile(const std::vector<std::string>& names, const std::string& wanted) {
    Lookup found;
    const int count = static_cast<int>(names.size());
    for (int i = 0; i < count; ++i) {
        if (names[i] == wanted) {
            found.index = i;
            return found;
        }
    }
    int matches = 0;
    for (int i = 0; i < count; ++i) {
        if (platform::EqualsNoCase(names[i], wanted)) {
            if (matches++ == 0) found.index = i;
        }
    }
    if (matches == 1) return found;
    if (matches > 1) {
        found.index = -1;
        found.error = "several profiles are called " + Quoted(wanted) +
                      " in different cases; give the exact name or the number ('profile list')";
        return found;
    }
    if (const auto index = ParseNumber(wanted, 0, kMaxIndex)) {
        if (*index < count) {
            found.index = *index;
            return found;
        }
        found.error = "there is no profile number " + wanted + " (the profiles are numbered 0 to " +
                      std::to_string(count - 1) + "; see 'profile list')";
        return found;
    }
    found.error = "there is no profile called " + Quoted(wanted) + "; see 'profile list'";
    return found;
}

Lookup FindMode(const std::vector<ModeName>& modes, const std::string& wanted) {
    Lookup found;
    const int count = static_cast<int>(modes.size());
    const auto refuse = [&](int index) {
        found.index = -1;
        found.error = "the lighting mode " + Quoted(wanted) + " (" + std::to_string(index) +
                      ") is not offered for this device";
        return found;
    };
    if (const auto number = ParseNumber(wanted, 0, kMaxIndex)) {
        if (*number >= count) {
            found.error = "the lighting mode " + wanted + " is out of range: modes go from 0 to " +
                          std::to_string(count - 1);
            return found;
        }
        if (!modes[static_cast<std::size_t>(*number)].offered) return refuse(*number);
        found.index = *number;
        return found;
    }
    for (int i = 0; i < count; ++i) {
        const ModeName& mode = modes[static_cast<std::size_t>(i)];
        if (platform::EqualsNoCase(mode.translated, wanted) ||
            platform::EqualsNoCase(mode.key, wanted)) {
            if (!mode.offered) return refuse(i);
            found.index = i;
            return found;
        }
    }
    found.error = "there is no lighting mode called " + Quoted(wanted) + "; the modes are:";
    for (int i = 0; i < count; ++i) {
        const ModeName& mode = modes[static_cast<std::size_t>(i)];
        if (mode.offered) found.error += "\n  " + std::to_string(i) + "  " + mode.translated;
    }
    return found;
}

}  // namespace app::cli
