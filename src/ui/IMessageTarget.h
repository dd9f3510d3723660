// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Something the message loop delivers window messages to (a window).
#include <cstdint>

namespace ui {

class IMessageTarget {
public:
    virtual ~IMessageTarget() = default;
    virtual std::intptr_t HandleLoopMessage(unsigned msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) = 0;
};

}  // namespace ui
