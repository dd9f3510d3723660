// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Utf8Text.h"

namespace ui::utf8 {

int Length(std::string_view text) {
    int count = 0;
    ForEachChar(text, [&count](std::string_view) { ++count; });
    return count;
}

size_t ByteOffset(std::string_view text, int position) {
    if (position <= 0) return 0;
    size_t offset = 0;
    int index = 0;
    ForEachChar(text, [&](std::string_view ch) {
        if (index < position) offset += ch.size();
        ++index;
    });
    return offset;
}

}  // namespace ui::utf8
