// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/SkinStyle.h"

#include "ui/CLabelUI.h"
#include "ui/CPaintManagerUI.h"

namespace panels {

void SkinStyle::Apply(ui::CControlUI& control, const std::string& style,
                      ui::CPaintManagerUI* skin) {
    if (style.empty()) return;
    if (const std::string* attributes = skin != nullptr ? skin->GetStyle(style) : nullptr)
        control.ApplyAttributeList(*attributes);
    else
        control.SetAttribute("style", style);
}

ui::CLabelUI* SkinStyle::Label(const std::string& style, const std::string& text, bool translated,
                               ui::CPaintManagerUI* skin) {
    auto* label = new ui::CLabelUI();
    Apply(*label, style, skin);
    label->SetResourceText(translated);
    label->SetText(text);
    return label;
}

}  // namespace panels
