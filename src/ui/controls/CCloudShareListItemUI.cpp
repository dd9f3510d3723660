// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CCloudShareListItemUI.h"

namespace ui {

std::string CCloudShareListItemUI::GetClass() const {
    return "CloudShareListItemUI";
}

void* CCloudShareListItemUI::GetInterface(std::string_view name) {
    if (name == "CloudShareListItemUI") return this;
    return CHotFrameListItemUI::GetInterface(name);
}

}  // namespace ui
