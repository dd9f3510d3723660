#pragma once
// The desktop half of --diagnose: whether the program starts at login, and which kind of
// session runs (X11 or Wayland) with what that means for the tray icon and the window.
#include <functional>
#include <string>
#include <string_view>

namespace app {

// `env` answers an environment variable's value, or nothing when it is unset.
using EnvLookup = std::function<const char*(const char*)>;

std::string DesktopReport(const EnvLookup& env, bool autostartActive,
                          const std::string& autostartFile);
// With the real environment and autostart entry.
std::string DesktopReport();

}  // namespace app
