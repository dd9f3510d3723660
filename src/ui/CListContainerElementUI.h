// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list element that holds controls, laid out left to right (the rows of the macro
// editor, update entries). Behaves as CListElementUI: a click selects it ("itemclick"),
// double click and Return raise "itemactivate", hover sets the hot flag.
#include "ui/CHorizontalLayoutUI.h"
#include "ui/CListItemState.h"

namespace ui {

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
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
    // For subclasses that track hover themselves.
    void SetHot(bool hot) { m_item.hot = hot; }

    void SetVisible(bool visible = true) override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(IRenderTarget& target, const Rect& paint) override;
    virtual void DrawItemBk(IRenderTarget& target, const Rect& rc);

protected:
    CListItemState m_item;
};

}  // namespace ui
