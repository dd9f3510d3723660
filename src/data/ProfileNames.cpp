// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ProfileNames.h"

#include <cstdio>

#include "platform/TerminalText.h"
#include "platform/TextCompare.h"

bool ProfileNames::Contains(const std::vector<std::string>& names, std::string_view name) {
    for (const std::string& other : names)
        if (platform::EqualsNoCase(other, name)) return true;
    return false;
}

std::string ProfileNames::Numbered(std::string_view prefix, const std::vector<std::string>& names) {
    // n names can block at most n numbers, so this ends by n + 1.
    for (std::size_t n = 1;; ++n) {
        std::string name(prefix);
        name += std::to_string(n);
        if (!Contains(names, name)) return name;
    }
}

std::string ProfileNames::CopyName(std::string_view source, const std::vector<std::string>& names) {
    std::string name = std::string(source) + " copy";
    while (Contains(names, name)) name += " copy";
    return name;
}

std::string ProfileNames::ImportName(std::string_view source,
                                     const std::vector<std::string>& names) {
    std::string name(source);
    for (int n = 1; Contains(names, name); ++n) {
        name += '(';
        name += std::to_string(n);
        name += ')';
    }
    return name;
}

std::string ProfileNames::Trimmed(std::string_view name) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    };
    while (!name.empty() && blank(name.front())) name.remove_prefix(1);
    while (!name.empty() && blank(name.back())) name.remove_suffix(1);
    return std::string(name);
}

std::string ProfileNames::Accepted(std::string_view name) {
    return Trimmed(platform::WithoutHiddenControls(name));
}

std::string ProfileNames::Cleaned(std::string_view raw) {
    const std::string name = platform::WithoutHiddenControls(raw);
    std::string kept;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        // A character starts at every byte that is not a continuation byte.
        if ((byte & 0xC0) != 0x80 && ++characters > kMaxImportedLength) break;
        kept.push_back(name[i]);
    }
    return Trimmed(kept);
}
