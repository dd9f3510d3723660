// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DpiValue.h"

#include "platform/Trace.h"

namespace ui {

bool DpiValue::IsSupported(int dpi) { return dpi >= 48 && dpi <= 192 && dpi % 24 == 0; }

int DpiValue::Checked(int dpi, std::string_view errorLine) {
    if (IsSupported(dpi)) return dpi;
    if (!errorLine.empty()) platform::Trace(errorLine);
    return 96;
}

int DpiValue::ForScreen(int width, int height) { return width > 1500 && height > 960 ? 144 : 96; }

}  // namespace ui
