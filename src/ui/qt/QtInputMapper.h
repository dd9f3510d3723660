// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's keys, buttons and modifiers in the library's terms: virtual-key codes (US layout
// positions, as the key tables of the program count them) and MK_ bits.
#include <Qt>

namespace ui::qt {

class QtInputMapper {
public:
    // The virtual-key code of a Qt key, or 0 when it has none.
    static int VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
    static unsigned KeyState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
    // 0 left, 1 right, 2 middle, 3 back, 4 forward; -1 for the others.
    static int ButtonIndex(Qt::MouseButton button);
    // Whole wheel notches (120 eighths of a degree each) from Qt's angle delta; the rest is
    // kept in `residual` so that smooth-scrolling devices add up to notches.
    static int WheelNotches(int& residual, int angleDeltaY);
    // The Linux evdev code of a key from Qt's native scan code (the X keycode, which is the
    // evdev code + 8 on X11 and on Wayland); 0 where the platform gives none.
    static int EvdevCode(quint32 nativeScanCode);
};

}  // namespace ui::qt
