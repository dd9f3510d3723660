// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Limits on what the data files may hold before they are believed. A profile is a few
// hundred KiB at most; a file beyond these limits is hostile or damaged and reads as
// null, like a file that is not JSON. The value limit matters more than the byte
// limit: jsoncpp spends about 100 bytes of memory per value, so a 16 MiB array of
// zeros would cost some 800 MiB and seconds of parsing.
#include <json/json.h>

#include <cstddef>
#include <string_view>

class JsonInputGuard {
public:
    static constexpr std::size_t kMaxBytes = 16u << 20;
    static constexpr int kMaxDepth = 64;
    static constexpr std::size_t kMaxValues = 256u << 10;

    // Checks the raw text before it is parsed: valid UTF-8, nesting no deeper than
    // kMaxDepth, no more than about kMaxValues values. Returns nullptr when the text is
    // acceptable, else a short reason for the trace.
    static const char* CheckText(std::string_view text);

    // Checks what escapes could still smuggle in: every string and member name of the
    // parsed document must be valid UTF-8 ("\udc00" decodes to a lone surrogate), and no
    // member name may hold "\u0000", which the writer could not write back.
    static bool CheckStrings(const Json::Value& root);

    // Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
    static bool IsValidUtf8(std::string_view text);
};
