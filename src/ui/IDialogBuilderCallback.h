// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's chance to create an element the library and the factory do not know.
#include <string_view>

namespace ui {

class CControlUI;

class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    // A new control for the element name (the builder owns it from then on), or null:
    // the element and what it holds are then left out.
    virtual CControlUI* CreateControl(std::string_view className) = 0;
};

}  // namespace ui
