// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CListElementUI.h"

#include "ui/CPaintManagerUI.h"

namespace ui {

std::string CListElementUI::GetClass() const { return "ListElement"; }

void* CListElementUI::GetInterface(std::string_view name) {
    if (name == "ListItem") return static_cast<IListItemUI*>(this);
    if (name == "ListElement") return this;
    return CControlUI::GetInterface(name);
}

unsigned CListElementUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

bool CListElementUI::Select(bool select, bool triggerEvent) {
    return m_item.Select(*this, select, triggerEvent);
}

void CListElementUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    // A hidden element cannot stay the selection.
    if (!IsVisible() && m_item.selected && m_item.owner != nullptr) {
        m_item.selected = false;
        m_item.owner->SelectItem(-1, false, false);
    }
}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "itemactivate");
    return true;
}

void CListElementUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type != EventType::KeyDown && event.Type != EventType::Timer &&
        event.Type != EventType::SetFocus && event.Type != EventType::KillFocus) {
        if (m_pParent != nullptr) m_pParent->DoEvent(event);
        return;
    }
    if (m_item.HandleEvent(*this, event)) return;
    CControlUI::DoEvent(event);
}

void CListElementUI::DrawItemBk(IRenderTarget& target, const Rect& rc) {
    m_item.DrawItemBk(*this, target, rc);
}

}  // namespace ui
