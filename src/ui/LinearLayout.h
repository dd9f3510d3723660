// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one algorithm behind the vertical and horizontal layouts, written along a "main"
// axis (the stacking direction) and a "cross" axis.
#include <vector>

#include "ui/UIDefs.h"

namespace ui {

class CControlUI;

struct LinearLayoutInput {
    Rect area;            // content rectangle (container less inset)
    bool vertical = true;
    int childPadding = 0;
    unsigned align = 0;   // DT_ flags along the cross axis
    unsigned mainAlign = 0;  // DT_ flags along the main axis, used when nothing stretches
    Size scroll;          // scroll position
};

// Places every visible non-float child; returns the content's extent.
Size LayOutLinear(const std::vector<CControlUI*>& children, const LinearLayoutInput& in);

}  // namespace ui
