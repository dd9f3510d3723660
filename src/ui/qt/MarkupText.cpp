// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/MarkupText.h"

#include <cctype>

#include "ui/AttributeText.h"

namespace ui::qt {

namespace {

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::vector<Color> colors;
    std::vector<int> fonts;
};

std::string_view TrimTag(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Applies one tag body ("b", "/c", "c #FF0000") to the style; false when it is no tag of ours.
bool ApplyTag(std::string_view body, Style& style, bool& lineBreak) {
    body = TrimTag(body);
    if (body.empty()) return false;
    const bool closing = body.front() == '/';
    if (closing) body = TrimTag(body.substr(1));
    const char name = static_cast<char>(std::tolower(static_cast<unsigned char>(body.front())));
    std::string_view arg = TrimTag(body.substr(1));
    // A tag name is one letter followed by nothing or by a blank and its argument.
    if (body.size() > 1 && !std::isspace(static_cast<unsigned char>(body[1]))) return false;
    switch (name) {
    case 'b': if (!arg.empty()) return false; style.bold = !closing; return true;
    case 'i': if (!arg.empty()) return false; style.italic = !closing; return true;
    case 'u': if (!arg.empty()) return false; style.underline = !closing; return true;
    case 's': if (!arg.empty()) return false; style.strikeOut = !closing; return true;
    case 'n':
        if (closing || !arg.empty()) return false;
        lineBreak = true;
        return true;
    case 'c':
        if (closing) {
            if (!arg.empty()) return false;
            if (!style.colors.empty()) style.colors.pop_back();
            return true;
        }
        if (arg.empty()) return false;
        style.colors.push_back(attr::ParseColor(arg));
        return true;
    case 'f':
        if (closing) {
            if (!arg.empty()) return false;
            if (!style.fonts.empty()) style.fonts.pop_back();
            return true;
        }
        if (arg.empty() || !std::isdigit(static_cast<unsigned char>(arg.front()))) return false;
        style.fonts.push_back(attr::ParseInt(arg));
        return true;
    default:
        return false;
    }
}

}  // namespace

std::vector<MarkupRun> MarkupText::Parse(std::string_view text) {
    std::vector<MarkupRun> runs;
    Style style;
    std::string pending;
    auto flush = [&] {
        if (pending.empty()) return;
        MarkupRun run;
        run.text = std::move(pending);
        pending.clear();
        run.bold = style.bold;
        run.italic = style.italic;
        run.underline = style.underline;
        run.strikeOut = style.strikeOut;
        if (!style.colors.empty()) run.color = style.colors.back();
        if (!style.fonts.empty()) run.fontId = style.fonts.back();
        runs.push_back(std::move(run));
    };
    size_t i = 0;
    while (i < text.size()) {
        const char open = text[i];
        if (open == '{' || open == '<') {
            const char close = open == '{' ? '}' : '>';
            size_t end = text.find(close, i + 1);
            if (end != std::string_view::npos) {
                Style next = style;
                bool lineBreak = false;
                if (ApplyTag(text.substr(i + 1, end - i - 1), next, lineBreak)) {
                    flush();
                    style = std::move(next);
                    if (lineBreak) {
                        MarkupRun br;
                        br.lineBreak = true;
                        runs.push_back(br);
                    }
                    i = end + 1;
                    continue;
                }
            }
        }
        if (open == '\n') {
            flush();
            MarkupRun br;
            br.lineBreak = true;
            runs.push_back(br);
        } else {
            pending += open;
        }
        ++i;
    }
    flush();
    return runs;
}

std::string MarkupText::PlainText(std::string_view text) {
    std::string plain;
    for (const MarkupRun& run : Parse(text)) plain += run.lineBreak ? std::string("\n") : run.text;
    return plain;
}

}  // namespace ui::qt
