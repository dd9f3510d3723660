// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AutomationJson.h"

#include <algorithm>
#include <charconv>

namespace app::automation {

namespace {

const Json::Value& Member(const Json::Value& command, const char* name) {
    if (!command.isMember(name)) throw CommandError(std::string("missing member ") + name);
    return command[name];
}

std::string Kind(const char* name, const char* kind) {
    return std::string("member ") + name + " must be " + kind;
}

}  // namespace

Json::Value Ok() {
    Json::Value answer(Json::objectValue);
    answer["ok"] = true;
    return answer;
}

Json::Value Error(const std::string& message) {
    Json::Value answer(Json::objectValue);
    answer["ok"] = false;
    answer["error"] = message;
    return answer;
}

bool Has(const Json::Value& command, const char* name) {
    return command.isMember(name);
}

std::string StringMember(const Json::Value& command, const char* name) {
    const Json::Value& value = Member(command, name);
    if (!value.isString()) throw CommandError(Kind(name, "a string"));
    return value.asString();
}

std::int64_t IntMember(const Json::Value& command, const char* name, std::int64_t min,
                       std::int64_t max) {
    const Json::Value& value = Member(command, name);
    // Rejects a bool (it would pass as 0 or 1) and a fraction (it would be cut): both are
    // script mistakes. A whole number written as 1.0 is still taken.
    if (!value.isInt64())
        throw CommandError(Kind(name, "an integer"));
    const std::int64_t number = value.asInt64();
    if (number < min || number > max) {
        throw CommandError(std::string("member ") + name + " must be between " +
                           std::to_string(min) + " and " + std::to_string(max));
    }
    return number;
}

std::int64_t IntMemberOr(const Json::Value& command, const char* name, std::int64_t fallback,
                         std::int64_t min, std::int64_t max) {
    return command.isMember(name) ? IntMember(command, name, min, max) : fallback;
}

bool BoolMember(const Json::Value& command, const char* name) {
    const Json::Value& value = Member(command, name);
    if (!value.isBool()) throw CommandError(Kind(name, "true or false"));
    return value.asBool();
}

bool BoolMemberOr(const Json::Value& command, const char* name, bool fallback) {
    return command.isMember(name) ? BoolMember(command, name) : fallback;
}

std::uint32_t ColorMember(const Json::Value& command, const char* name) {
    const Json::Value& value = Member(command, name);
    if (value.isString()) {
        const std::string written = value.asString();
        std::string_view text = written;
        if (text.starts_with('#'))
            text.remove_prefix(1);
        else if (text.starts_with("0x") || text.starts_with("0X"))
            text.remove_prefix(2);
        std::uint32_t colour = 0;
        const char* end = text.data() + text.size();
        auto [ptr, ec] = std::from_chars(text.data(), end, colour, 16);
        if (text.empty() || text.size() > 8 || ec != std::errc() || ptr != end)
            throw CommandError(Kind(name, "an ARGB colour such as \"#FF00FF00\""));
        return colour;
    }
    return static_cast<std::uint32_t>(IntMember(command, name, 0, 0xFFFFFFFFLL));
}

std::string Hex(std::span<const std::uint8_t> bytes, std::size_t padTo) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * std::max(bytes.size(), padTo));
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    for (std::size_t i = bytes.size(); i < padTo; ++i) text += "00";
    return text;
}

}  // namespace app::automation
