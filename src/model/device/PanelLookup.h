// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The feature panels of a device page live in a higher layer; the device reaches them
// through the interfaces declared beside this file. A panel control answers
// GetInterface(I::kInterfaceName) with a pointer to its I base (static_cast<I*>(this)),
// so that the device can find it by name and use it without knowing its class. A page
// without the panel, or a control that is not one, gives null: the call is skipped.
#include <string_view>

#include "ui/CContainerUI.h"
#include "ui/CControlUI.h"

namespace model {

template <class Panel>
Panel* PanelOf(ui::CControlUI* control) {
    return control != nullptr ? static_cast<Panel*>(control->GetInterface(Panel::kInterfaceName))
                              : nullptr;
}

// The named control within `page` (the page itself included), or null.
inline ui::CControlUI* FindInPage(ui::CContainerUI& page, std::string_view name) {
    if (page.GetName() == name) return &page;
    return page.FindSubControl(name);
}

}  // namespace model
