// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminalText.h"

#include <cstdint>
#include <cstdio>

namespace platform {

namespace {

// The character at `text[i]` and its length in bytes; length 0 for a byte that does not
// start a well-formed UTF-8 sequence.
struct Decoded {
    char32_t c = 0;
    std::size_t length = 0;
};

Decoded DecodeAt(std::string_view text, std::size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) return {byte, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((byte & 0xE0) == 0xC0) {
        length = 2, c = byte & 0x1F, least = 0x80;
    } else if ((byte & 0xF0) == 0xE0) {
        length = 3, c = byte & 0x0F, least = 0x800;
    } else if ((byte & 0xF8) == 0xF0) {
        length = 4, c = byte & 0x07, least = 0x10000;
    } else {
        return {};
    }
    if (i + length > text.size()) return {};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return {};
        c = (c << 6) | (next & 0x3F);
    }
    // Over-long forms and surrogates would let a control slip past as other bytes.
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
    return {c, length};
}

// `text` with every hidden control, and every byte that does not start a well-formed
// character, replaced by what `control` and `stray` make of it.
template <typename Control, typename Stray>
std::string Rewritten(std::string_view text, Control control, Stray stray) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = DecodeAt(text, i);
        if (d.length == 0) {
            result += stray(static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        if (IsHiddenControl(d.c))
            result += control(d.c);
        else
            result.append(text.substr(i, d.length));
        i += d.length;
    }
    return result;
}

std::string Formatted(const char* format, unsigned value) {
    char text[12];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Kept(unsigned char byte) { return std::string(1, static_cast<char>(byte)); }

}  // namespace

bool IsHiddenControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

std::string WithoutHiddenControls(std::string_view text) {
    return Rewritten(text, [](char32_t) { return std::string(); }, Kept);
}

std::string EscapedForJson(std::string_view json) {
    return Rewritten(json, [](char32_t c) { return Formatted("\\u%04X", static_cast<unsigned>(c)); }, Kept);
}

std::string EscapedForTerminal(std::string_view text) {
    return Rewritten(
        text,
        [](char32_t c) { return Formatted(c <= 0xFF ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c)); },
        [](unsigned char byte) { return Formatted("\\x%02X", byte); });
}

}  // namespace platform
