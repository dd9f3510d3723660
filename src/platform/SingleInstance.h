// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes sure one copy of the program runs per user session. The first copy holds an
// flock() on a lock file and listens on a Unix socket beside it, both mode 0600 in the
// runtime folder; a later copy cannot take the lock, connects, sends "activate" and
// should then exit with code 0 (or 1 when the holder of the lock cannot be reached).
// The kernel drops the lock when a copy dies, so a crash never blocks later starts: the
// next first copy replaces the stale socket file.
// Messages on the socket are described in LocalMessage.h.
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "Version.h"
#include "platform/LocalListener.h"
#include "platform/LocalMessage.h"
#include "platform/Paths.h"
#include "platform/UniqueFd.h"

namespace platform {

class SingleInstance {
public:
    static constexpr std::string_view kProductName = TX512_PRODUCT_NAME;

    enum class Outcome {
        First,       // this copy holds the lock and its socket is listening
        Woken,       // another copy runs and was sent "activate": exit with 0
        Unanswered,  // another copy holds the lock but did not take "activate": it cannot be reached
        Running,     // another copy holds the lock; it was not contacted (Acquire(Contact::Leave))
        Alone,       // this copy holds the lock but has no socket (see Error()): later copies
                     // cannot reach it, and cannot start beside it either
        Refused,     // the runtime folder or the lock file is unsafe or unusable; see Error()
    };
    enum class Contact { Wake, Leave };

    explicit SingleInstance(std::filesystem::path runtimeDir = RuntimeDir(),
                            std::string_view productName = kProductName);
    ~SingleInstance();  // Release()
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock and starts listening, or wakes the copy that holds it (unless told to
    // leave it alone). Connections made before Serve() wait in the socket's backlog and are
    // served then.
    Outcome Acquire(Contact contact = Contact::Wake);
    // Starts the listener thread (first copy only); false when this copy is not the first.
    bool Serve(LocalListener::Handler handler, LocalListener::Limits limits);
    bool Serve(LocalListener::Handler handler) { return Serve(std::move(handler), LocalListener::Limits{}); }
    // Before Serve: requests answered later (see LocalListener::DeferredHandler).
    void SetDeferredHandler(LocalListener::DeferredHandler handler) {
        listener_.SetDeferredHandler(std::move(handler));
    }
    // Pushes a message to every subscribed client (e.g. "light_state").
    void Broadcast(const LocalMessage& message);
    // Stops the listener, removes the socket file and drops the lock.
    void Release();
    // Runs `teardown` while this copy still holds the lock and its listener still answers
    // (a copy started meanwhile is woken instead of starting next to it), then Release(),
    // also when `teardown` throws.
    void ReleaseAfter(const std::function<void()>& teardown);

    bool IsFirst() const { return lock_.valid(); }
    const std::filesystem::path& LockPath() const { return lockPath_; }
    const std::filesystem::path& SocketPath() const { return socketPath_; }
    const std::string& Error() const { return error_; }

    // The product name with every character other than ASCII letters, digits, '-', '.'
    // and '_' replaced by '_'.
    static std::string FileSafeName(std::string_view productName);
    static std::filesystem::path SocketPathFor(const std::filesystem::path& runtimeDir,
                                               std::string_view productName = kProductName);

private:
    Outcome Refuse(std::string why);
    bool FolderIsSafe();
    Outcome ListenAsFirst();
    Outcome WakeFirst();

    std::filesystem::path runtimeDir_;
    std::filesystem::path lockPath_;
    std::filesystem::path socketPath_;
    std::string error_;
    UniqueFd lock_;
    UniqueFd socket_;
    ino_t socketInode_ = 0;
    LocalListener listener_;
};

}  // namespace platform
