// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Controls made in code take the looks of the skin's named styles, as those of a layout
// file do. UI thread only.
#include <string>

namespace ui {
class CControlUI;
class CLabelUI;
class CPaintManagerUI;
}  // namespace ui

namespace panels {

class SkinStyle {
public:
    // Applied at once when the window's styles are at hand, so that what the caller sets
    // after it stays; otherwise left for the control to look up when it joins a window.
    static void Apply(ui::CControlUI& control, const std::string& style, ui::CPaintManagerUI* skin);
    // A new label of `style` showing `text` (a language key when `translated`).
    static ui::CLabelUI* Label(const std::string& style, const std::string& text, bool translated,
                               ui::CPaintManagerUI* skin);
};

}  // namespace panels
