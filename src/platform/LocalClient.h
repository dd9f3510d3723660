// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The client end of the running copy's local socket: connect, send lines and wait for
// answers, each step within a time limit. Only a socket file owned by this user and
// served by a process of this user is accepted.
#include <filesystem>
#include <optional>
#include <string>

#include "platform/LocalMessage.h"
#include "platform/UniqueFd.h"

namespace platform {

class LocalClient {
public:
    bool Connect(const std::filesystem::path& socketPath, int timeoutMs);
    bool Connected() const { return fd_.valid(); }
    void Close();

    // False when the line could not be sent; a peer that closed stays readable for what
    // it sent before (a "refused").
    bool Send(const LocalMessage& message, int timeoutMs);
    // The next well-formed message within the limit; malformed lines are skipped.
    // An over-long line or the peer closing ends the connection.
    std::optional<LocalMessage> Receive(int timeoutMs);
    // Send, then wait for the answer; the limit covers both.
    std::optional<LocalMessage> Request(const LocalMessage& message, int timeoutMs);

    // Connect, send, close: for messages that have no answer.
    static bool Post(const std::filesystem::path& socketPath, const LocalMessage& message, int timeoutMs);

private:
    UniqueFd fd_;
    std::string pending_;
};

}  // namespace platform
