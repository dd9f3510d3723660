// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simple list element (a control that is an item of a list or combo). Activation
// (double click, Return, Activate()) raises "itemactivate"; a click raises "itemclick"
// and selects the element.
#include "ui/CControlUI.h"
#include "ui/CListItemState.h"

namespace ui {

class CListElementUI : public CControlUI, public IListItemUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    unsigned GetControlFlags() const override;

    int GetIndex() const override { return m_item.index; }
    void SetIndex(int index) override { m_item.index = index; }
    IListOwnerUI* GetOwner() override { return m_item.owner; }
    void SetOwner(IListOwnerUI* owner) override { m_item.owner = owner; }
    bool IsSelected() const override { return m_item.selected; }
    bool Select(bool select = true, bool triggerEvent = true) override;
    bool IsHot() const override { return m_item.hot; }

    void SetVisible(bool visible = true) override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    virtual void DrawItemBk(IRenderTarget& target, const Rect& rc);

protected:
    CListItemState m_item;
};

}  // namespace ui
