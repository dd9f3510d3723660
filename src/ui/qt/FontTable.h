// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's font table: every id the layouts use, in one face, shared by all
// windows. Building it replaces whatever fonts the windows had.
#include <string_view>

namespace ui {
class CPaintManagerUI;
}

namespace ui::qt {

class FontTable {
public:
    // The face the program builds its table with, whatever the language.
    static constexpr std::string_view kFace = "Verdana Unicode MS";

    static void Build(CPaintManagerUI& manager, std::string_view face = kFace);
};

}  // namespace ui::qt
