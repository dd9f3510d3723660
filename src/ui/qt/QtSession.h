// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the program needs from Qt, for the entry point to create in one go: the Qt
// application (high-DPI scaling left to the skin, not quitting when the last window is
// hidden in the tray), the private fonts from "Font/", the library's message loop on
// Qt's event loop, the desktop that shows the library's windows and the native file
// dialogs. Run() is the program's message loop.
#include <filesystem>
#include <memory>

class QApplication;

namespace ui {
class CMessageLoop;
}

namespace ui::qt {

class QtDesktop;
class QtFileDialog;
class QtMessagePump;
class QtPrivateFonts;

class QtSession {
public:
    QtSession(int& argc, char** argv, const std::filesystem::path& dataDir);
    ~QtSession();
    QtSession(const QtSession&) = delete;
    QtSession& operator=(const QtSession&) = delete;

    CMessageLoop& Loop() { return *m_loop; }
    QtMessagePump& Pump() { return *m_pump; }
    QtDesktop& Desktop() { return *m_desktop; }
    QtPrivateFonts& Fonts() { return *m_fonts; }

    // Until the library's loop is quit; returns its code.
    int Run();

private:
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<QtPrivateFonts> m_fonts;
    std::unique_ptr<CMessageLoop> m_loop;
    std::unique_ptr<QtMessagePump> m_pump;
    std::unique_ptr<QtDesktop> m_desktop;
    std::unique_ptr<QtFileDialog> m_fileDialog;
};

}  // namespace ui::qt
