// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Character-level helpers for UTF-8 text in edits (positions count characters).
#include <string>
#include <string_view>

namespace ui::utf8 {

int Length(std::string_view text);                       // characters
size_t ByteOffset(std::string_view text, int position);  // of character `position` (clamped)
// The characters of `text`, each as its own UTF-8 sequence.
template <class Visit>
void ForEachChar(std::string_view text, Visit visit) {
    size_t i = 0;
    while (i < text.size()) {
        size_t len = 1;
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0xF0) len = 4;
        else if (c >= 0xE0) len = 3;
        else if (c >= 0xC0) len = 2;
        if (i + len > text.size()) len = text.size() - i;
        visit(text.substr(i, len));
        i += len;
    }
}

}  // namespace ui::utf8
