// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CTabLayoutUI.h"

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"

namespace ui {

std::string CTabLayoutUI::GetClass() const { return "TabLayout"; }

void* CTabLayoutUI::GetInterface(std::string_view name) {
    if (name == "TabLayout") return this;
    return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (index < 0) index = 0;
    if (index > GetCount()) index = GetCount();
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel < 0) {
        m_iCurSel = index;
        control->SetVisible(true);
    } else {
        if (index <= m_iCurSel) ++m_iCurSel;
        control->SetVisible(false);
    }
    if (m_iPendingSel >= 0 && m_iPendingSel < GetCount()) {
        int pending = m_iPendingSel;
        m_iPendingSel = -1;
        SelectItem(pending);
    }
    return true;
}

bool CTabLayoutUI::RemoveAt(int index, bool doNotDestroy) {
    if (GetItemAt(index) == nullptr) return false;
    if (!CContainerUI::RemoveAt(index, doNotDestroy)) return false;
    if (GetCount() == 0) {
        m_iCurSel = -1;
    } else if (index == m_iCurSel) {
        m_iCurSel = -1;
        SelectItem(index < GetCount() ? index : GetCount() - 1);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == m_iCurSel && GetItemAt(index)->IsOwnVisible()) return true;
    m_iCurSel = index;
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
    // A hidden page must not keep the keyboard focus.
    if (m_pManager != nullptr) {
        CControlUI* focus = m_pManager->GetFocus();
        if (focus != nullptr && !focus->IsVisible()) m_pManager->SetFocus(nullptr);
    }
    NeedUpdate();
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page) { return SelectItem(GetItemIndex(page)); }

void CTabLayoutUI::SetPos(const Rect& rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    Rect content = ContentRect();
    for (CControlUI* item : m_items) {
        if (item->IsFloat()) {
            SetFloatPos(item);
            continue;
        }
        if (!item->IsVisible()) continue;
        item->SetPos(content.Deflate(item->GetPadding()), false);
    }
}

void CTabLayoutUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selectedid") {
        int index = attr::ParseInt(value);
        if (!SelectItem(index)) m_iPendingSel = index;
    }
    else CContainerUI::SetAttribute(name, value);
}

}  // namespace ui
