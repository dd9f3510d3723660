// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AttributeText.h"

#include <cctype>
#include <charconv>
#include <cstdint>

namespace ui::attr {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool EqualsAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

Color ParseColor(std::string_view text) {
    text = Trim(text);
    int base = 10;
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
        base = 16;
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc()) return 0;
    size_t digits = static_cast<size_t>(end - text.data());
    if (base == 16 && digits <= 6) value |= 0xFF000000u;
    return static_cast<Color>(value & 0xFFFFFFFFu);
}

bool ParseBool(std::string_view text) {
    text = Trim(text);
    if (EqualsAscii(text, "true")) return true;
    return ParseInt(text) != 0;
}

int ParseInt(std::string_view text) {
    text = Trim(text);
    // One sign only: "+-5" is not a number.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return 0;
    }
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) return text.front() == '-' ? INT32_MIN : INT32_MAX;
    if (ec != std::errc()) return 0;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int>(value);
}

Rect ParseRect(std::string_view text) {
    int parts[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        size_t comma = text.find(',');
        parts[i] = ParseInt(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return Rect{parts[0], parts[1], parts[2], parts[3]};
}

Size ParseSize(std::string_view text) {
    Rect r = ParseRect(text);
    return Size{r.left, r.top};
}

void ForEachAttribute(std::string_view list,
                      const std::function<void(std::string_view, std::string_view)>& visit) {
    size_t i = 0;
    const size_t n = list.size();
    while (i < n) {
        while (i < n && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
        size_t nameStart = i;
        while (i < n && list[i] != '=' && !std::isspace(static_cast<unsigned char>(list[i]))) ++i;
        std::string_view name = list.substr(nameStart, i - nameStart);
        while (i < n && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
        if (i >= n || list[i] != '=') return;
        ++i;
        while (i < n && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
        if (i >= n) {
            if (!name.empty()) visit(name, {});
            return;
        }
        std::string_view value;
        if (list[i] == '"' || list[i] == '\'') {
            char quote = list[i++];
            size_t close = list.find(quote, i);
            if (close == std::string_view::npos) return;
            value = list.substr(i, close - i);
            i = close + 1;
        } else {
            size_t start = i;
            while (i < n && !std::isspace(static_cast<unsigned char>(list[i]))) ++i;
            value = list.substr(start, i - start);
        }
        if (!name.empty()) visit(name, value);
    }
}

unsigned ParseAlign(std::string_view text, unsigned current, bool vertical) {
    text = Trim(text);
    if (vertical) {
        current &= ~(DT_VCENTER | DT_BOTTOM);
        if (EqualsAscii(text, "vcenter") || EqualsAscii(text, "center")) current |= DT_VCENTER;
        else if (EqualsAscii(text, "bottom")) current |= DT_BOTTOM;
        return current;
    }
    if (EqualsAscii(text, "wrap")) return (current & ~DT_SINGLELINE) | DT_WORDBREAK;
    current &= ~(DT_CENTER | DT_RIGHT);
    if (EqualsAscii(text, "center")) current |= DT_CENTER;
    else if (EqualsAscii(text, "right")) current |= DT_RIGHT;
    else if (EqualsAscii(text, "top")) current &= ~(DT_VCENTER | DT_BOTTOM);
    else if (EqualsAscii(text, "vcenter")) current = (current & ~DT_BOTTOM) | DT_VCENTER;
    else if (EqualsAscii(text, "bottom")) current = (current & ~DT_VCENTER) | DT_BOTTOM;
    return current;
}

}  // namespace ui::attr
