// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CHorizontalLayoutUI.h"

namespace ui {

std::string CHorizontalLayoutUI::GetClass() const { return "HorizontalLayout"; }

void* CHorizontalLayoutUI::GetInterface(std::string_view name) {
    if (name == "HorizontalLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const Rect& rc, bool needInvalidate) {
    ArrangeLinear(rc, needInvalidate, false);
}

}  // namespace ui
