// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window of the platform that a CWndUI carries over its own rectangle. The renderer that
// creates such a window implements this; the control only places and shows it.
#include "ui/UIDefs.h"

namespace ui {

class INativeWindow {
public:
    virtual ~INativeWindow() = default;
    // The window it is a child of (0 for a top-level window).
    virtual WindowHandle GetParentWindow() const = 0;
    // Moves and sizes it (parent client pixels for a child, screen pixels otherwise)
    // without activating it or changing its z-order.
    virtual void Place(const Rect& rc) = 0;
    virtual void Show(bool show) = 0;
};

}  // namespace ui
