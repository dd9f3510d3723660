// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "platform/Trace.h"

namespace platform {

namespace {

sigset_t TerminationSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    const sigset_t set = TerminationSet();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    signals_.Reset(signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!signals_.valid()) {
        // Without the watcher the signals must keep their default effect.
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    thread_.Start([this](Event& stop) { Run(stop); });
}

TerminationSignals::~TerminationSignals() { thread_.Stop(1000); }

void TerminationSignals::Run(Event& stop) {
    bool told = false;
    for (;;) {
        pollfd fds[2] = {{stop.fd(), POLLIN, 0}, {signals_.get(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[0].revents != 0) return;
        signalfd_siginfo info{};
        while (read(signals_.get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            const int number = static_cast<int>(info.ssi_signo);
            if (told) _exit(128 + number);
            told = true;
            TraceF("signal %d: ending\n", number);
            if (onSignal_) onSignal_(number);
        }
    }
}

}  // namespace platform
