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

}  // namespace

bool IsHiddenControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

std::string WithoutHiddenControls(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = DecodeAt(text, i);
        const std::size_t length = d.length == 0 ? 1 : d.length;
        if (d.length == 0 || !IsHiddenControl(d.c)) kept.append(text.substr(i, length));
        i += length;
    }
    return kept;
}

std::string EscapedForJson(std::string_view json) {
    std::string shown;
    shown.reserve(json.size());
    char escape[8];
    for (std::size_t i = 0; i < json.size();) {
        const Decoded d = DecodeAt(json, i);
        const std::size_t length = d.length == 0 ? 1 : d.length;
        if (d.length != 0 && IsHiddenControl(d.c)) {
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(d.c));
            shown += escape;
        } else {
            shown.append(json.substr(i, length));
        }
        i += length;
    }
    return shown;
}

std::string EscapedForTerminal(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    char escape[12];
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = DecodeAt(text, i);
        if (d.length == 0) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i]));
            shown += escape;
            ++i;
            continue;
        }
        if (IsHiddenControl(d.c)) {
            std::snprintf(escape, sizeof escape, d.c <= 0xFF ? "\\x%02X" : "\\u%04X",
                          static_cast<unsigned>(d.c));
            shown += escape;
        } else {
            shown.append(text.substr(i, d.length));
        }
        i += d.length;
    }
    return shown;
}

}  // namespace platform
