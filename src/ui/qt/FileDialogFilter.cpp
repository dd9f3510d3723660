// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/FileDialogFilter.h"

#include <cctype>

namespace ui::qt {

namespace {

std::string Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(std::string(text.substr(start, end == std::string_view::npos
                                                           ? std::string_view::npos
                                                           : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

// "Profile Files(*.json)" -> "Profile Files": the dialog shows the patterns itself.
std::string WithoutPatternGroup(const std::string& description) {
    std::string text = Trim(description);
    if (!text.empty() && text.back() == ')') {
        size_t open = text.rfind('(');
        if (open != std::string::npos && text.find('*', open) != std::string::npos)
            text = Trim(std::string_view(text).substr(0, open));
    }
    return text;
}

}  // namespace

std::vector<FileDialogFilterEntry> FileDialogFilter::Parse(std::string_view filter) {
    std::vector<FileDialogFilterEntry> entries;
    // "||" closes the list; what follows is not part of it.
    size_t end = filter.find("||");
    if (end != std::string_view::npos) filter = filter.substr(0, end);
    std::vector<std::string> parts = Split(filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileDialogFilterEntry entry;
        entry.description = WithoutPatternGroup(parts[i]);
        for (const std::string& pattern : Split(parts[i + 1], ';')) {
            std::string trimmed = Trim(pattern);
            if (!trimmed.empty()) entry.patterns.push_back(trimmed);
        }
        if (!entry.patterns.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::string> FileDialogFilter::ToQtFilters(std::string_view filter) {
    std::vector<std::string> filters;
    for (const FileDialogFilterEntry& entry : Parse(filter)) {
        std::string text = entry.description.empty() ? std::string() : entry.description + " ";
        text += '(';
        for (size_t i = 0; i < entry.patterns.size(); ++i) {
            if (i > 0) text += ' ';
            text += entry.patterns[i];
        }
        text += ')';
        filters.push_back(std::move(text));
    }
    return filters;
}

}  // namespace ui::qt
