// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the profile list names profiles it creates, so that no two names of one list are
// equal when letter case is ignored.
#include <string>
#include <string_view>
#include <vector>

class ProfileNames {
public:
    // Whether `name` equals one of `names`, letter case ignored.
    static bool Contains(const std::vector<std::string>& names, std::string_view name);
    // `prefix` followed by the smallest n >= 1 that makes a free name.
    static std::string Numbered(std::string_view prefix, const std::vector<std::string>& names);
    // "profile%d" with the smallest n >= 1 that is free.
    static std::string NewName(const std::vector<std::string>& names) {
        return Numbered("profile", names);
    }
    // `source` + " copy", with " copy" appended again while the name is taken.
    static std::string CopyName(std::string_view source, const std::vector<std::string>& names);
    // `name`, with "(1)", then "(2)", ... appended in turn while it is taken: A, A(1), A(1)(2).
    static std::string ImportName(std::string_view name, const std::vector<std::string>& names);
    // The name without white space at either end.
    static std::string Trimmed(std::string_view name);
    // A name the user typed: trimmed, without control characters (C0, C1) or the
    // characters that reorder text (bidirectional overrides and isolates).
    static std::string Accepted(std::string_view name);
    // A name read from a file, made fit for the list: as Accepted(), and at most
    // kMaxImportedLength characters. Empty when nothing is left.
    static std::string Cleaned(std::string_view name);

    static constexpr std::size_t kMaxImportedLength = 64;
};
