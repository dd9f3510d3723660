// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CControlFactory.h"

#include "platform/TextCompare.h"
#include "ui/CButtonUI.h"
#include "ui/CColorPaletteUI.h"
#include "ui/CComboUI.h"
#include "ui/CContainerUI.h"
#include "ui/CControlUI.h"
#include "ui/CEditUI.h"
#include "ui/CHorizontalLayoutUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListContainerElementUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CListUI.h"
#include "ui/COptionUI.h"
#include "ui/CProgressUI.h"
#include "ui/CRichEditUI.h"
#include "ui/CSliderUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/CVerticalLayoutUI.h"

namespace ui {

CControlFactory& CControlFactory::GetInstance() {
    static CControlFactory factory;
    return factory;
}

CControlFactory::CControlFactory() {
    // The library's own elements.
    RegistControl("Control", [] { return new CControlUI(); });
    RegistControl("Container", [] { return new CContainerUI(); });
    RegistControl("VerticalLayout", [] { return new CVerticalLayoutUI(); });
    RegistControl("HorizontalLayout", [] { return new CHorizontalLayoutUI(); });
    RegistControl("TabLayout", [] { return new CTabLayoutUI(); });
    RegistControl("Label", [] { return new CLabelUI(); });
    RegistControl("Text", [] { return new CLabelUI(); });
    RegistControl("Button", [] { return new CButtonUI(); });
    RegistControl("Option", [] { return new COptionUI(); });
    RegistControl("CheckBox", [] { return new COptionUI(); });
    RegistControl("Edit", [] { return new CEditUI(); });
    RegistControl("RichEdit", [] { return new CRichEditUI(); });
    RegistControl("Combo", [] { return new CComboUI(); });
    RegistControl("List", [] { return new CListUI(); });
    RegistControl("ListLabelElement", [] { return new CListLabelElementUI(); });
    RegistControl("ListContainerElement", [] { return new CListContainerElementUI(); });
    RegistControl("Progress", [] { return new CProgressUI(); });
    RegistControl("Slider", [] { return new CSliderUI(); });
    RegistControl("ColorPalette", [] { return new CColorPaletteUI(); });
}

void CControlFactory::RegistControl(std::string_view name, Creator creator) {
    if (name.empty() || !creator) return;
    m_creators[platform::ToLowerUtf8(name)] = std::move(creator);
}

void CControlFactory::UnregistControl(std::string_view name) {
    m_creators.erase(platform::ToLowerUtf8(name));
}

bool CControlFactory::IsRegistered(std::string_view name) const {
    return m_creators.count(platform::ToLowerUtf8(name)) != 0;
}

CControlUI* CControlFactory::CreateControl(std::string_view name) const {
    auto it = m_creators.find(platform::ToLowerUtf8(name));
    if (it == m_creators.end()) return nullptr;
    return it->second();
}

}  // namespace ui
