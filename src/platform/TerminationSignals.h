// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ends the program cleanly when the session asks it to (SIGTERM at logout or shutdown,
// SIGINT from a terminal, SIGHUP when the terminal goes): instead of dying at once, with a
// device possibly in the middle of a configuration write, the program is told and quits
// through its usual path (channels closed, threads stopped).
//
// Construct it on the main thread before any other thread starts: the signals are then
// blocked in every thread and taken by this object's own thread only.
#include <functional>

#include "platform/UniqueFd.h"
#include "platform/WorkerThread.h"

namespace platform {

class TerminationSignals {
public:
    // `onSignal` runs on the watcher thread with the signal number; keep it short (post to
    // the UI thread). A second signal while the first is being handled ends the program
    // at once, for a user who really means it.
    explicit TerminationSignals(std::function<void(int)> onSignal);
    ~TerminationSignals();  // stops watching; the signals stay blocked
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool Watching() const { return signals_.valid(); }

private:
    void Run(Event& stop);

    std::function<void(int)> onSignal_;
    UniqueFd signals_;
    WorkerThread thread_;
};

}  // namespace platform
