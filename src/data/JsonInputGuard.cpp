// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/JsonInputGuard.h"

#include <cstdint>

namespace {

// Counts nesting and values on the raw text, stepping over strings and comments the
// way the parser will, so that a bracket inside a string or comment does not count.
const char* CheckStructure(std::string_view text) {
    int depth = 0;
    std::size_t values = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i++];
        switch (c) {
            case '"':
                while (i < n && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
                ++i;
                break;
            case '/':
                if (i < n && text[i] == '/') {
                    // The parser ends a line comment at a lone "\r" as well.
                    while (i < n && text[i] != '\n' && text[i] != '\r') ++i;
                } else if (i < n && text[i] == '*') {
                    const std::size_t end = text.find("*/", i + 1);
                    i = end == std::string_view::npos ? n : end + 2;
                }
                break;
            case '[':
            case '{':
                if (++depth > JsonInputGuard::kMaxDepth) return "nested too deep";
                [[fallthrough]];
            case ',':
                if (++values > JsonInputGuard::kMaxValues) return "too many values";
                break;
            case ']':
            case '}':
                if (depth > 0) --depth;
                break;
            default:
                break;
        }
    }
    return nullptr;
}

bool StringsValid(const Json::Value& value, int depth) {
    if (depth > JsonInputGuard::kMaxDepth) return false;
    switch (value.type()) {
        case Json::stringValue: {
            const char* begin = nullptr;
            const char* end = nullptr;
            value.getString(&begin, &end);
            return JsonInputGuard::IsValidUtf8(
                std::string_view(begin, static_cast<std::size_t>(end - begin)));
        }
        case Json::arrayValue:
            for (const Json::Value& element : value)
                if (!StringsValid(element, depth + 1)) return false;
            return true;
        case Json::objectValue:
            for (auto it = value.begin(); it != value.end(); ++it) {
                char const* end = nullptr;
                char const* begin = it.memberName(&end);
                const std::string_view name(begin, static_cast<std::size_t>(end - begin));
                // jsoncpp's writer cuts a member name at a zero character: written back,
                // "a\u0000b" would become "a", perhaps the name of another member.
                if (!JsonInputGuard::IsValidUtf8(name) || name.find('\0') != std::string_view::npos)
                    return false;
                if (!StringsValid(*it, depth + 1)) return false;
            }
            return true;
        default:
            return true;
    }
}

}  // namespace

const char* JsonInputGuard::CheckText(std::string_view text) {
    if (text.size() > kMaxBytes) return "too large";
    if (!IsValidUtf8(text)) return "not UTF-8";
    return CheckStructure(text);
}

bool JsonInputGuard::CheckStrings(const Json::Value& root) {
    return StringsValid(root, 0);
}

bool JsonInputGuard::IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        uint32_t code = 0;
        uint32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1Fu, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0Fu, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07u, minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p < length) return false;
        for (int k = 1; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80) return false;
            code = code << 6 | (p[k] & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        p += length;
    }
    return true;
}
