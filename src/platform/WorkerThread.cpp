// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WorkerThread.h"

#include <exception>

namespace platform {

struct WorkerThread::State {
    Event done{Event::Mode::ManualReset};
    bool threw = false;
};

WorkerThread::~WorkerThread() {
    if (thread_.joinable()) Stop();
}

void WorkerThread::Start(std::function<void(Event& stop)> body) {
    if (thread_.joinable()) Stop();
    stop_.Reset();
    auto state = std::make_shared<State>();
    state_ = state;
    Event* stop = &stop_;
    thread_ = std::thread([state, stop, body = std::move(body)] {
        try {
            body(*stop);
        } catch (...) {
            state->threw = true;
        }
        state->done.Set();
    });
}

WorkerThread::StopResult WorkerThread::Stop(int waitMs) {
    if (!thread_.joinable()) return StopResult::Error;
    stop_.Set();
    const bool ended = state_->done.Wait(waitMs);
    thread_.join();
    if (!ended) return StopResult::TimedOut;
    return state_->threw ? StopResult::Abandoned : StopResult::Ended;
}

bool WorkerThread::Running() const { return thread_.joinable() && !state_->done.IsSet(); }

std::string_view WorkerThread::ExitText(StopResult result) {
    switch (result) {
        case StopResult::Ended:
            return "线程退出：：对象处于激发状态\n";
        case StopResult::Abandoned:
            return "线程退出：：对象处于激发状态，但其中有未释放的Mutex 对象\n";
        case StopResult::TimedOut:
            return "线程退出：：对象处于非激发状态，超时\n";
        case StopResult::Error:
            break;
    }
    return "线程退出：：错误\n";
}

}  // namespace platform
