// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalListener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>

#include "platform/LocalPeer.h"
#include "platform/Trace.h"
#include "platform/UniqueFd.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxQueuedBroadcasts = 64;
constexpr int kMaxAcceptsPerRound = 16;

}  // namespace

struct LocalListener::Connection {
    std::uint64_t serial = 0;
    int owed = 0;  // deferred answers not yet queued
    UniqueFd fd;
    std::string in;
    std::string out;
    Clock::time_point deadline;
    bool subscribed = false;
    bool readClosed = false;
    bool closing = false;  // closed once what is queued has been sent
    bool dead = false;
};

// Shared with the Reply functions, which may outlive the listener.
struct LocalListener::Replies {
    std::mutex mutex;
    Event* wake = nullptr;  // null once the listener is gone
    std::vector<std::pair<std::uint64_t, std::string>> lines;
};

namespace {

void Flush(std::string& out, int fd, bool& dead) {
    while (!out.empty()) {
        ssize_t n = ::send(fd, out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            out.erase(0, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            dead = true;
            return;
        }
    }
}

}  // namespace

LocalListener::~LocalListener() {
    Stop();
    if (replies_) {
        std::lock_guard lock(replies_->mutex);
        replies_->wake = nullptr;
    }
}

void LocalListener::Start(int listenFd, Handler handler, Limits limits) {
    Stop();
    listenFd_ = listenFd;
    handler_ = std::move(handler);
    limits_ = limits;
    if (replies_) {
        std::lock_guard lock(replies_->mutex);
        replies_->wake = nullptr;
    }
    replies_ = std::make_shared<Replies>();
    replies_->wake = &wake_;
    {
        std::lock_guard lock(broadcastMutex_);
        broadcasts_.clear();
    }
    // accept() must never block the loop, whoever created the socket.
    int flags = ::fcntl(listenFd_, F_GETFL);
    if (flags >= 0) ::fcntl(listenFd_, F_SETFL, flags | O_NONBLOCK);
    worker_.Start([this](Event& stop) { Run(stop); });
}

void LocalListener::Stop() {
    worker_.Stop();
}

void LocalListener::Broadcast(const LocalMessage& message) {
    {
        std::lock_guard lock(broadcastMutex_);
        if (broadcasts_.size() >= kMaxQueuedBroadcasts) broadcasts_.erase(broadcasts_.begin());
        broadcasts_.push_back(message.Encode());
    }
    wake_.Set();
}

void LocalListener::Run(Event& stop) {
    std::vector<Connection> connections;
    std::vector<pollfd> fds;
    std::uint64_t serial = 0;

    auto queue = [this](Connection& c, const std::string& line) {
        if (c.out.size() + line.size() > limits_.maxQueuedBytes) {
            c.dead = true;  // a client that does not read loses its connection, not our memory
            return;
        }
        c.out += line;
        Flush(c.out, c.fd.get(), c.dead);
    };

    auto handleLine = [&](Connection& c, std::string_view line) {
        auto message = LocalMessage::Parse(line);
        if (!message) {
            Trace("local message dropped: malformed line\n");
            return;
        }
        if (message->Is(LocalMessage::kSubscribe)) {
            if (c.subscribed) return;
            const auto subscribers = std::count_if(connections.begin(), connections.end(),
                                                   [](const Connection& o) { return o.subscribed; });
            if (static_cast<std::size_t>(subscribers) >= limits_.maxSubscriptions) {
                queue(c, LocalMessage::Refused(LocalMessage::kTooManySubscriptions).Encode());
                c.closing = true;
                return;
            }
            c.subscribed = true;
            return;
        }
        if (deferred_) {
            std::weak_ptr<Replies> weak = replies_;
            const std::uint64_t to = c.serial;
            auto answered = std::make_shared<std::atomic<bool>>(false);
            Reply reply = [weak, to, answered](const LocalMessage& answer) {
                if (answered->exchange(true)) return;
                const auto replies = weak.lock();
                if (!replies) return;
                std::lock_guard lock(replies->mutex);
                if (replies->wake == nullptr) return;
                replies->lines.emplace_back(to, answer.Encode());
                replies->wake->Set();
            };
            bool taken = false;
            try {
                taken = deferred_(*message, reply);
            } catch (...) {
                Trace("local message handler failed\n");
            }
            if (taken) {
                ++c.owed;
                return;
            }
        }
        std::optional<LocalMessage> answer;
        try {
            answer = handler_(*message);
        } catch (...) {
            Trace("local message handler failed\n");
        }
        if (answer) queue(c, answer->Encode());
    };

    auto readFrom = [&](Connection& c) {
        char buffer[8192];
        std::size_t budget = LocalMessage::kMaxLineBytes;  // one busy client cannot starve the others
        while (budget > 0 && !c.dead && !c.closing) {
            ssize_t n = ::recv(c.fd.get(), buffer, std::min(sizeof buffer, budget), MSG_DONTWAIT);
            if (n == 0) {
                c.readClosed = true;
                return;
            }
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno != EAGAIN && errno != EWOULDBLOCK) c.dead = true;
                return;
            }
            budget -= static_cast<std::size_t>(n);
            c.in.append(buffer, static_cast<std::size_t>(n));
            std::size_t start = 0;
            for (auto newline = c.in.find('\n'); newline != std::string::npos && !c.dead && !c.closing;
                 newline = c.in.find('\n', start)) {
                std::string_view line(c.in.data() + start, newline - start);
                start = newline + 1;
                if (line.size() >= LocalMessage::kMaxLineBytes) {
                    c.dead = true;
                    break;
                }
                c.deadline = Clock::now() + std::chrono::milliseconds(limits_.idleMs);
                handleLine(c, line);
            }
            c.in.erase(0, start);
            if (c.in.size() >= LocalMessage::kMaxLineBytes) {
                Trace("local message dropped: line too long\n");
                c.dead = true;
            }
        }
    };

    // Closes the connection that has waited longest without a line, as long as nobody
    // relies on it (neither subscribed nor owed an answer); false when every one is.
    auto makeRoom = [&] {
        Connection* oldest = nullptr;
        for (auto& c : connections) {
            if (c.subscribed || c.owed > 0 || c.dead) continue;
            if (oldest == nullptr || c.deadline < oldest->deadline) oldest = &c;
        }
        if (oldest == nullptr) return false;
        connections.erase(connections.begin() + (oldest - connections.data()));
        return true;
    };

    auto acceptAll = [&] {
        for (int i = 0; i < kMaxAcceptsPerRound; ++i) {
            UniqueFd fd(::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (!fd.valid()) {
                if (errno == EINTR) continue;
                return;
            }
            if (!PeerIsThisUser(fd.get())) continue;
            if (connections.size() >= limits_.maxConnections && !makeRoom()) {
                // Told why and closed at once: a waiting backlog would only make clients
                // time out later, and a silent close looks like a copy that cannot answer.
                bool ignored = false;
                std::string line = LocalMessage::Refused(LocalMessage::kTooManyConnections).Encode();
                Flush(line, fd.get(), ignored);
                continue;
            }
            Connection c;
            c.serial = ++serial;
            c.fd = std::move(fd);
            c.deadline = Clock::now() + std::chrono::milliseconds(limits_.idleMs);
            connections.push_back(std::move(c));
        }
    };

    auto takeBroadcasts = [&] {
        wake_.Wait(0);
        std::vector<std::pair<std::uint64_t, std::string>> replies;
        {
            std::lock_guard lock(replies_->mutex);
            replies.swap(replies_->lines);
        }
        for (const auto& [to, line] : replies) {
            for (auto& c : connections) {
                if (c.serial != to || c.dead) continue;
                --c.owed;
                c.deadline = Clock::now() + std::chrono::milliseconds(limits_.idleMs);
                queue(c, line);
            }
        }
        std::vector<std::string> lines;
        {
            std::lock_guard lock(broadcastMutex_);
            lines.swap(broadcasts_);
        }
        for (auto& c : connections)
            if (c.subscribed)
                for (const auto& line : lines)
                    if (!c.dead) queue(c, line);
    };

    for (;;) {
        fds.clear();
        fds.push_back({stop.fd(), POLLIN, 0});
        fds.push_back({wake_.fd(), POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        int timeout = -1;
        for (auto& c : connections) {
            short events = 0;
            if (!c.readClosed && !c.closing) events |= POLLIN;
            if (!c.out.empty()) events |= POLLOUT;
            fds.push_back({c.fd.get(), events, 0});
            if (!c.subscribed && c.owed == 0) {
                int left = MsLeft(c.deadline);
                timeout = timeout < 0 ? left : std::min(timeout, left);
            }
        }
        int r = ::poll(fds.data(), fds.size(), timeout);
        if (r < 0 && errno != EINTR) {
            Trace("local listener: poll failed\n");
            return;
        }
        if (stop.IsSet()) return;
        if (r > 0) {
            for (std::size_t i = 0; i < connections.size(); ++i) {
                Connection& c = connections[i];
                const short revents = fds[3 + i].revents;
                if (revents & POLLOUT) Flush(c.out, c.fd.get(), c.dead);
                if (revents & (POLLIN | POLLHUP | POLLERR)) readFrom(c);
                // A peer gone both ways can never read an answer, and poll() reports the
                // hang-up again at once on every round, so the connection goes now, even
                // one still owed an answer (that answer is dropped when it comes).
                // A peer that only shut its writing side still waits for its answer.
                if ((revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) c.dead = true;
            }
            if (fds[1].revents & POLLIN) takeBroadcasts();
            if (fds[2].revents & POLLIN) acceptAll();
        }
        const auto now = Clock::now();
        std::erase_if(connections, [now](const Connection& c) {
            if (c.dead || (c.closing && c.out.empty())) return true;
            if (c.owed > 0) return false;
            return (c.readClosed && c.out.empty()) || (!c.subscribed && now >= c.deadline);
        });
    }
}

}  // namespace platform
