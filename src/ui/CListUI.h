// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scrolling vertical list of elements (CListLabelElementUI, CListContainerElementUI or
// subclasses). Elements are numbered in child order; the list keeps one selection.
// SelectItem raises "itemselect" from the list when asked to; up, down, home, end and page
// keys move the selection (with notification).
#include "ui/CVerticalLayoutUI.h"
#include "ui/IListOwnerUI.h"

namespace ui {

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
public:
    CListUI();

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    unsigned GetControlFlags() const override;

    // ---- IListOwnerUI
    TListInfoUI* GetListInfo() override { return &m_listInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) override;
    CControlUI* GetOwnerControl() override { return this; }

    // SelectItem without the scroll to the item (no layout): for many selections in a
    // row, scrolled once afterwards with EnsureVisible.
    bool SelectItemInPlace(int index);
    // The next selectable element from `index` in a direction (-1 when none).
    int FindSelectable(int index, bool forward) const;
    // Scrolls so that element `index` is fully in view.
    void EnsureVisible(int index);

    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;
    bool SetItemIndex(CControlUI* control, int index) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    // Items from `from` on learn their index and owner.
    void Renumber(int from = 0);

    TListInfoUI m_listInfo;
    int m_iCurSel = -1;
    bool m_bScrollToSelection = true;
};

// Reads the "item..." attributes shared by lists and combos; false for other names.
bool SetListInfoAttribute(TListInfoUI& info, std::string_view name, std::string_view value);

}  // namespace ui
