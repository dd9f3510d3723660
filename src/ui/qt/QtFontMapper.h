// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a font of a paint manager's table into a QFont. Sizes in the table are pixels at
// 96 DPI, so they grow with the window's scale; an empty face is the desktop's default.
#include <QFont>

#include "ui/TFontInfo.h"

namespace ui::qt {

class QtFontMapper {
public:
    static QFont ToQFont(const TFontInfo& font, int dpi);
    static int ScaledPixelSize(int size96, int dpi);
};

}  // namespace ui::qt
