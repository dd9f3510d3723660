// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/TextCompare.h"

namespace platform {

namespace {

// An ini file this program writes is a few lines; anything larger is not ours.
constexpr std::uintmax_t kMaxBytes = 1 << 20;

std::string_view TrimmedIniText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxBytes) return lines;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The section a line opens, if it is a section line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view t = TrimmedIniText(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    return TrimmedIniText(t.substr(1, t.size() - 2));
}

// The key of a "key=value" line, and where its value starts.
std::optional<std::pair<std::string_view, std::size_t>> KeyOf(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view t = TrimmedIniText(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
    return std::pair{TrimmedIniText(line.substr(0, eq)), eq + 1};
}

bool FitsOnALine(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : ReadLines(file_)) {
        if (auto name = SectionOf(line)) {
            inSection = EqualsNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (auto k = KeyOf(line); k && EqualsNoCase(k->first, key)) {
            return std::string(TrimmedIniText(std::string_view(line).substr(k->second)));
        }
    }
    return std::nullopt;
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
    if (!FitsOnALine(section) || !FitsOnALine(key) || !FitsOnALine(value) || key.empty() ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos) {
        return false;
    }
    std::vector<std::string> lines = ReadLines(file_);
    const std::string entry = std::string(key) + "=" + std::string(value);
    bool inSection = false;
    std::size_t sectionEnd = lines.size();
    bool found = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionOf(lines[i])) {
            if (inSection) {
                sectionEnd = i;
                break;
            }
            inSection = EqualsNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (auto k = KeyOf(lines[i]); k && EqualsNoCase(k->first, key)) {
            lines[i] = entry;
            found = true;
            break;
        }
    }
    if (!found) {
        if (!inSection) {
            // Appended piece by piece: GCC's -O3 sees a false overlap in "[" + section.
            std::string header(1, '[');
            header.append(section).push_back(']');
            lines.push_back(std::move(header));
            sectionEnd = lines.size();
        }
        // After the section's last non-empty line, so a blank line before the next stays.
        std::size_t at = sectionEnd;
        while (at > 0 && TrimmedIniText(lines[at - 1]).empty()) --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
    }
    std::string bytes;
    for (const std::string& line : lines) bytes.append(line).append("\r\n");
    return WriteFileAtomically(file_, bytes);
}

}  // namespace platform
