// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What both ends of the local socket check: how long a poll() may still wait for a
// deadline, and that the process at the other end runs as this user.
#include <chrono>

namespace platform {

// Milliseconds left until `deadline` for poll(): 0 once it has passed, rounded up before,
// so that a wait never returns just short of its deadline.
int MsLeft(std::chrono::steady_clock::time_point deadline);

// True when the peer of the connected Unix socket `fd` has this process's user id.
bool PeerIsThisUser(int fd);

}  // namespace platform
