// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serves a listening Unix socket on a worker thread: reads message lines from every
// connection, hands each well-formed message to the handler and writes back the
// handler's answer, if any. Nothing a client does can hold the thread: sockets are
// non-blocking, each connection has a size limit for its buffers and an idle limit,
// the number of connections is capped, and every wait also watches the stop event.
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/LocalMessage.h"
#include "platform/WorkerThread.h"

namespace platform {

class LocalListener {
public:
    // Runs on the listener thread; keep it short (post to the UI thread and return).
    using Handler = std::function<std::optional<LocalMessage>(const LocalMessage&)>;

    // Answers that come later, from any thread, at most one per request: for requests
    // that take a while (a command writing to a device). A reply for a connection that
    // has closed meanwhile is dropped.
    using Reply = std::function<void(const LocalMessage&)>;
    // Runs on the listener thread before the plain handler; true when it took the
    // message and will answer through the Reply. While an answer is owed, the connection
    // is not closed for being idle.
    using DeferredHandler = std::function<bool(const LocalMessage&, const Reply&)>;

    struct Limits {
        int idleMs = 2000;  // a connection with no complete line for this long is closed
        // When all are taken, the one that has gone longest without a line makes room,
        // unless every one is subscribed or owed an answer: then the newcomer is told
        // "refused" and closed.
        std::size_t maxConnections = 32;
        // Subscribers stay for as long as they like, so they get fewer places than there
        // are connections: the others always leave room for a command.
        std::size_t maxSubscriptions = 8;
        std::size_t maxQueuedBytes = 4 * LocalMessage::kMaxLineBytes;  // unsent answers per connection
    };

    LocalListener() = default;
    ~LocalListener();
    LocalListener(const LocalListener&) = delete;
    LocalListener& operator=(const LocalListener&) = delete;

    // `listenFd` stays owned by the caller and must outlive Stop().
    void Start(int listenFd, Handler handler, Limits limits);
    void Start(int listenFd, Handler handler) { Start(listenFd, std::move(handler), Limits{}); }
    // Before Start.
    void SetDeferredHandler(DeferredHandler handler) { deferred_ = std::move(handler); }
    void Stop();
    bool Running() const { return worker_.Running(); }

    // Queues `message` for every connection that sent "subscribe"; any thread.
    void Broadcast(const LocalMessage& message);

private:
    struct Connection;
    struct Replies;
    void Run(Event& stop);

    WorkerThread worker_;
    int listenFd_ = -1;
    Handler handler_;
    DeferredHandler deferred_;
    Limits limits_;
    std::shared_ptr<Replies> replies_;

    Event wake_{Event::Mode::AutoReset};
    std::mutex broadcastMutex_;
    std::vector<std::string> broadcasts_;
};

}  // namespace platform
