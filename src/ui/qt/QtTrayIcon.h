// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon of a CTrayIcon: shown while the library's tray icon is, with
// its tool-tip. A left click reaches the owner window as WM_LBUTTONUP through the tray
// icon's message (the window decides to show or hide itself); a right click as
// WM_RBUTTONUP, or, when a menu layout was given, opens that menu natively (which also
// works where the desktop draws tray menus itself) and reports the chosen item to the
// owner as a menu of the library does (WM_MENUCLICK with a MenuCmd).
//
// The CTrayIcon must outlive this object.
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/UIDefs.h"

class QMenu;

namespace ui {
class CTrayIcon;
}

namespace ui::qt {

class QtMessagePump;

class QtTrayIcon : public QObject {
public:
    QtTrayIcon(const CTrayIcon& icon, QtMessagePump* pump, QObject* parent = nullptr);
    ~QtTrayIcon() override;

    // The picture (by default the application's window icon, else a drawn keyboard).
    void SetIcon(const QIcon& icon);
    // The tray menu from an XML menu layout (identifier, skin file or XML text); its
    // items go to `owner`. False when the layout does not build into a menu.
    bool SetMenuXml(WindowHandle owner, std::string_view xml);
    QMenu* Menu() const { return m_menu.get(); }
    // Item names of the tray menu, in order (rebuilt from the layout, in the current
    // language, each time the menu opens).
    std::vector<std::string> MenuItemNames() const;

    // Follows the library's icon: visibility and tool-tip.
    void Sync();
    bool IsShown() const { return m_tray.isVisible(); }
    QString ToolTip() const { return m_tray.toolTip(); }

    // What a click on the icon does (the system tray calls it; tests may too).
    void Activate(QSystemTrayIcon::ActivationReason reason);

    static QIcon DefaultIcon();

private:
    void RebuildMenu();
    void Choose(const std::string& name, const std::string& userData, const std::string& text,
                bool checked);

    const CTrayIcon& m_icon;
    QPointer<QtMessagePump> m_pump;
    QSystemTrayIcon m_tray;
    std::unique_ptr<QMenu> m_menu;
    WindowHandle m_menuOwner = 0;
    std::string m_menuXml;
};

}  // namespace ui::qt
