// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DesktopDiagnosis.h"

#include <cstdlib>
#include <sstream>

#include "platform/AutostartEntry.h"

namespace app {

namespace {

bool Has(const EnvLookup& env, const char* name) {
    const char* value = env(name);
    return value != nullptr && value[0] != '\0';
}

std::string Value(const EnvLookup& env, const char* name) {
    const char* value = env(name);
    return value != nullptr ? value : "";
}

bool IsGnome(const std::string& desktop) {
    return desktop.find("GNOME") != std::string::npos || desktop.find("Unity") != std::string::npos;
}

void ReportQtPlatform(std::ostream& out, const EnvLookup& env, const std::string& session,
                      const QtPlatformFinding& qt) {
    if (!qt.probed) return;
    out << "Qt platform: ";
    if (qt.platform.empty()) {
        out << "none (Qt could not reach the display)\n"
            << "  The window cannot open here; check WAYLAND_DISPLAY and DISPLAY.\n";
        return;
    }
    if (qt.platform == "wayland") {
        out << "wayland (native)\n"
            << "  Recording macros and capturing keys ask the compositor to pass its shortcuts\n"
            << "  on, where it allows that; the window's fixed size is told to the compositor.\n";
        return;
    }
    if (qt.platform == "xcb") {
        if (session != "wayland") {
            out << "xcb on X11\n"
                << "  Recording macros and capturing keys hold the keyboard with an X11 grab.\n";
            return;
        }
        out << "xcb on XWayland\n"
            << "  Recording macros and capturing keys hold only what XWayland receives: the\n"
            << "  compositor keeps its own shortcuts, and a tiling compositor may stretch the\n"
            << "  window.\n";
        const std::string forced = Value(env, "QT_QPA_PLATFORM");
        if (!qt.waylandPluginInstalled)
            out << "  Install Qt's Wayland platform to run natively (Debian: qt6-wayland).\n";
        else if (!forced.empty())
            out << "  QT_QPA_PLATFORM=" << forced << " chose it; unset it to run natively.\n";
        else
            out << "  Start it with QT_QPA_PLATFORM=wayland to run natively.\n";
        return;
    }
    out << qt.platform << "\n"
        << "  This platform shows no desktop window: recording and key capture need wayland or\n"
        << "  xcb (QT_QPA_PLATFORM chooses).\n";
}

}  // namespace

std::string DesktopReport(const EnvLookup& env, bool autostartActive,
                          const std::string& autostartFile, const QtPlatformFinding& qt) {
    std::ostringstream out;
    out << "Start at login: " << (autostartActive ? "yes" : "no");
    if (!autostartFile.empty()) out << " (" << autostartFile << ")";
    out << (autostartActive
                ? "\n"
                : "\n  Turn it on in the settings window (Start in the tray at login).\n");

    std::string session = Value(env, "XDG_SESSION_TYPE");
    if (session != "wayland" && session != "x11") {
        session = Has(env, "WAYLAND_DISPLAY") ? "wayland" : Has(env, "DISPLAY") ? "x11" : "";
    }
    const std::string desktop = Value(env, "XDG_CURRENT_DESKTOP");
    out << "Desktop session: ";
    if (session.empty()) {
        out << "none found (no WAYLAND_DISPLAY or DISPLAY)\n"
            << "  The window and the tray icon need a desktop; the commands (profile, light,\n"
            << "  status) work without one.\n";
        return out.str();
    }
    out << (session == "wayland" ? "Wayland" : "X11");
    if (!desktop.empty()) out << ", " << desktop;
    out << "\n";
    out << "  The tray icon is shown by the desktop's status notifier host";
    if (session == "x11") out << " or, failing that, the X11 system tray";
    out << ".\n";
    if (IsGnome(desktop))
        out << "  GNOME shows it only with the AppIndicator extension\n"
            << "  (Debian: gnome-shell-extension-appindicator). Without it, start the program\n"
            << "  again to bring its window back.\n";
    if (session == "wayland")
        out << "  Wayland lets no program raise its own window: a second start may only mark\n"
            << "  the window in the task bar.\n";
    ReportQtPlatform(out, env, session, qt);
    return out.str();
}

std::string DesktopReport(const QtPlatformFinding& qt) {
    platform::AutostartEntry entry;
    return DesktopReport([](const char* name) { return std::getenv(name); }, entry.IsActive(),
                         entry.DecidingFile().string(), qt);
}

}  // namespace app
