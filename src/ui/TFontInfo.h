// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A font of a paint manager's font table, addressed by id in layouts ("font" attribute).
#include <string>

namespace ui {

struct TFontInfo {
    std::string sFontName;
    int iSize = 12;  // pixels at 96 DPI
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    bool bShared = false;
};

}  // namespace ui
