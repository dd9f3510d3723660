// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/COptionUI.h"

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

COptionUI::~COptionUI() {
    if (!m_sGroupName.empty() && m_pManager != nullptr)
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

std::string COptionUI::GetClass() const { return "Option"; }

void* COptionUI::GetInterface(std::string_view name) {
    if (name == "Option") return this;
    return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (m_pManager != nullptr && m_pManager != manager && !m_sGroupName.empty())
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    CButtonUI::SetManager(manager, parent, init);
    if (manager != nullptr && !m_sGroupName.empty()) manager->AddOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(std::string_view group) {
    if (m_sGroupName == group) return;
    if (m_pManager != nullptr && !m_sGroupName.empty())
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (m_pManager != nullptr && !m_sGroupName.empty())
        m_pManager->AddOptionGroup(m_sGroupName, this);
    // Joining a group whose member is already selected: one selection per group.
    if (m_bSelected) {
        m_bSelected = false;
        Selected(true, false);
    }
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
    if (m_bSelected == selected) return;
    m_bSelected = selected;
    if (selected) m_uButtonState |= UISTATE_SELECTED;
    else m_uButtonState &= ~UISTATE_SELECTED;
    Invalidate();
    if (m_pManager == nullptr) return;
    if (!m_sGroupName.empty()) {
        if (!selected) return;
        if (const auto* group = m_pManager->GetOptionGroup(m_sGroupName)) {
            std::vector<CControlUI*> members = *group;  // deselecting may not change the list
            for (CControlUI* member : members) {
                if (member == this) continue;
                auto* option = static_cast<COptionUI*>(member->GetInterface("Option"));
                if (option != nullptr) option->Selected(false, triggerEvent);
            }
        }
    }
    if (selected) SelectBoundTab();
    if (triggerEvent) m_pManager->SendNotify(this, "selectchanged", selected ? 1u : 0u);
}

void COptionUI::SelectBoundTab() {
    if (m_sBindTabLayoutName.empty() || m_iBindTabIndex < 0 || m_pManager == nullptr) return;
    CControlUI* control = m_pManager->FindControl(m_sBindTabLayoutName);
    auto* tab = control != nullptr ? static_cast<CTabLayoutUI*>(control->GetInterface("TabLayout"))
                                   : nullptr;
    if (tab != nullptr) tab->SelectItem(m_iBindTabIndex);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.empty()) Selected(true);
    else Selected(!m_bSelected);
    return true;
}

void COptionUI::SetSelectedImage(std::string_view image) {
    m_sSelectedImage = image;
    Invalidate();
}
void COptionUI::SetSelectedHotImage(std::string_view image) {
    m_sSelectedHotImage = image;
    Invalidate();
}
void COptionUI::SetSelectedForeImage(std::string_view image) {
    m_sSelectedForeImage = image;
    Invalidate();
}
void COptionUI::SetSelectedTextColor(Color color) {
    m_dwSelectedTextColor = color;
    Invalidate();
}
void COptionUI::SetSelectedBkColor(Color color) {
    m_dwSelectedBkColor = color;
    Invalidate();
}

void COptionUI::PaintBkColor(IRenderTarget& target) {
    if (m_bSelected && (m_dwSelectedBkColor >> 24) != 0) {
        target.FillRect(m_rcItem, m_dwSelectedBkColor);
        return;
    }
    CButtonUI::PaintBkColor(target);
}

void COptionUI::PaintStatusImage(IRenderTarget& target) {
    if (m_bSelected) {
        const std::string* image = &m_sSelectedImage;
        if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sSelectedHotImage.empty())
            image = &m_sSelectedHotImage;
        if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
        if (!image->empty()) {
            DrawImage(target, *image);
            if (!m_sSelectedForeImage.empty()) DrawImage(target, m_sSelectedForeImage);
            return;
        }
    }
    CButtonUI::PaintStatusImage(target);
}

void COptionUI::PaintText(IRenderTarget& target) {
    if (m_bSelected && IsEnabled() && m_dwSelectedTextColor != 0) {
        DrawLabelText(target, GetText(), m_dwSelectedTextColor);
        return;
    }
    CButtonUI::PaintText(target);
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "group") SetGroup(value);
    else if (name == "selected") Selected(ParseBool(value), false);
    else if (name == "selectedimage") SetSelectedImage(value);
    else if (name == "selectedhotimage") SetSelectedHotImage(value);
    else if (name == "selectedforeimage") SetSelectedForeImage(value);
    else if (name == "selectedtextcolor") SetSelectedTextColor(ParseColor(value));
    else if (name == "selectedbkcolor") SetSelectedBkColor(ParseColor(value));
    else if (name == "bindtablayoutname") SetBindTabLayoutName(value);
    else if (name == "bindtabindex") SetBindTabLayoutIndex(ParseInt(value));
    else CButtonUI::SetAttribute(name, value);
}

}  // namespace ui
