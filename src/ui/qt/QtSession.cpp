// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtSession.h"

#include <QApplication>

#include "ui/CMessageLoop.h"
#include "ui/qt/IFileDialog.h"
#include "ui/qt/QtDesktop.h"
#include "ui/qt/QtEnvironment.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/QtMessagePump.h"
#include "ui/qt/QtPrivateFonts.h"
#include "ui/qt/QtSkinWidget.h"

namespace ui::qt {

QtSession::QtSession(int& argc, char** argv, const std::filesystem::path& dataDir) {
    QtEnvironment::Prepare();
    m_app = std::make_unique<QApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the tray keeps the program
    m_fonts = std::make_unique<QtPrivateFonts>();
    m_fonts->Load(dataDir);
    m_loop = std::make_unique<CMessageLoop>();
    m_pump = std::make_unique<QtMessagePump>(*m_loop);
    m_desktop = std::make_unique<QtDesktop>(*m_pump);
    QtDesktop* desktop = m_desktop.get();
    m_fileDialog = std::make_unique<QtFileDialog>(
        [desktop](WindowHandle owner) -> QWidget* { return desktop->WidgetOf(owner); });
    IFileDialog::SetCurrent(m_fileDialog.get());
}

QtSession::~QtSession() {
    if (IFileDialog::Current() == m_fileDialog.get()) IFileDialog::SetCurrent(nullptr);
    m_fileDialog.reset();
    m_desktop.reset();
    m_pump.reset();
    m_loop.reset();
    m_fonts.reset();  // fonts go last, after every window that used them
    m_app.reset();
}

int QtSession::Run() { return m_pump->Run(); }

}  // namespace ui::qt
