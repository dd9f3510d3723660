// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's creation callback: turns the layout elements the skin library does
// not know into the program's controls, device objects and panels, and builds the
// sub-layout elements from their layout files (nested elements come back here).
//
// Panels that do not exist yet are created as a plain control of the class they will
// derive from, so their layouts build and their controls can be found; each is one row
// of the table in ControlCreator.cpp.
#include <span>
#include <string_view>

#include "ui/IDialogBuilderCallback.h"

namespace ui {
class CControlUI;
class CPaintManagerUI;
}  // namespace ui

namespace app {

class ControlCreator : public ui::IDialogBuilderCallback {
public:
    struct SubLayout {
        std::string_view element;
        std::string_view file;  // relative to the skin folder
    };

    explicit ControlCreator(ui::CPaintManagerUI& manager);

    // A new control for the element (names compare without regard to case), or null for
    // an element no table lists, a sub-layout whose file is missing or does not build,
    // and sub-layouts nested too deeply (a layout that contains itself).
    ui::CControlUI* CreateControl(std::string_view element) override;

    static std::span<const SubLayout> SubLayouts();

private:
    ui::CControlUI* BuildSubLayout(std::string_view file);

    ui::CPaintManagerUI& manager_;
    int nesting_ = 0;
};

}  // namespace app
