// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the desktop shows tray icons, for the main window's tray icon: asked of Qt at
// start and again whenever a decision rests on it (the icon's host query), and followed
// on the session bus while the program runs, where status notifier hosts announce
// themselves, so that nothing polls. Without a session bus only the asking remains.
//
// Qt settles at start whether its tray icons go over the bus; a host that appears later
// may therefore stay unseen (the answer is then "none", and closing ends the program
// rather than hiding it where nobody can reach it).
#include <QObject>

#include "ui/UIDefs.h"

class QDBusServiceWatcher;

namespace ui {
class CTrayIcon;
}

namespace app {

class TrayHostWatcher : public QObject {
    Q_OBJECT
public:
    explicit TrayHostWatcher(ui::CTrayIcon& tray);
    ~TrayHostWatcher() override;
    bool IsShown() const;

private Q_SLOTS:
    void OnHostChanged();

private:
    ui::CTrayIcon& tray_;
    QDBusServiceWatcher* watcher_ = nullptr;
};

}  // namespace app
