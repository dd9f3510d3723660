// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small vocabulary every automation command shares: answers, reading the members of
// a command with their kinds and ranges checked, and bytes as hex. A member that is
// missing or of the wrong kind throws CommandError, which the script runner turns into
// {"ok":false,"error":...}; the script then goes on.
#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace app {

class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace automation {

Json::Value Ok();
Json::Value Error(const std::string& message);

bool Has(const Json::Value& command, const char* name);
std::string StringMember(const Json::Value& command, const char* name);
std::int64_t IntMember(const Json::Value& command, const char* name, std::int64_t min,
                       std::int64_t max);
std::int64_t IntMemberOr(const Json::Value& command, const char* name, std::int64_t fallback,
                         std::int64_t min, std::int64_t max);
bool BoolMember(const Json::Value& command, const char* name);
bool BoolMemberOr(const Json::Value& command, const char* name, bool fallback);
// An ARGB colour: a number, or a hex string with an optional "#" or "0x" in front.
std::uint32_t ColorMember(const Json::Value& command, const char* name);

// Lower-case hex, two digits a byte; with `padTo`, zero bytes are added up to that length.
std::string Hex(std::span<const std::uint8_t> bytes, std::size_t padTo = 0);

}  // namespace automation
}  // namespace app
