// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/DeviceWorker.h"

#include "platform/Trace.h"
#include "ui/CMessageLoop.h"

namespace model {

DeviceWorker::DeviceWorker(device::CommandChannel& channel)
    : channel_(channel), alive_(std::make_shared<DeviceWorker*>(this)) {}

DeviceWorker::~DeviceWorker() {
    Stop();
    alive_.reset();
}

void DeviceWorker::Enqueue(Job job, const std::function<void(Job& waiting)>& merge) {
    {
        std::unique_lock lock(mutex_);
        if (stopped_) {
            // Too late to run: the owner is going away. Reported outside the lock, since
            // posting to the loop may call back into Idle().
            lock.unlock();
            job.cancel();
            return;
        }
        if (!job.area.empty()) {
            for (auto it = queue_.begin(); it != queue_.end(); ++it) {
                // Only operations for the same connection stand in for each other.
                if (it->area != job.area || it->connection != job.connection) continue;
                merge(*it);
                queue_.erase(it);
                break;
            }
        }
        queue_.push_back(std::move(job));
    }
    EnsureThread();
    wake_.Set();
}

void DeviceWorker::EnsureThread() {
    // Started on first use, so devices that never see work never cost a thread.
    std::lock_guard lock(mutex_);
    if (stopped_ || thread_.Running()) return;
    thread_.Start([this](platform::Event& stop) { RunThread(stop); });
}

void DeviceWorker::RunThread(platform::Event& stop) {
    for (;;) {
        if (platform::Event::WaitAny(stop, wake_, -1) == 0) return;
        for (;;) {
            Job job;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty() || stop.IsSet()) {
                    running_ = false;
                    break;
                }
                job = std::move(queue_.front());
                queue_.pop_front();
                running_ = true;
            }
            Session session{device::CommandSet(channel_, job.connection), stop};
            job.run(session);
        }
        if (stop.IsSet()) return;
    }
}

void DeviceWorker::Cancel() {
    std::deque<Job> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(queue_);
    }
    for (Job& job : dropped) job.cancel();
}

platform::WorkerThread::StopResult DeviceWorker::Stop(int waitMs) {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    Cancel();
    if (!thread_.Running()) return platform::WorkerThread::StopResult::Ended;
    const auto result = thread_.Stop(waitMs);
    platform::Trace(platform::WorkerThread::ExitText(result));
    std::lock_guard lock(mutex_);
    running_ = false;
    return result;
}

bool DeviceWorker::Idle() const {
    std::lock_guard lock(mutex_);
    return queue_.empty() && !running_ && inFlight_.load() == 0;
}

std::size_t DeviceWorker::Waiting() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void DeviceWorker::ToUi(std::function<void()> task) {
    ui::CMessageLoop* loop = loop_.load();
    if (loop == nullptr) return;
    std::weak_ptr<DeviceWorker*> alive = alive_;
    ++inFlight_;
    const bool posted = loop->PostTask([alive, task = std::move(task)] {
        auto worker = alive.lock();
        if (!worker) return;
        // Counted down first: the completion may end the worker's owner.
        --(*worker)->inFlight_;
        task();
    });
    if (!posted) --inFlight_;
}

}  // namespace model
