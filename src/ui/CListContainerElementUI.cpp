// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CListContainerElementUI.h"

#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

std::string CListContainerElementUI::GetClass() const { return "ListContainerElement"; }

void* CListContainerElementUI::GetInterface(std::string_view name) {
    if (name == "ListItem") return static_cast<IListItemUI*>(this);
    if (name == "ListContainerElement") return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

unsigned CListContainerElementUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

bool CListContainerElementUI::Select(bool select, bool triggerEvent) {
    return m_item.Select(*this, select, triggerEvent);
}

void CListContainerElementUI::SetVisible(bool visible) {
    CHorizontalLayoutUI::SetVisible(visible);
    if (!IsVisible() && m_item.selected && m_item.owner != nullptr) {
        m_item.selected = false;
        m_item.owner->SelectItem(-1, false, false);
    }
}

bool CListContainerElementUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "itemactivate");
    return true;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type != EventType::KeyDown && event.Type != EventType::Timer &&
        event.Type != EventType::SetFocus && event.Type != EventType::KillFocus) {
        if (m_pParent != nullptr) m_pParent->DoEvent(event);
        return;
    }
    if (m_item.HandleEvent(*this, event)) return;
    CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    if (!paint.Intersects(m_rcItem)) return;
    DrawItemBk(target, m_rcItem);
    CHorizontalLayoutUI::DoPaint(target, paint);
}

void CListContainerElementUI::DrawItemBk(IRenderTarget& target, const Rect& rc) {
    m_item.DrawItemBk(*this, target, rc);
}

}  // namespace ui
