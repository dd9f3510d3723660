// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/DelayedSender.h"

#include <algorithm>

namespace sim {

DelayedSender::DelayedSender(Send send) : send_(std::move(send)) {
    thread_.Start([this](platform::Event& stop) { Loop(stop); });
}

DelayedSender::~DelayedSender() {
    thread_.Stop();
}

void DelayedSender::SendAfter(int delayMs, int interfaceNumber, std::vector<std::uint8_t> report) {
    RunAfter(delayMs, [this, interfaceNumber, report = std::move(report)] {
        send_(interfaceNumber, report);
    });
}

void DelayedSender::RunAfter(int delayMs, std::function<void()> action) {
    {
        std::lock_guard lock(mutex_);
        items_.push_back(
            {std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(delayMs, 0)),
             nextSequence_++, std::move(action)});
    }
    wake_.Set();
}

void DelayedSender::Cancel() {
    std::lock_guard lock(mutex_);
    items_.clear();
}

std::size_t DelayedSender::Pending() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

void DelayedSender::Loop(platform::Event& stop) {
    for (;;) {
        std::function<void()> action;
        int waitMs = -1;
        {
            std::lock_guard lock(mutex_);
            auto next =
                std::min_element(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
                    return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
                });
            if (next != items_.end()) {
                const auto now = std::chrono::steady_clock::now();
                if (next->due <= now) {
                    action = std::move(next->action);
                    items_.erase(next);
                } else {
                    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next->due - now);
                    waitMs = static_cast<int>(left.count());
                }
            }
        }
        if (action) {
            action();
            continue;
        }
        if (platform::Event::WaitAny(stop, wake_, waitMs) == 0) return;
    }
}

}  // namespace sim
