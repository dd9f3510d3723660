// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading attribute values as layouts write them: colours ("#AARRGGBB", "#RRGGBB",
// "0xAARRGGBB", decimal), rectangles and sizes ("l,t,r,b", "w,h"), booleans ("true"),
// integers, and attribute lists (name="value" name2='value2').
#include <functional>
#include <string>
#include <string_view>

#include "ui/UIDefs.h"

namespace ui::attr {

// Six hex digits mean an opaque colour; eight carry their own alpha.
Color ParseColor(std::string_view text);
bool ParseBool(std::string_view text);  // "true" (any case) or a non-zero number
int ParseInt(std::string_view text);     // leading decimal digits (with sign); 0 if none
Rect ParseRect(std::string_view text);   // missing parts are 0
Size ParseSize(std::string_view text);
// Calls `visit` for each name="value" (or name='value') pair, in order. Unquoted values
// run to the next blank. Malformed tails are ignored.
void ForEachAttribute(std::string_view list,
                      const std::function<void(std::string_view name, std::string_view value)>& visit);
// Text alignment words ("left", "center", "right", "top", "vcenter", "bottom", "wrap")
// folded into DT_ flags over `current`.
unsigned ParseAlign(std::string_view text, unsigned current, bool vertical);

}  // namespace ui::attr
