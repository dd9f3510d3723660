// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CRedioMacroButtonUI.h"

namespace ui {

std::string CRedioMacroButtonUI::GetClass() const { return "RedioMacroButton"; }

void* CRedioMacroButtonUI::GetInterface(std::string_view name) {
    if (name == "RedioMacroButton") return this;
    return CButtonUI::GetInterface(name);
}

void CRedioMacroButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "redioimage") SetRedioImage(value);
    else CButtonUI::SetAttribute(name, value);
}

}  // namespace ui
