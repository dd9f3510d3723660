// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/headset/CVirtualSetControlUI.h"

#include "ui/COptionUI.h"

namespace panels {

std::string CVirtualSetControlUI::GetClass() const {
    return "VirtualSetControlUI";
}

void* CVirtualSetControlUI::GetInterface(std::string_view name) {
    if (name == "VirtualSetControl") return this;
    if (name == model::ISurroundPanel::kInterfaceName)
        return static_cast<model::ISurroundPanel*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

void CVirtualSetControlUI::SetSurround(bool on) {
    if (auto* option = controls_.Find<ui::COptionUI>(kSwitch, "Option"))
        option->Selected(on, false);
}

bool CVirtualSetControlUI::IsSurroundOn() const {
    const auto* option = controls_.Find<ui::COptionUI>(kSwitch, "Option");
    return option != nullptr && option->IsSelected();
}

}  // namespace panels
