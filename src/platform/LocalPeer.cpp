// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalPeer.h"

#include <sys/socket.h>
#include <unistd.h>

namespace platform {

int MsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left) + 1;
}

bool PeerIsThisUser(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::getuid();
}

}  // namespace platform
