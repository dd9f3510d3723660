// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop part of --diagnose told from the environment a session gives the program.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/DesktopDiagnosis.h"

namespace app {
namespace {

std::string Report(std::map<std::string, std::string> env, bool active = false,
                   std::string file = {}, QtPlatformFinding qt = {}) {
    return DesktopReport(
        [env](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        },
        active, file, qt);
}

QtPlatformFinding Found(std::string platform, bool pluginInstalled = true) {
    return QtPlatformFinding{true, std::move(platform), pluginInstalled};
}

std::string QtLines(std::map<std::string, std::string> env, QtPlatformFinding qt) {
    const std::string report = Report(std::move(env), false, {}, std::move(qt));
    const std::size_t at = report.find("Qt platform: ");
    return at == std::string::npos ? std::string() : report.substr(at);
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

TEST(DesktopDiagnosis, NamesTheQtPlatformAndWhatItMeansForRecording) {
    const std::map<std::string, std::string> wayland{{"XDG_SESSION_TYPE", "wayland"},
                                                     {"WAYLAND_DISPLAY", "wayland-0"}};
    const std::string native = QtLines(wayland, Found("wayland"));
    EXPECT_EQ(native.rfind("Qt platform: wayland (native)\n", 0), 0u) << native;
    EXPECT_NE(native.find("pass its shortcuts"), std::string::npos);

    // On a Wayland session xcb means XWayland, and the report says why and what to do.
    const std::string noPlugin = QtLines(wayland, Found("xcb", false));
    EXPECT_EQ(noPlugin.rfind("Qt platform: xcb on XWayland\n", 0), 0u) << noPlugin;
    EXPECT_NE(noPlugin.find("compositor keeps its own shortcuts"), std::string::npos);
    EXPECT_NE(noPlugin.find("qt6-wayland"), std::string::npos);
    auto forcedEnv = wayland;
    forcedEnv["QT_QPA_PLATFORM"] = "xcb";
    const std::string forced = QtLines(forcedEnv, Found("xcb"));
    EXPECT_NE(forced.find("QT_QPA_PLATFORM=xcb chose it"), std::string::npos) << forced;
    EXPECT_EQ(forced.find("qt6-wayland"), std::string::npos);
    EXPECT_NE(QtLines(wayland, Found("xcb")).find("QT_QPA_PLATFORM=wayland"), std::string::npos);

    const std::string x11 = QtLines({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, Found("xcb"));
    EXPECT_EQ(x11.rfind("Qt platform: xcb on X11\n", 0), 0u) << x11;
    EXPECT_NE(x11.find("X11 grab"), std::string::npos);

    EXPECT_NE(QtLines(wayland, Found("")).find("Qt platform: none"), std::string::npos);
    EXPECT_NE(QtLines(wayland, Found("offscreen")).find("shows no desktop window"), std::string::npos);
    // Not probed (no display to try): no line at all.
    EXPECT_TRUE(QtLines(wayland, QtPlatformFinding{}).empty());
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
