// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/LocalPeer.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineAfter(int timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
}

// Waits for `events` on fd until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        int r = ::poll(&p, 1, MsLeft(deadline));
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return false;
    }
}

}  // namespace

bool LocalClient::Connect(const std::filesystem::path& socketPath, int timeoutMs) {
    Close();
    const std::string path = socketPath.string();
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) return false;
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid()) return false;

    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    auto deadline = DeadlineAfter(timeoutMs);
    for (;;) {
        if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) break;
        if (errno == EINTR) continue;
        // A full backlog answers EAGAIN on a non-blocking Unix socket: retry until the limit.
        if (errno != EAGAIN || MsLeft(deadline) == 0) return false;
        ::usleep(5000);
    }
    if (!PeerIsThisUser(fd.get())) return false;
    fd_ = std::move(fd);
    pending_.clear();
    return true;
}

void LocalClient::Close() {
    fd_.Reset();
    pending_.clear();
}

bool LocalClient::Send(const LocalMessage& message, int timeoutMs) {
    if (!fd_.valid()) return false;
    const std::string line = message.Encode();
    auto deadline = DeadlineAfter(timeoutMs);
    std::size_t sent = 0;
    while (sent < line.size()) {
        ssize_t n = ::send(fd_.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd_.get(), POLLOUT, deadline)) continue;
        // A peer that said why it closed left that line behind: Receive() can still read it.
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET)) return false;
        Close();
        return false;
    }
    return true;
}

std::optional<LocalMessage> LocalClient::Receive(int timeoutMs) {
    auto deadline = DeadlineAfter(timeoutMs);
    while (fd_.valid()) {
        for (auto newline = pending_.find('\n'); newline != std::string::npos; newline = pending_.find('\n')) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            if (auto message = LocalMessage::Parse(line)) return message;
        }
        if (pending_.size() >= LocalMessage::kMaxLineBytes) break;
        char buffer[4096];
        ssize_t n = ::recv(fd_.get(), buffer, sizeof buffer, 0);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd_.get(), POLLIN, deadline)) return std::nullopt;  // time-out keeps the link
            continue;
        }
        break;  // closed by the peer, or an error
    }
    Close();
    return std::nullopt;
}

std::optional<LocalMessage> LocalClient::Request(const LocalMessage& message, int timeoutMs) {
    auto deadline = DeadlineAfter(timeoutMs);
    if (!Send(message, timeoutMs)) return Connected() ? Receive(0) : std::nullopt;
    return Receive(MsLeft(deadline));
}

bool LocalClient::Post(const std::filesystem::path& socketPath, const LocalMessage& message, int timeoutMs) {
    LocalClient client;
    auto deadline = DeadlineAfter(timeoutMs);
    return client.Connect(socketPath, timeoutMs) && client.Send(message, MsLeft(deadline));
}

}  // namespace platform
