// The desktop part of --diagnose told from the environment a session gives the program.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/DesktopDiagnosis.h"

namespace app {
namespace {

std::string Report(std::map<std::string, std::string> env, bool active = false,
                   std::string file = {}) {
    return DesktopReport(
        [env](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        },
        active, file);
}

TEST(DesktopDiagnosis, SaysWhichSessionRunsAndWhatItMeansForTheTray) {
    const std::string gnomeWayland =
        Report({{"XDG_SESSION_TYPE", "wayland"}, {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}});
    EXPECT_NE(gnomeWayland.find("Desktop session: Wayland, ubuntu:GNOME"), std::string::npos);
    EXPECT_NE(gnomeWayland.find("AppIndicator"), std::string::npos);
    EXPECT_NE(gnomeWayland.find("no program raise"), std::string::npos);
    EXPECT_EQ(gnomeWayland.find("X11 system tray"), std::string::npos);

    // The session type wins over leftovers; without it, the display variables tell.
    const std::string kdeX11 = Report({{"XDG_SESSION_TYPE", "x11"},
                                       {"WAYLAND_DISPLAY", "w-0"},
                                       {"DISPLAY", ":0"},
                                       {"XDG_CURRENT_DESKTOP", "KDE"}});
    EXPECT_NE(kdeX11.find("Desktop session: X11, KDE"), std::string::npos);
    EXPECT_NE(kdeX11.find("X11 system tray"), std::string::npos);
    EXPECT_EQ(kdeX11.find("AppIndicator"), std::string::npos);
    EXPECT_NE(Report({{"XDG_SESSION_TYPE", "tty"}, {"WAYLAND_DISPLAY", "wayland-0"}})
                  .find("session: Wayland"),
              std::string::npos);
    EXPECT_NE(Report({{"DISPLAY", ":1"}}).find("session: X11"), std::string::npos);
    EXPECT_NE(Report({{"DISPLAY", ""}}).find("none found"), std::string::npos);
}

TEST(DesktopDiagnosis, SaysWhetherTheProgramStartsAtLogin) {
    EXPECT_NE(Report({}, true, "/home/u/.config/autostart/telix-tx512.desktop")
                  .find("Start at login: yes (/home/u/.config/autostart/telix-tx512.desktop)"),
              std::string::npos);
    const std::string off = Report({});
    EXPECT_NE(off.find("Start at login: no\n"), std::string::npos);
    EXPECT_NE(off.find("settings window"), std::string::npos);
}

}  // namespace
}  // namespace app
