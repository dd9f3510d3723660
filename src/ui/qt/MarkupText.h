// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simple markup labels may carry: {b}bold{/b}, {i}..{/i}, {u}..{/u}, {s}..{/s}
// (strike-out), {c #AARRGGBB}colour{/c}, {f 2}font of id 2{/f} and {n} for a line break.
// The same tags in angle brackets (<b>, <c #FF0000>, <n>) are read alike. Anything that is
// not one of these tags is text, so a stray brace or "<3" shows as typed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/UIDefs.h"

namespace ui::qt {

struct MarkupRun {
    std::string text;  // empty for a line break
    bool lineBreak = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::optional<Color> color;  // none: the label's colour
    int fontId = -1;             // -1: the label's font
};

class MarkupText {
public:
    static std::vector<MarkupRun> Parse(std::string_view text);
    // The text without its tags (line breaks as '\n').
    static std::string PlainText(std::string_view text);
};

}  // namespace ui::qt
