// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/LocalClient.h"
#include "platform/Trace.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// How long a second copy keeps trying to reach the first: the first may be between
// taking the lock and listening.
constexpr int kWakeLimitMs = 1000;
constexpr int kWakeRetryMs = 20;

}  // namespace

SingleInstance::SingleInstance(fs::path runtimeDir, std::string_view productName)
    : runtimeDir_(std::move(runtimeDir)),
      lockPath_(runtimeDir_ / (FileSafeName(productName) + ".lock")),
      socketPath_(SocketPathFor(runtimeDir_, productName)) {}

SingleInstance::~SingleInstance() { Release(); }

std::string SingleInstance::FileSafeName(std::string_view productName) {
    std::string name(productName);
    for (char& c : name) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '.' || c == '_';
        if (!safe) c = '_';
    }
    return name;
}

fs::path SingleInstance::SocketPathFor(const fs::path& runtimeDir, std::string_view productName) {
    return runtimeDir / (FileSafeName(productName) + ".sock");
}

SingleInstance::Outcome SingleInstance::Refuse(std::string why) {
    error_ = std::move(why);
    TraceF("single instance refused: %s\n", error_.c_str());
    return Outcome::Refused;
}

bool SingleInstance::FolderIsSafe() {
    struct stat st{};
    if (::stat(runtimeDir_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error_ = "runtime folder missing: " + runtimeDir_.string();
        return false;
    }
    if (st.st_uid != ::getuid() && st.st_uid != 0) {
        error_ = "runtime folder owned by another user: " + runtimeDir_.string();
        return false;
    }
    // Others could swap our files in a shared folder unless the sticky bit protects them.
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0) {
        error_ = "runtime folder writable by others: " + runtimeDir_.string();
        return false;
    }
    return true;
}

SingleInstance::Outcome SingleInstance::Acquire(Contact contact) {
    if (IsFirst()) return socket_.valid() ? Outcome::First : Outcome::Alone;
    error_.clear();
    if (!FolderIsSafe()) return Refuse(error_);

    UniqueFd lock(::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.valid()) return Refuse("cannot open lock file: " + std::string(std::strerror(errno)));
    struct stat st{};
    if (::fstat(lock.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid())
        return Refuse("lock file is not a file of this user: " + lockPath_.string());
    ::fchmod(lock.get(), 0600);

    for (;;) {
        if (::flock(lock.get(), LOCK_EX | LOCK_NB) == 0) break;
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return contact == Contact::Wake ? WakeFirst() : Outcome::Running;
        return Refuse("cannot lock: " + std::string(std::strerror(errno)));
    }
    // Held whatever becomes of the socket: a copy without one still keeps others from
    // starting beside it.
    lock_ = std::move(lock);
    if (ListenAsFirst() == Outcome::First) return Outcome::First;
    return Outcome::Alone;
}

SingleInstance::Outcome SingleInstance::ListenAsFirst() {
    const std::string path = socketPath_.string();
    if (path.size() >= sizeof(sockaddr_un{}.sun_path)) return Refuse("socket path too long: " + path);
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0) {
        if (st.st_uid != ::getuid()) return Refuse("socket path owned by another user: " + path);
        // We hold the lock, so whatever is there was left by a copy that died.
        if (::unlink(path.c_str()) != 0) return Refuse("cannot remove stale socket: " + path);
    }

    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) return Refuse("cannot create socket");
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return Refuse("cannot bind socket: " + std::string(std::strerror(errno)));
    // Nobody can connect before listen(), so tightening the mode here leaves no window.
    if (::chmod(path.c_str(), 0600) != 0 || ::lstat(path.c_str(), &st) != 0) {
        ::unlink(path.c_str());
        return Refuse("cannot protect socket: " + path);
    }
    if (::listen(fd.get(), 16) != 0) {
        ::unlink(path.c_str());
        return Refuse("cannot listen: " + std::string(std::strerror(errno)));
    }
    socketInode_ = st.st_ino;
    socket_ = std::move(fd);
    return Outcome::First;
}

SingleInstance::Outcome SingleInstance::WakeFirst() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWakeLimitMs);
    do {
        if (LocalClient::Post(socketPath_, LocalMessage(LocalMessage::kActivate), kWakeLimitMs))
            return Outcome::Woken;
        std::this_thread::sleep_for(std::chrono::milliseconds(kWakeRetryMs));
    } while (std::chrono::steady_clock::now() < deadline);
    error_ = "the running copy did not answer";
    return Outcome::Unanswered;
}

bool SingleInstance::Serve(LocalListener::Handler handler, LocalListener::Limits limits) {
    if (!socket_.valid()) return false;
    listener_.Start(socket_.get(), std::move(handler), limits);
    return true;
}

void SingleInstance::Broadcast(const LocalMessage& message) {
    if (socket_.valid()) listener_.Broadcast(message);
}

void SingleInstance::Release() {
    listener_.Stop();
    if (socket_.valid()) {
        // Only our own socket file: never one a later first copy put there.
        struct stat st{};
        if (::lstat(socketPath_.c_str(), &st) == 0 && st.st_ino == socketInode_) ::unlink(socketPath_.c_str());
        socket_.Reset();
    }
    // The lock file stays: unlinking it would let two copies lock two different files.
    lock_.Reset();
}

void SingleInstance::ReleaseAfter(const std::function<void()>& teardown) {
    struct ReleaseAtEnd {
        SingleInstance& instance;
        ~ReleaseAtEnd() { instance.Release(); }
    } releaseAtEnd{*this};
    if (teardown) teardown();
}

}  // namespace platform
