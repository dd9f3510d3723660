// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An image as the layouts write it: either a bare file name ("common/bk.png") or a list of
// attributes: file='x.png' source='l,t,r,b' dest='l,t,r,b' corner='l,t,r,b' fade='0..255'
// mask='#AARRGGBB' xtiled='true' ytiled='true' hole='true'.
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/UIDefs.h"

namespace ui {

struct TDrawInfo {
    std::string sDrawString;  // as written
    std::string sImageName;   // file, relative to the skin folder
    Rect rcSource;            // empty: the whole image
    Rect rcDest;              // empty: the whole destination; else relative to it
    Rect rcCorner;            // nine-patch corners
    std::uint8_t uFade = 255;
    Color dwMask = 0;
    bool bXTiled = false;
    bool bYTiled = false;
    bool bHole = false;

    bool IsEmpty() const { return sImageName.empty(); }
    static TDrawInfo Parse(std::string_view drawString);
};

}  // namespace ui
