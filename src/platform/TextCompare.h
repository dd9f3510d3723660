// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Case-insensitive comparison of names, for UTF-8 text: letters of any script compare
// by their lower-case form ("Ä" equals "ä"); bytes that are not valid UTF-8 compare as
// they are.
#include <string>
#include <string_view>

namespace platform {

bool EqualsNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);  // <0, 0, >0
std::string ToLowerUtf8(std::string_view text);

}  // namespace platform
