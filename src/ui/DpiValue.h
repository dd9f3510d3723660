// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window scales the program supports: 48, 72, 96, 120, 144, 168 and 192 DPI (50 % to
// 200 % in steps of 25 %). Anything else is refused in favour of 96, with a trace line.
#include <string_view>

namespace ui {

class DpiValue {
public:
    static bool IsSupported(int dpi);
    // `dpi` when supported; else 96, after writing `errorLine` (if any) to the trace.
    static int Checked(int dpi, std::string_view errorLine = {});
    // The scale for a screen of that size: 144 on screens larger than 1500 x 960, else 96.
    static int ForScreen(int width, int height);
};

}  // namespace ui
