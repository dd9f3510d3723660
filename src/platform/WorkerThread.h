// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A worker thread with its manual-reset stop event and a bounded stop.
// A Linux thread cannot be killed, so every blocking wait inside a body must also
// wait on StopEvent() (Event::Wait/WaitAny, or poll() on its fd); then the bounded
// stop always ends in time.
#include <functional>
#include <memory>
#include <string_view>
#include <thread>

#include "platform/Event.h"

namespace platform {

class WorkerThread {
public:
    // Ended: the body returned in time. Abandoned: the body ended by an exception.
    // TimedOut: the body did not return within the limit. Error: no thread was running.
    enum class StopResult { Ended, Abandoned, TimedOut, Error };

    WorkerThread() = default;
    ~WorkerThread();  // stops with the default limit
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Stops a running body first, resets the stop event and starts `body`.
    void Start(std::function<void(Event& stop)> body);

    // Sets the stop event and waits up to `waitMs` for the body. On TimedOut the call
    // still joins the thread afterwards (its body may use objects about to be freed),
    // so a body that ignores its stop event is a bug that shows here as a hang.
    StopResult Stop(int waitMs = 1000);

    bool Running() const;
    Event& StopEvent() { return stop_; }

    // The device threads' debug texts for each outcome ("线程退出：：…").
    static std::string_view ExitText(StopResult result);

private:
    struct State;
    Event stop_{Event::Mode::ManualReset};
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace platform
