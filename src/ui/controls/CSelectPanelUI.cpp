// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CSelectPanelUI.h"

#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace ui {

std::string CSelectPanelUI::GetClass() const {
    return "SelectPanel";
}

void* CSelectPanelUI::GetInterface(std::string_view name) {
    if (name == "SelectPanel") return this;
    return CVerticalLayoutUI::GetInterface(name);
}

void CSelectPanelUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case EventType::ButtonDown:
            if (IsEnabled()) {
                m_bArmed = true;
                m_bSelecting = false;
                m_ptStart = event.ptMouse;
                m_ptCurrent = event.ptMouse;
            }
            return;
        case EventType::MouseMove:
            if (m_bArmed) {
                m_bSelecting = true;
                m_ptCurrent = event.ptMouse;
                m_rcSelection = Rect::Spanning(m_ptStart, m_ptCurrent);
                Invalidate();
            }
            return;
        case EventType::ButtonUp:
            m_bArmed = false;
            if (m_bSelecting) FinishSelection();
            return;
        default:
            CVerticalLayoutUI::DoEvent(event);
            return;
    }
}

void CSelectPanelUI::FinishSelection() {
    m_bSelecting = false;
    for (CControlUI* child : m_items) {
        if (child->GetClass() != "DeviceKeyButton") continue;
        auto* key = static_cast<CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton"));
        if (key == nullptr) continue;
        // A hidden key keeps the rectangle of its last layout; it is not where the user
        // dragged, so it cannot be part of the selection.
        key->SetSelectedByArea(key->IsVisible() && key->GetPos().Intersects(m_rcSelection));
    }
    NeedUpdate();
    Invalidate();
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "click_select_end");
}

void CSelectPanelUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    CVerticalLayoutUI::DoPaint(target, paint);
    if (!m_bSelecting || m_rcSelection.IsEmpty()) return;
    Rect shown = m_rcSelection.Intersect(m_rcItem);
    if (shown.IsEmpty()) return;
    target.FillRect(shown, kSelectionFill);
    target.DrawRect(shown, 1, kSelectionFrame);
}

}  // namespace ui
