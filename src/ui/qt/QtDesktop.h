// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop side of the library's windows: one native window for each skin window that
// has been shown, kept in step with it after every piece of library work, and the screen
// the library's windows are placed on. Windows are found through their paint managers, so
// menus and message boxes the library opens by itself appear like the program's own.
#include <QMetaObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/UIDefs.h"
#include "ui/qt/QtImageCache.h"

namespace ui {
class CTrayIcon;
class WindowImplBase;
}

namespace ui::qt {

class QtMessagePump;
class QtSkinWidget;
class QtTrayIcon;

class QtDesktop {
public:
    explicit QtDesktop(QtMessagePump& pump);
    ~QtDesktop();
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    // Native windows follow the library's: created when first shown, placed, shown,
    // hidden, raised, and dropped once the library's window is gone.
    void Sync();
    // The native window of a library window (null while it was never shown).
    QtSkinWidget* WidgetOf(WindowHandle window) const;
    QtImageCache& Images() { return m_images; }
    // Shows, restores and raises a window at once (a second copy of the program asked).
    void BringToFront(WindowHandle window);

    // Given to each native window made from now on: runs once after its first paint.
    void SetFirstPaintHandler(std::function<void(QtSkinWidget&)> handler);

    // The notification-area icon of a library tray icon, kept in step on every sync.
    // The CTrayIcon must stay alive until RemoveTrayIcon or the desktop's end.
    QtTrayIcon* AddTrayIcon(const CTrayIcon& icon);
    void RemoveTrayIcon(const CTrayIcon& icon);

    // Tells the library the size of the screen (the primary one, or the one holding
    // `window`), for centring and for choosing the DPI.
    void UpdateScreenRect(WindowHandle window = 0);
    // A screen came, went or changed size: the library learns the new size and every
    // window gets WM_DISPLAYCHANGE to lay itself out again.
    void OnDisplayChanged();

    static constexpr unsigned kDisplayChangeMessage = 0x007E;  // WM_DISPLAYCHANGE

private:
    QtSkinWidget* Create(WindowImplBase& window);
    // The window a pop-up is transient for: its owner while shown, else one shown.
    QtSkinWidget* PopupParent(WindowHandle owner) const;

    QtMessagePump& m_pump;
    QtImageCache m_images;
    std::map<WindowHandle, QPointer<QtSkinWidget>> m_widgets;
    std::vector<std::pair<const CTrayIcon*, std::unique_ptr<QtTrayIcon>>> m_trays;
    bool m_syncing = false;
    std::vector<QMetaObject::Connection> m_screenWatch;
    std::function<void(QtSkinWidget&)> m_firstPaint;
};

}  // namespace ui::qt
