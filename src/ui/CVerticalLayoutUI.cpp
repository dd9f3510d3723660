// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CVerticalLayoutUI.h"

namespace ui {

std::string CVerticalLayoutUI::GetClass() const { return "VerticalLayout"; }

void* CVerticalLayoutUI::GetInterface(std::string_view name) {
    if (name == "VerticalLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const Rect& rc, bool needInvalidate) {
    ArrangeLinear(rc, needInvalidate, true);
}

}  // namespace ui
