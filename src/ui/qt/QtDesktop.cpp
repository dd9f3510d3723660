// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtDesktop.h"

#include <QGuiApplication>
#include <QScreen>

#include <set>

#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/WindowImplBase.h"
#include "ui/qt/QtConvert.h"
#include "ui/qt/QtMessagePump.h"
#include "ui/qt/QtSkinWidget.h"
#include "ui/qt/QtTrayIcon.h"

namespace ui::qt {

QtDesktop::QtDesktop(QtMessagePump& pump) : m_pump(pump) {
    UpdateScreenRect();
    m_pump.SetAfterWork([this] { Sync(); });
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) return;
    auto changed = [this] { OnDisplayChanged(); };
    auto watch = [this, changed](QScreen* screen) {
        m_screenWatch.push_back(QObject::connect(screen, &QScreen::geometryChanged, &m_pump, changed));
    };
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
    m_screenWatch.push_back(QObject::connect(app, &QGuiApplication::screenAdded, &m_pump,
                                             [watch, changed](QScreen* screen) {
                                                 watch(screen);
                                                 changed();
                                             }));
    m_screenWatch.push_back(QObject::connect(app, &QGuiApplication::screenRemoved, &m_pump,
                                             [changed](QScreen*) { changed(); }));
    m_screenWatch.push_back(
        QObject::connect(app, &QGuiApplication::primaryScreenChanged, &m_pump,
                         [changed](QScreen*) { changed(); }));
}

QtDesktop::~QtDesktop() {
    for (const QMetaObject::Connection& connection : m_screenWatch) QObject::disconnect(connection);
    m_pump.SetAfterWork({});
    m_trays.clear();
    for (auto& entry : m_widgets) delete entry.second.data();
}

QtSkinWidget* QtDesktop::WidgetOf(WindowHandle window) const {
    auto it = m_widgets.find(window);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

void QtDesktop::UpdateScreenRect(WindowHandle window) {
    QScreen* screen = nullptr;
    if (QtSkinWidget* widget = WidgetOf(window)) screen = widget->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) CWindowWnd::SetScreenRect(FromQRect(screen->geometry()));
}

void QtDesktop::BringToFront(WindowHandle handle) {
    auto* window = dynamic_cast<WindowImplBase*>(CWindowWnd::FromHandle(handle));
    if (window == nullptr) return;
    if (window->IsMinimized()) window->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    window->ShowWindow(true);
    Sync();
    if (QtSkinWidget* widget = WidgetOf(handle)) {
        widget->raise();
        widget->activateWindow();
    }
}

void QtDesktop::OnDisplayChanged() {
    UpdateScreenRect();
    std::vector<WindowHandle> handles;
    for (CPaintManagerUI* manager : CPaintManagerUI::GetManagers()) {
        if (manager->GetPaintWindow() != 0) handles.push_back(manager->GetPaintWindow());
    }
    for (WindowHandle handle : handles) CMessageLoop::PostMessage(handle, kDisplayChangeMessage);
    m_pump.Wake();
}

QtTrayIcon* QtDesktop::AddTrayIcon(const CTrayIcon& icon) {
    for (auto& tray : m_trays) {
        if (tray.first == &icon) return tray.second.get();
    }
    m_trays.emplace_back(&icon, std::make_unique<QtTrayIcon>(icon, &m_pump));
    return m_trays.back().second.get();
}

void QtDesktop::RemoveTrayIcon(const CTrayIcon& icon) {
    for (auto it = m_trays.begin(); it != m_trays.end(); ++it) {
        if (it->first == &icon) {
            m_trays.erase(it);
            return;
        }
    }
}

QtSkinWidget* QtDesktop::PopupParent(WindowHandle owner) const {
    QtSkinWidget* widget = WidgetOf(owner);
    if (widget != nullptr && widget->isVisible()) return widget;
    for (const auto& entry : m_widgets) {
        QtSkinWidget* other = entry.second.data();
        if (other != nullptr && other->isVisible() && (other->windowFlags() & Qt::Popup) != Qt::Popup)
            return other;
    }
    return nullptr;
}

void QtDesktop::SetFirstPaintHandler(std::function<void(QtSkinWidget&)> handler) {
    m_firstPaint = std::move(handler);
}

QtSkinWidget* QtDesktop::Create(WindowImplBase& window) {
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    QWidget* parent = nullptr;
    if (window.GetWindowClassName() == "MenuWnd" ||
        (window.GetExStyle() & UI_WNDSTYLE_EX_NOACTIVATE) != 0) {
        // Menus close themselves when they lose the focus; a pop-up also loses it to a
        // click anywhere outside.
        flags = Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
        // A compositor places a pop-up only over a window it belongs to (Wayland has no
        // free-standing pop-ups): its owner, or else a window of ours on the screen.
        parent = PopupParent(window.GetOwner());
    } else if (QtSkinWidget* owner = WidgetOf(window.GetOwner())) {
        // Owned windows stay above their owner.
        parent = owner;
        flags = Qt::Dialog | Qt::FramelessWindowHint;
    }
    auto* widget = new QtSkinWidget(window.GetHWND(), m_images, &m_pump, parent, flags);
    widget->setWindowTitle(ToQString(window.GetTitle()));
    if (!QGuiApplication::windowIcon().isNull()) widget->setWindowIcon(QGuiApplication::windowIcon());
    if (m_firstPaint) widget->SetFirstPaintHandler(m_firstPaint);
    m_widgets[window.GetHWND()] = widget;
    return widget;
}

void QtDesktop::Sync() {
    if (m_syncing) return;  // a window's reaction to a sync ran more library work
    m_syncing = true;
    // Handles, not managers: a window's reaction to its sync may destroy another window.
    std::vector<WindowHandle> handles;
    for (CPaintManagerUI* manager : CPaintManagerUI::GetManagers()) {
        if (manager->GetPaintWindow() != 0) handles.push_back(manager->GetPaintWindow());
    }
    std::set<WindowHandle> alive;
    for (WindowHandle handle : handles) {
        auto* window = dynamic_cast<WindowImplBase*>(CWindowWnd::FromHandle(handle));
        if (window == nullptr) continue;
        alive.insert(handle);
        QtSkinWidget* widget = WidgetOf(handle);
        if (widget == nullptr) {
            if (!window->IsWindowVisible()) continue;  // no native window before it shows
            widget = Create(*window);
        }
        widget->SyncFromWindow();
    }
    for (auto it = m_widgets.begin(); it != m_widgets.end();) {
        if (alive.count(it->first) != 0 && it->second) {
            ++it;
            continue;
        }
        if (QtSkinWidget* widget = it->second.data()) {
            widget->hide();
            widget->deleteLater();  // it may be the one whose input closed the window
        }
        it = m_widgets.erase(it);
    }
    for (auto& tray : m_trays) tray.second->Sync();
    m_syncing = false;
}

}  // namespace ui::qt
