// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CComboEditContainerElementUI.h"

#include "ui/CDialogBuilder.h"
#include "ui/CEditUI.h"
#include "ui/CLabelUI.h"
#include "ui/CPaintManagerUI.h"

namespace ui {

std::string CComboEditContainerElementUI::GetClass() const { return "ComboEditContainerElement"; }

void* CComboEditContainerElementUI::GetInterface(std::string_view name) {
    if (name == "ComboEditContainerElement") return this;
    return CListContainerElementUI::GetInterface(name);
}

void CComboEditContainerElementUI::DoInit() {
    CListContainerElementUI::DoInit();
    if (GetCount() == 0) {
        CDialogBuilder builder;
        if (CControlUI* content = builder.Create(kLayout, nullptr, m_pManager)) Add(content);
    }
    m_pText1 = static_cast<CLabelUI*>(FindSubControl("text1"));
    m_pText2 = static_cast<CLabelUI*>(FindSubControl("text2"));
    CControlUI* delay = FindSubControl("delay_edit");
    m_pDelay = delay != nullptr ? static_cast<CEditUI*>(delay->GetInterface("Edit")) : nullptr;
    if (m_pText1 != nullptr && m_pText1->GetInterface("Label") == nullptr) m_pText1 = nullptr;
    if (m_pText2 != nullptr && m_pText2->GetInterface("Label") == nullptr) m_pText2 = nullptr;
}

void CComboEditContainerElementUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::KeyDown && event.chKey == vk::Return && IsEnabled()) {
        Activate();
        if (m_pManager != nullptr) m_pManager->SendNotify(this, "return");
        return;
    }
    CListContainerElementUI::DoEvent(event);
}

void CComboEditContainerElementUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "normalimage" || name == "hotimage" || name == "selectedimage") return;
    CListContainerElementUI::SetAttribute(name, value);
}

}  // namespace ui
