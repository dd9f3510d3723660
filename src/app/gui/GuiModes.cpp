// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/GuiModes.h"

#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <optional>
#include <memory>

#include "app/Application.h"
#include "app/gui/SleepWatcher.h"
#include "app/gui/TrayHostWatcher.h"
#include "platform/Paths.h"
#include "platform/Trace.h"
#include "ui/CMessageLoop.h"
#include "ui/CResourceManager.h"
#include "ui/DpiValue.h"
#include "ui/qt/QtDesktop.h"
#include "ui/qt/QtEnvironment.h"
#include "ui/qt/QtScreenshot.h"
#include "ui/qt/QtSession.h"
#include "ui/qt/QtSkinWidget.h"
#include "ui/qt/QtTrayIcon.h"

namespace app {

namespace {

// Each window's first paint is when the desktop first shows it: traced with what the
// compositor was told of its size. TX512_TEST_CLOSE_WHEN_SHOWN=1 then closes the main
// window as the desktop's close button would, for tests under a real compositor, which
// offer no other way to press it.
void WatchFirstPaint(ui::qt::QtDesktop& desktop, ui::WindowHandle mainWindow) {
    const bool closeWhenShown = qEnvironmentVariable("TX512_TEST_CLOSE_WHEN_SHOWN") == "1";
    const std::string platformName = QGuiApplication::platformName().toStdString();
    desktop.SetFirstPaintHandler([closeWhenShown, platformName, mainWindow](ui::qt::QtSkinWidget& widget) {
        platform::TraceF("window shown: %s %dx%d, min %dx%d, max %dx%d, platform %s\n",
                         widget.Handle() == mainWindow ? "main" : "other", widget.width(),
                         widget.height(), widget.minimumWidth(), widget.minimumHeight(),
                         widget.maximumWidth(), widget.maximumHeight(), platformName.c_str());
        if (closeWhenShown && widget.Handle() == mainWindow) widget.close();
    });
}

}  // namespace

int RunDesktop(Application& application, int argc, char** argv) {
    ui::qt::QtSession session(argc, argv, platform::DataDir());
    application.PrepareResources();
    ui::qt::QtDesktop& desktop = session.Desktop();
    CMainWnd* window = application.CreateMainWindow(
        [&desktop](ui::WindowHandle handle) { desktop.BringToFront(handle); });
    if (window == nullptr) {
        std::cerr << "telix-tx512: the main window could not be created\n";
        application.Shutdown();
        return 1;
    }
    if (ui::qt::QtTrayIcon* tray = desktop.AddTrayIcon(window->TrayIcon())) {
        tray->SetMenuXml(window->GetHWND(), "menu.xml");
    }
    // Ended before the shutdown, which takes the window and its tray icon with it.
    std::optional<TrayHostWatcher> trayHost(std::in_place, window->TrayIcon());
    if (application.StartsHidden() && !trayHost->IsShown()) {
        std::cerr << "telix-tx512: this desktop shows no tray icon, so the program runs without "
                     "a window;\n  start telix-tx512 again to open its window.\n";
    }
    WatchFirstPaint(desktop, window->GetHWND());
    SleepWatcher sleep(window->GetHWND());
    session.Run();
    trayHost.reset();
    desktop.RemoveTrayIcon(window->TrayIcon());
    application.Shutdown();
    return 0;
}

void AllowHeadlessScreenshots(Application& application) {
    // Qt goes with the application's writer, before the program's static objects.
    auto qt = std::make_shared<std::unique_ptr<QGuiApplication>>();
    application.SetScreenshotWriter([qt](ui::CPaintManagerUI& pm, const std::string& path) {
        static int argc = 1;
        static char name[] = "telix-tx512";
        static char* argv[] = {name, nullptr};
        if (QGuiApplication::instance() == nullptr) {
            ui::qt::QtEnvironment::PrepareHeadless();
            *qt = std::make_unique<QGuiApplication>(argc, argv);
        }
        return ui::qt::QtScreenshot::SavePng(pm, path);
    });
}

int RunAppScreenshot(Application& application, const AppScreenshotRequest& request) {
    ui::qt::QtEnvironment::PrepareHeadless();
    static int argc = 1;
    static char name[] = "telix-tx512";
    static char* argv[] = {name, nullptr};
    QGuiApplication qtApp(argc, argv);
    ui::CMessageLoop loop;
    // Without its skin the window is an empty frame: no picture rather than a blank one.
    if (!application.PrepareResources()) return 1;
    CMainWnd* window = application.CreateMainWindow();
    if (window == nullptr) {
        std::cerr << "telix-tx512: the main window could not be created\n";
        return 1;
    }
    // Let the program start as it does on the desktop: first scan, connections, the
    // device's start-up reads and some preview frames.
    const std::int64_t end = loop.Now() + request.settleMs;
    loop.SetTimer(&loop, 1, static_cast<unsigned>(request.settleMs), [] {});
    loop.RunModal([&loop, end] { return loop.Now() >= end; });
    loop.KillTimer(&loop, 1);

    auto& resources = ui::CResourceManager::GetInstance();
    if (!request.languageFile.empty()) {
        if (!resources.LoadLanguage(request.languageFile)) {
            std::cerr << "telix-tx512: cannot load the language file '" << request.languageFile
                      << "'\n";
            application.Shutdown();
            return 1;
        }
        resources.ReloadText();
    }
    ui::CPaintManagerUI& pm = window->GetPaintManager();
    const int dpi = ui::DpiValue::Checked(request.dpi, "screenshot: DPI not supported, 96 used\n");
    ui::CPaintManagerUI::SetAllDPI(dpi);
    pm.SetClientSize(pm.ScaleSize(ui::Size{1000, 640}));
    loop.RunPending();
    const bool written = ui::qt::QtScreenshot::SavePng(pm, request.pngPath);
    application.Shutdown();
    if (!written) {
        std::cerr << "telix-tx512: " << request.pngPath << " could not be written\n";
        return 2;
    }
    return 0;
}

}  // namespace app
