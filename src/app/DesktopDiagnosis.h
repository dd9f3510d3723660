// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop half of --diagnose: whether the program starts at login, which kind of
// session runs (X11 or Wayland) with what that means for the tray icon and the window, and
// which of Qt's platforms the window runs on, with what that means for recording macros
// and capturing keys.
#include <functional>
#include <string>
#include <string_view>

namespace app {

// `env` answers an environment variable's value, or nothing when it is unset.
using EnvLookup = std::function<const char*(const char*)>;

// What starting Qt here showed.
struct QtPlatformFinding {
    bool probed = false;          // Qt was tried (there is a display to try)
    std::string platform;         // the platform Qt chose; empty when it could not start
    bool waylandPluginInstalled = false;
};

std::string DesktopReport(const EnvLookup& env, bool autostartActive,
                          const std::string& autostartFile, const QtPlatformFinding& qt = {});
// With the real environment and autostart entry.
std::string DesktopReport(const QtPlatformFinding& qt);

}  // namespace app
