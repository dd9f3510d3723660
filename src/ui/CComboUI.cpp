// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CComboUI.h"

#include <algorithm>

#include "ui/AttributeText.h"
#include "ui/CListUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IListItemUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

namespace {

IListItemUI* AsItem(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface("ListItem"))
                              : nullptr;
}

}  // namespace

std::string CComboUI::GetClass() const { return "Combo"; }

void* CComboUI::GetInterface(std::string_view name) {
    if (name == "Combo") return this;
    if (name == "IListOwner") return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

unsigned CComboUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

void CComboUI::Renumber() {
    for (int i = 0; i < GetCount(); ++i) {
        if (IListItemUI* item = AsItem(GetItemAt(i))) {
            item->SetIndex(i);
            item->SetOwner(this);
        }
    }
}

bool CComboUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel >= GetItemIndex(control)) ++m_iCurSel;
    Renumber();
    return true;
}

bool CComboUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) return false;
    if (IListItemUI* item = AsItem(control)) item->SetOwner(nullptr);
    if (!CContainerUI::RemoveAt(index, doNotDestroy)) return false;
    if (index == m_iCurSel) m_iCurSel = -1;
    else if (index < m_iCurSel) --m_iCurSel;
    Renumber();
    Invalidate();
    return true;
}

void CComboUI::RemoveAll() {
    for (CControlUI* control : m_items) {
        if (IListItemUI* item = AsItem(control)) item->SetOwner(nullptr);
    }
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    Invalidate();
}

bool CComboUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
    if (index == m_iCurSel) {
        if (index >= 0) ShowDropDown(false);
        return index >= 0;
    }
    const int old = m_iCurSel;
    if (old >= 0) {
        m_iCurSel = -1;
        if (IListItemUI* item = AsItem(GetItemAt(old))) item->Select(false, false);
    }
    if (index < 0) {
        Invalidate();
        return false;
    }
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = AsItem(control);
    if (item == nullptr || !control->IsOwnVisible() || !control->IsEnabled()) return false;
    m_iCurSel = index;
    if (!item->Select(true, triggerEvent)) {
        m_iCurSel = -1;
        return false;
    }
    ShowDropDown(false);
    if (takeFocus) SetFocus();
    Invalidate();
    if (triggerEvent && m_pManager != nullptr)
        m_pManager->SendNotify(this, "itemselect", static_cast<std::uintptr_t>(index), old);
    return true;
}

int CComboUI::FindSelectable(int index, bool forward) const {
    const int count = GetCount();
    if (count == 0) return -1;
    index = std::clamp(index, 0, count - 1);
    for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
        CControlUI* control = GetItemAt(i);
        if (AsItem(control) != nullptr && control->IsOwnVisible() && control->IsEnabled()) return i;
    }
    return -1;
}

std::string CComboUI::GetText() const {
    CControlUI* selected = GetItemAt(m_iCurSel);
    return selected != nullptr ? selected->GetText() : std::string();
}

void CComboUI::ShowDropDown(bool show) {
    if (m_bDropped == show) return;
    m_bDropped = show && IsEnabled();
    Invalidate();
}

Rect CComboUI::GetTextPadding() const { return ScaleRect(m_rcTextPadding); }

bool CComboUI::Activate() {
    if (!CContainerUI::Activate()) return false;
    ShowDropDown(!m_bDropped);
    return true;
}

void CComboUI::SetEnabled(bool enabled) {
    CContainerUI::SetEnabled(enabled);
    if (!enabled) {
        m_uButtonState = 0;
        ShowDropDown(false);
    }
}

CControlUI* CComboUI::FindControl(const FindProc& match, Point point, unsigned flags) {
    // The items live in the drop-down, not on the combo: hit tests stop here.
    if ((flags & UIFIND_HITTEST) != 0) return CControlUI::FindControl(match, point, flags);
    return CContainerUI::FindControl(match, point, flags);
}

void CComboUI::SetPos(const Rect& rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    // Items get drop-down coordinates: stacked below the combo, as the renderer shows them.
    int y = rc.bottom;
    for (CControlUI* item : m_items) {
        if (!item->IsOwnVisible()) continue;
        Size want = item->EstimateSize(Size{rc.Width(), m_szDropBox.cy});
        int h = want.cy > 0 ? want.cy : Scale(22);
        item->SetPos(Rect{rc.left, y, rc.right, y + h}, false);
        y += h;
    }
}

void CComboUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case EventType::ButtonDown:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        }
        return;
    case EventType::ButtonUp:
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        return;
    case EventType::KeyDown:
        if (!IsEnabled()) return;
        if (event.chKey == vk::Up) {
            int target = FindSelectable(m_iCurSel - 1, false);
            if (target >= 0) SelectItem(target, false, true);
            return;
        }
        if (event.chKey == vk::Down) {
            int target = FindSelectable(m_iCurSel + 1, true);
            if (target >= 0) SelectItem(target, false, true);
            return;
        }
        if (event.chKey == vk::Escape) {
            ShowDropDown(false);
            return;
        }
        break;
    case EventType::ScrollWheel:
        if (IsEnabled()) {
            bool down = event.lParam < 0;
            int target = FindSelectable(m_iCurSel + (down ? 1 : -1), down);
            if (target >= 0) SelectItem(target, false, true);
            return;
        }
        break;
    case EventType::KillFocus:
        ShowDropDown(false);
        break;
    case EventType::MouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventType::MouseLeave:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CComboUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    // The items are drawn by the drop-down, not here.
    CControlUI::DoPaint(target, paint);
}

void CComboUI::PaintStatusImage(IRenderTarget& target) {
    const std::string* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.empty()) image = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.empty()) image = &m_sHotImage;
    DrawImage(target, *image);
}

void CComboUI::PaintText(IRenderTarget& target) {
    std::string text = GetText();
    if (text.empty()) return;
    Color color = IsEnabled() ? m_listInfo.dwTextColor : m_listInfo.dwDisabledTextColor;
    static const TFontInfo fallback;
    const TFontInfo& font = m_pManager != nullptr ? m_pManager->GetFont(m_listInfo.nFont) : fallback;
    target.DrawText(m_rcItem.Deflate(GetTextPadding()), text, color, font, m_listInfo.uTextStyle,
                    m_listInfo.bShowHtml);
}

void CComboUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (SetListInfoAttribute(m_listInfo, name, value)) Invalidate();
    else if (name == "normalimage") SetNormalImage(value);
    else if (name == "hotimage") SetHotImage(value);
    else if (name == "pushedimage") SetPushedImage(value);
    else if (name == "disabledimage") SetDisabledImage(value);
    else if (name == "textpadding") SetTextPadding(ParseRect(value));
    else if (name == "dropboxsize") SetDropBoxSize(ParseSize(value));
    else if (name == "textcolor") m_listInfo.dwTextColor = ParseColor(value);
    else if (name == "font") m_listInfo.nFont = ParseInt(value);
    else CContainerUI::SetAttribute(name, value);
}

}  // namespace ui
