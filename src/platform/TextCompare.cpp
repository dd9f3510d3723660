// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextCompare.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>

namespace platform {

namespace {

// A fixed UTF-8 locale for case mapping, whatever the process locale is.
locale_t CaseLocale() {
    static locale_t locale = [] {
        locale_t l = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : ::newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return locale;
}

// Decodes one code point at `i`; an invalid sequence yields its first byte as
// 0x110000 + byte so that it never equals a real letter.
uint32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b0 = byte(i);
    size_t length = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (length == 1) {
        ++i;
        return b0;
    }
    if (length == 0 || i + length > s.size()) {
        ++i;
        return 0x110000u + b0;
    }
    uint32_t cp = b0 & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0x110000u + b0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0x110000u + b0;
    }
    i += length;
    return cp;
}

uint32_t Fold(uint32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp > 0x10FFFF) return cp;
    return static_cast<uint32_t>(::towlower_l(static_cast<wint_t>(cp), CaseLocale()));
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        uint32_t x = Fold(NextCodePoint(a, i));
        uint32_t y = Fold(NextCodePoint(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

std::string ToLowerUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        size_t start = i;
        uint32_t cp = NextCodePoint(text, i);
        if (cp > 0x10FFFF) {
            out.append(text.substr(start, i - start));
        } else {
            AppendUtf8(out, Fold(cp));
        }
    }
    return out;
}

}  // namespace platform
