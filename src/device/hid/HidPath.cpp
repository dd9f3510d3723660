// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidPath.h"

#include <cctype>
#include <cstdio>

namespace device {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string HidPath::Make(std::string_view node, uint16_t vendorId, uint16_t productId,
                          int interfaceNumber, int collection) {
    char tokens[64];
    int n = std::snprintf(tokens, sizeof tokens, "#vid_%04x&pid_%04x", vendorId, productId);
    std::string path(node);
    path.append(tokens, static_cast<size_t>(n));
    if (interfaceNumber >= 0) {
        n = std::snprintf(tokens, sizeof tokens, "&mi_%02x", interfaceNumber & 0xFFFF);
        path.append(tokens, static_cast<size_t>(n));
    }
    if (collection > 0) {
        n = std::snprintf(tokens, sizeof tokens, "&col%02x", collection & 0xFFFF);
        path.append(tokens, static_cast<size_t>(n));
    }
    return path;
}

std::string_view HidPath::Node(std::string_view path) {
    auto hash = path.find('#');
    return hash == std::string_view::npos ? path : path.substr(0, hash);
}

uint16_t HidPath::ParseToken(std::string_view path, std::string_view token) {
    if (token.empty() || path.size() < token.size()) return 0;
    for (size_t at = 0; at + token.size() <= path.size(); ++at) {
        bool match = true;
        for (size_t i = 0; i < token.size() && match; ++i) {
            match = Lower(path[at + i]) == Lower(token[i]);
        }
        if (!match) continue;
        uint32_t value = 0;
        for (size_t i = at + token.size(); i < path.size(); ++i) {
            int digit = HexDigit(path[i]);
            if (digit < 0) break;
            value = (value << 4 | uint32_t(digit)) & 0xFFFFu;
        }
        return static_cast<uint16_t>(value);
    }
    return 0;
}

}  // namespace device
