// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CListUI.h"

#include <algorithm>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IListItemUI.h"

namespace ui {

namespace {

IListItemUI* AsItem(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface("ListItem"))
                              : nullptr;
}

}  // namespace

bool SetListInfoAttribute(TListInfoUI& info, std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "itemfont") info.nFont = ParseInt(value);
    else if (name == "itemalign") info.uTextStyle = ParseAlign(value, info.uTextStyle, false);
    else if (name == "itemvalign") info.uTextStyle = ParseAlign(value, info.uTextStyle, true);
    else if (name == "itemtextpadding") info.rcTextPadding = ParseRect(value);
    else if (name == "itemtextcolor") info.dwTextColor = ParseColor(value);
    else if (name == "itembkcolor") info.dwBkColor = ParseColor(value);
    else if (name == "itembkimage") info.sBkImage = value;
    else if (name == "itemselectedtextcolor") info.dwSelectedTextColor = ParseColor(value);
    else if (name == "itemselectedbkcolor") info.dwSelectedBkColor = ParseColor(value);
    else if (name == "itemselectedimage") info.sSelectedImage = value;
    else if (name == "itemhottextcolor") info.dwHotTextColor = ParseColor(value);
    else if (name == "itemhotbkcolor") info.dwHotBkColor = ParseColor(value);
    else if (name == "itemhotimage") info.sHotImage = value;
    else if (name == "itemdisabledtextcolor") info.dwDisabledTextColor = ParseColor(value);
    else if (name == "itemdisabledbkcolor") info.dwDisabledBkColor = ParseColor(value);
    else if (name == "itemlinecolor") info.dwLineColor = ParseColor(value);
    else if (name == "itemshowhtml") info.bShowHtml = ParseBool(value);
    else return false;
    return true;
}

CListUI::CListUI() { m_bVScroll = true; }

std::string CListUI::GetClass() const { return "List"; }

void* CListUI::GetInterface(std::string_view name) {
    if (name == "List") return this;
    if (name == "IListOwner") return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

unsigned CListUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

void CListUI::Renumber(int from) {
    for (int i = std::max(from, 0); i < GetCount(); ++i) {
        if (IListItemUI* item = AsItem(GetItemAt(i))) {
            item->SetIndex(i);
            item->SetOwner(this);
        }
    }
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (!CVerticalLayoutUI::AddAt(control, index)) return false;
    int at = GetItemIndex(control);
    if (m_iCurSel >= at) ++m_iCurSel;
    // Only the items from the new one on move: appending a long list stays linear.
    Renumber(at);
    return true;
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) return false;
    if (IListItemUI* item = AsItem(control)) item->SetOwner(nullptr);
    if (!CVerticalLayoutUI::RemoveAt(index, doNotDestroy)) return false;
    if (index == m_iCurSel) m_iCurSel = -1;
    else if (index < m_iCurSel) --m_iCurSel;
    Renumber(index);
    return true;
}

void CListUI::RemoveAll() {
    for (CControlUI* control : m_items) {
        if (IListItemUI* item = AsItem(control)) item->SetOwner(nullptr);
    }
    m_iCurSel = -1;
    CVerticalLayoutUI::RemoveAll();
}

bool CListUI::SetItemIndex(CControlUI* control, int index) {
    CControlUI* selected = GetItemAt(m_iCurSel);
    if (!CVerticalLayoutUI::SetItemIndex(control, index)) return false;
    m_iCurSel = selected != nullptr ? GetItemIndex(selected) : -1;
    Renumber();
    return true;
}

bool CListUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
    if (index == m_iCurSel) return index >= 0;
    const int old = m_iCurSel;
    if (old >= 0) {
        if (IListItemUI* item = AsItem(GetItemAt(old))) {
            m_iCurSel = -1;
            item->Select(false, false);
        }
        m_iCurSel = -1;
    }
    if (index < 0) return false;
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = AsItem(control);
    if (item == nullptr || !control->IsVisible() || !control->IsEnabled()) return false;
    m_iCurSel = index;
    if (!item->Select(true, triggerEvent)) {
        m_iCurSel = -1;
        return false;
    }
    if (m_bScrollToSelection) EnsureVisible(index);
    if (takeFocus) control->SetFocus();
    if (triggerEvent && m_pManager != nullptr)
        m_pManager->SendNotify(this, "itemselect", static_cast<std::uintptr_t>(index), old);
    return true;
}

bool CListUI::SelectItemInPlace(int index) {
    m_bScrollToSelection = false;
    const bool selected = SelectItem(index, false, false);
    m_bScrollToSelection = true;
    return selected;
}

int CListUI::FindSelectable(int index, bool forward) const {
    const int count = GetCount();
    if (count == 0) return -1;
    index = std::clamp(index, 0, count - 1);
    for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
        CControlUI* control = GetItemAt(i);
        if (AsItem(control) != nullptr && control->IsVisible() && control->IsEnabled()) return i;
    }
    return -1;
}

void CListUI::EnsureVisible(int index) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr || !m_bVScroll) return;
    if (m_pManager != nullptr) m_pManager->EnsureLayout();
    const Rect view = ContentRect();
    const Rect item = control->GetPos();
    Size pos = m_szScrollPos;
    if (item.top < view.top) pos.cy -= view.top - item.top;
    else if (item.bottom > view.bottom) pos.cy += item.bottom - view.bottom;
    else return;
    SetScrollPos(pos);
    if (m_pManager != nullptr) m_pManager->EnsureLayout();
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::KeyDown && IsEnabled()) {
        int target = -2;
        switch (event.chKey) {
        case vk::Up: target = FindSelectable(m_iCurSel - 1, false); break;
        case vk::Down: target = FindSelectable(m_iCurSel + 1, true); break;
        case vk::Home: target = FindSelectable(0, true); break;
        case vk::End: target = FindSelectable(GetCount() - 1, false); break;
        case vk::Prior: target = FindSelectable(m_iCurSel - 10, false); break;
        case vk::Next: target = FindSelectable(m_iCurSel + 10, true); break;
        default: break;
        }
        if (target >= 0) {
            SelectItem(target, true, true);
            return;
        }
        if (target == -1) return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(std::string_view name, std::string_view value) {
    if (SetListInfoAttribute(m_listInfo, name, value)) {
        Invalidate();
        return;
    }
    CVerticalLayoutUI::SetAttribute(name, value);
}

}  // namespace ui
