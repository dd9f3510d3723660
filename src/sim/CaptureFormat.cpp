// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/CaptureFormat.h"

#include <cstdio>

namespace sim::capture {

namespace {

int Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool IsKindName(std::string_view kind) {
    return kind == "keyboard" || kind == "pad" || kind == "mouse" || kind == "mouse6" ||
           kind == "headset";
}

std::string HexOf(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> BytesOfHex(std::string_view text, std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ') {
            if (high >= 0) return std::nullopt;  // a space inside a byte
            continue;
        }
        const int d = Digit(c);
        if (d < 0) return std::nullopt;
        if (high < 0) {
            high = d;
            continue;
        }
        if (bytes.size() == maxBytes) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | d));
        high = -1;
    }
    if (high >= 0) return std::nullopt;
    return bytes;
}

std::string Hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

std::optional<std::uint16_t> Hex16Of(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        const int d = Digit(c);
        if (d < 0) return std::nullopt;
        value = value << 4 | static_cast<unsigned>(d);
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace sim::capture
