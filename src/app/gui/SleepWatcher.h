// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's sleep signal: logind announces on the system bus that the computer is
// about to sleep and that it woke up (PrepareForSleep). The main window hears it as the
// power messages it knows (suspend, automatic resume). Without a system bus, or without
// logind, nothing is heard and the program simply never learns of sleep.
#include <QObject>

#include "ui/UIDefs.h"

namespace app {

class SleepWatcher : public QObject {
    Q_OBJECT
public:
    explicit SleepWatcher(ui::WindowHandle mainWindow);
    bool IsListening() const { return listening_; }

private Q_SLOTS:
    void OnPrepareForSleep(bool sleeping);

private:
    ui::WindowHandle window_;
    bool listening_ = false;
};

}  // namespace app
