// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's modes that need Qt: the desktop program itself and the screenshot of its
// main window. Kept apart from the shell library so that the shell builds and is tested
// without Qt.
#include <string>

#include "app/DesktopDiagnosis.h"

namespace app {

class Application;

// Starts Qt as the desktop program would, in a child process (Qt ends a process that
// cannot reach its display), and tells which platform it chose. Not probed without a
// WAYLAND_DISPLAY or DISPLAY; a child that does not answer within 5 s counts as failed.
QtPlatformFinding ProbeQtPlatform();

// The tray program on the desktop; returns the exit code.
int RunDesktop(Application& application, int argc, char** argv);

struct AppScreenshotRequest {
    std::string pngPath;
    int dpi = 96;
    std::string languageFile;  // empty: the saved language
    int settleMs = 1500;       // time for the first scan, the connection and some frames
};
// The main window, as the program shows it after start-up (with the simulated or real
// devices attached and the current device's page), rendered to a PNG without a display.
// 0 on success, 1 when the window could not be made, 2 when the file was not written.
int RunAppScreenshot(Application& application, const AppScreenshotRequest& request);
// Lets a headless run draw its main window on request (the automation's "screenshot"):
// Qt is started, without a display, the first time a picture is asked for.
void AllowHeadlessScreenshots(Application& application);

}  // namespace app
