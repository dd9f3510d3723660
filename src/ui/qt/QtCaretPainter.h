// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text cursor of the focused edit: the library keeps its position in characters, the
// renderer knows the font, so the line is placed here, after the text that precedes it.
class QPainter;

namespace ui {
class CPaintManagerUI;
}

namespace ui::qt {

class QtCaretPainter {
public:
    // Draws nothing unless an enabled, writable edit has the window's focus.
    static void Paint(QPainter& painter, CPaintManagerUI& manager);
};

}  // namespace ui::qt
