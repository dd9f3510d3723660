// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/TrayHostWatcher.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QSystemTrayIcon>

#include "platform/Trace.h"
#include "ui/CTrayIcon.h"

namespace app {

namespace {

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";

void TraceHost(bool shown) {
    platform::Trace(shown ? "tray: a tray host shows the icon\n"
                          : "tray: no tray host; closing the window ends the program\n");
}

}  // namespace

TrayHostWatcher::TrayHostWatcher(ui::CTrayIcon& tray) : tray_(tray) {
    tray_.SetHostQuery([] { return QSystemTrayIcon::isSystemTrayAvailable(); });
    TraceHost(tray_.RefreshHost());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    watcher_ = new QDBusServiceWatcher(kWatcherService, bus,
                                       QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { OnHostChanged(); });
    // A host may also come to (or leave) a watcher that stays.
    bus.connect(kWatcherService, kWatcherPath, kWatcherService, "StatusNotifierHostRegistered",
                this, SLOT(OnHostChanged()));
    bus.connect(kWatcherService, kWatcherPath, kWatcherService, "StatusNotifierHostUnregistered",
                this, SLOT(OnHostChanged()));
}

TrayHostWatcher::~TrayHostWatcher() {
    tray_.SetHostQuery({});
}

bool TrayHostWatcher::IsShown() const {
    return tray_.IsHostShown();
}

void TrayHostWatcher::OnHostChanged() {
    const bool before = tray_.IsHostShown();
    if (tray_.RefreshHost() != before) TraceHost(!before);
}

}  // namespace app
