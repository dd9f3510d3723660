// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/ButtonName.h"

#include <charconv>

namespace model {

std::optional<ButtonName> ButtonName::Split(std::string_view name) {
    const std::size_t cut = name.rfind('_');
    if (cut == std::string_view::npos) return std::nullopt;
    const std::string_view digits = name.substr(cut + 1);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return ButtonName{std::string(name.substr(0, cut + 1)), number};
}

}  // namespace model
