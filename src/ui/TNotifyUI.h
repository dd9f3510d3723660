// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A notification raised by a control: its type ("click", "selectchanged", ...), the control
// that raised it and two numbers whose meaning the type defines.
#include <cstdint>
#include <string>

#include "ui/UIDefs.h"

namespace ui {

class CControlUI;

struct TNotifyUI {
    std::string sType;
    std::string sVirtualWnd;  // the sender's virtual window, routed by CNotifyPump
    CControlUI* pSender = nullptr;
    std::int64_t dwTimestamp = 0;  // loop clock, milliseconds
    Point ptMouse;                 // last mouse position in the window
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Receives every notification of a paint manager it is added to.
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

}  // namespace ui
