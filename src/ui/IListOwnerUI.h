// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What list items need from the list or combo that holds them: the shared item
// appearance and the selection.
#include <string>

#include "ui/UIDefs.h"

namespace ui {

class CControlUI;
struct TEventUI;

// Appearance of the items of a list or combo ("item..." attributes of the owner).
struct TListInfoUI {
    int nFont = -1;
    unsigned uTextStyle = DT_VCENTER | DT_SINGLELINE;
    Rect rcTextPadding;
    Color dwTextColor = 0xFF000000;
    Color dwBkColor = 0;
    std::string sBkImage;
    Color dwSelectedTextColor = 0xFF000000;
    Color dwSelectedBkColor = 0xFFC1E3FF;
    std::string sSelectedImage;
    Color dwHotTextColor = 0xFF000000;
    Color dwHotBkColor = 0xFFE9F5FF;
    std::string sHotImage;
    Color dwDisabledTextColor = 0xFFCCCCCC;
    Color dwDisabledBkColor = 0xFFFFFFFF;
    Color dwLineColor = 0;
    bool bShowHtml = false;
};

class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    // Selects item `index` (-1 clears the selection without notification). With
    // `triggerEvent`, raises "itemselect" (wParam = new index, lParam = old index) from the
    // owner. False when the item cannot be selected.
    virtual bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) = 0;
    // Key events the items do not use (navigation) come here.
    virtual void DoEvent(TEventUI& event) = 0;
    virtual CControlUI* GetOwnerControl() = 0;
};

}  // namespace ui
