// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's own keyboard and mouse settings, opened for the user: the settings tool of
// the running desktop (GNOME, KDE Plasma, Xfce, Cinnamon, MATE, LXQt), found through
// XDG_CURRENT_DESKTOP. Best effort: an unknown desktop or a missing tool opens nothing.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DesktopSettings {
public:
    enum class Page { Keyboard = 0, Mouse = 1 };

    // The command line that opens `page` on the desktop named `desktop` (a
    // XDG_CURRENT_DESKTOP value, "ubuntu:GNOME" and the like); empty when none is known.
    static std::vector<std::string> CommandFor(std::string_view desktop, Page page);
    // Starts the tool for page `n` (0 keyboard, 1 mouse; anything else: nothing) on a
    // thread of its own and returns at once. False when nothing was started.
    static bool Open(int n);
};

}  // namespace platform
