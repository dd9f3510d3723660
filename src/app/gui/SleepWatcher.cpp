// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/SleepWatcher.h"

#include <QDBusConnection>

#include "app/ShellIds.h"
#include "platform/Trace.h"
#include "ui/CMessageLoop.h"

namespace app {

SleepWatcher::SleepWatcher(ui::WindowHandle mainWindow) : window_(mainWindow) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        platform::Trace("sleep: no system bus, sleep and wake are not followed\n");
        return;
    }
    listening_ = bus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                             "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                             SLOT(OnPrepareForSleep(bool)));
    if (!listening_) platform::Trace("sleep: logind's PrepareForSleep is not available\n");
}

void SleepWatcher::OnPrepareForSleep(bool sleeping) {
    ui::CMessageLoop::PostMessage(window_, kWmPowerBroadcast,
                                  sleeping ? kPbtSuspend : kPbtResumeAutomatic, 0);
}

}  // namespace app
