// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one thread that talks to a device on behalf of the UI. The UI thread queues an
// operation (the connection routine, a settings read after a device event, the light
// control, a settings block, a key table, a macro image, a colour page ...); the worker
// runs the operations one after another, in the order they were queued, and hands each
// result back to the UI thread, where the operation's completion runs. So the window
// keeps answering whatever the device does: a keyboard that stops answering costs the
// worker its time limits, never the UI.
//
// Operations of one `area` coalesce: when an operation is queued while another of the
// same area still waits (has not started), the waiting one is dropped and the new one
// goes to the end of the queue, and both completions get the new one's result. Dragging
// a slider over a slow keyboard thus ends with the final value on the device, not with a
// backlog of stale writes. Operations without an area never coalesce.
//
// Each operation gets a Session whose command set is bound to the connection that was
// open when the operation was queued: once that connection closes, the operation's
// commands send nothing (even on a channel opened again since), so nothing queued for an
// unplugged keyboard ever reaches the next one.
//
// Cancel() drops every waiting operation (an unplug, shutdown); their completions run
// with `cancelled` set. Stop() cancels and ends the thread; it keeps to its time limit
// only once the owner has closed the channel, which cuts any wait the running operation
// is in (the commands themselves do not watch the stop event).
//
// Threads: Post, Cancel, Stop and Idle may be called from any thread, but completions
// only ever run on the UI thread of the loop given to SetUiLoop, and never after the
// worker is destroyed; destroy it on that UI thread, so that no completion is running
// while it goes. Without a loop, completions are dropped. The work functions run on the
// worker thread and must not touch state the UI thread owns.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "platform/Event.h"
#include "platform/WorkerThread.h"

namespace ui {
class CMessageLoop;
}

namespace model {

// What a completion learns: the operation's result, or that it never ran.
template <class R>
struct Completion {
    R value{};
    bool cancelled = false;
};

class DeviceWorker {
public:
    struct Session {
        device::CommandSet commands;
        // Set when the worker is stopping: a pause inside an operation waits on it.
        platform::Event& stop;
        bool Current() const { return commands.Usable(); }
    };

    explicit DeviceWorker(device::CommandChannel& channel);
    ~DeviceWorker();  // Stop()
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    void SetUiLoop(ui::CMessageLoop* loop) { loop_.store(loop); }
    ui::CMessageLoop* UiLoop() const { return loop_.load(); }

    // Queues `work`; `done` (may be empty) runs on the UI thread with its result. An empty
    // `area` never coalesces.
    template <class R>
    void Post(std::string area, std::function<R(Session&)> work,
              std::function<void(const Completion<R>&)> done = {});

    // Drops every operation that has not started; their completions run cancelled.
    void Cancel();
    // Cancel(), then ends the thread, waiting at most `waitMs` for a running operation.
    platform::WorkerThread::StopResult Stop(int waitMs = 1000);

    // Nothing waits, nothing runs, and no completion is still on its way to the UI.
    bool Idle() const;
    std::size_t Waiting() const;

private:
    struct Job {
        std::string area;
        std::shared_ptr<void> slot;  // the typed Slot<R> of Post<R>
        std::uint64_t connection = 0;
        std::function<void(Session&)> run;
        std::function<void()> cancel;
    };
    template <class R>
    struct Slot {
        std::function<R(Session&)> work;
        std::vector<std::function<void(const Completion<R>&)>> dones;
    };

    void Enqueue(Job job, const std::function<void(Job& waiting)>& merge);
    void EnsureThread();
    void RunThread(platform::Event& stop);
    // Runs `task` on the UI thread while this worker lives.
    void ToUi(std::function<void()> task);
    template <class R>
    void Deliver(std::shared_ptr<Slot<R>> slot, Completion<R> result);

    device::CommandChannel& channel_;
    std::atomic<ui::CMessageLoop*> loop_{nullptr};
    mutable std::mutex mutex_;
    std::deque<Job> queue_;
    bool running_ = false;  // an operation is being run
    bool stopped_ = false;
    std::atomic<int> inFlight_{0};  // completions posted to the UI and not yet run
    platform::Event wake_{platform::Event::Mode::AutoReset};
    std::shared_ptr<DeviceWorker*> alive_;
    platform::WorkerThread thread_;
};

template <class R>
void DeviceWorker::Deliver(std::shared_ptr<Slot<R>> slot, Completion<R> result) {
    if (slot->dones.empty()) return;
    ToUi([slot, result] {
        for (const auto& done : slot->dones)
            if (done) done(result);
    });
}

template <class R>
void DeviceWorker::Post(std::string area, std::function<R(Session&)> work,
                        std::function<void(const Completion<R>&)> done) {
    auto slot = std::make_shared<Slot<R>>();
    slot->work = std::move(work);
    if (done) slot->dones.push_back(std::move(done));
    Job job;
    job.area = std::move(area);
    job.slot = slot;
    job.connection = channel_.Connection();
    job.run = [this, slot](Session& session) {
        Completion<R> result;
        result.value = slot->work(session);
        Deliver(slot, std::move(result));
    };
    job.cancel = [this, slot] {
        Completion<R> result;
        result.cancelled = true;
        Deliver(slot, std::move(result));
    };
    // The waiting operation of the same area is replaced: its completions wait for ours.
    Enqueue(std::move(job), [slot](Job& waiting) {
        auto older = std::static_pointer_cast<Slot<R>>(waiting.slot);
        slot->dones.insert(slot->dones.begin(), older->dones.begin(), older->dones.end());
    });
}

}  // namespace model
