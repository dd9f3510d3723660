// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state and behaviour every list element shares, whatever control class it derives
// from: index, owner, selected and hot flags, the common mouse and key handling, and the
// item background and text drawing in the owner's item colours.
#include <string>

#include "ui/IListItemUI.h"
#include "ui/IListOwnerUI.h"
#include "ui/TEventUI.h"

namespace ui {

class CControlUI;
class IRenderTarget;

class CListItemState {
public:
    int index = -1;
    IListOwnerUI* owner = nullptr;
    bool selected = false;
    bool hot = false;

    // Selection as IListItemUI::Select does it, for `self`.
    bool Select(CControlUI& self, bool select, bool triggerEvent);
    // The common handling: click selects ("itemclick"), double click and Return activate,
    // hover sets the hot flag, other keys go to the owner. True when handled.
    bool HandleEvent(CControlUI& self, TEventUI& event);
    // Background by state (selected, hot, disabled, normal) and the separating line.
    void DrawItemBk(CControlUI& self, IRenderTarget& target, const Rect& rc);
    // Text by state in the owner's item font and colours.
    void DrawItemText(CControlUI& self, IRenderTarget& target, const Rect& rc,
                      const std::string& text);
};

}  // namespace ui
