// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sends input reports later, on a thread of its own: the slow replies of a simulated
// device. Reports go out in the order they fall due; Cancel drops what is still waiting.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Event.h"
#include "platform/WorkerThread.h"

namespace sim {

class DelayedSender {
public:
    using Send = std::function<void(int interfaceNumber, const std::vector<std::uint8_t>& report)>;

    explicit DelayedSender(Send send);
    ~DelayedSender();
    DelayedSender(const DelayedSender&) = delete;
    DelayedSender& operator=(const DelayedSender&) = delete;

    void SendAfter(int delayMs, int interfaceNumber, std::vector<std::uint8_t> report);
    // Runs `action` on the sender's thread after delayMs (kept in order with the reports).
    void RunAfter(int delayMs, std::function<void()> action);
    void Cancel();
    std::size_t Pending() const;

private:
    struct Item {
        std::chrono::steady_clock::time_point due;
        std::uint64_t sequence;
        std::function<void()> action;
    };
    void Loop(platform::Event& stop);

    Send send_;
    mutable std::mutex mutex_;
    std::vector<Item> items_;
    std::uint64_t nextSequence_ = 0;
    platform::Event wake_{platform::Event::Mode::AutoReset};
    platform::WorkerThread thread_;
};

}  // namespace sim
