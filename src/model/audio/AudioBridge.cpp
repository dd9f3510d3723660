// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/audio/AudioBridge.h"

#include <atomic>

namespace model {

bool AudioBridge::Session::Write(int flow, std::string_view property,
                                 const device::audio::PropertyValue& value,
                                 const std::vector<std::int32_t>& extra) {
    AudioDevice& device = Of(flow);
    return device.Present() && library.Write(device.record, property, value, extra);
}

std::optional<double> AudioBridge::Session::Read(int flow, std::string_view property,
                                                 const std::vector<std::int32_t>& extra) {
    AudioDevice& device = Of(flow);
    if (!device.Present()) return std::nullopt;
    return library.ReadNumber(device.record, property, extra);
}

AudioBridge::AudioBridge(std::filesystem::path libraryPath, int callLimitMs)
    : state_(std::make_shared<State>()) {
    state_->path = std::move(libraryPath);
    state_->callLimitMs = callLimitMs;
    state_->watch = std::make_shared<device::audio::CallWatch>(callLimitMs);
    thread_ = std::thread([state = state_] { Loop(state); });
}

AudioBridge::~AudioBridge() {
    std::deque<Job> left;
    bool ended = false;
    {
        std::unique_lock lock(state_->mutex);
        state_->stop = true;
        state_->wake.notify_all();
        ended = state_->exited.wait_for(lock, std::chrono::milliseconds(kStopLimitMs),
                                        [this] { return state_->threadDone; });
        left.swap(state_->jobs);
    }
    // A thread stuck inside the library cannot be ended; it keeps its state and goes
    // with the process.
    if (ended)
        thread_.join();
    else
        thread_.detach();
    for (Job& job : left) Complete(job.loop, std::move(job.done), false);
}

namespace {
std::atomic<bool> simulatedLibrary{false};
}  // namespace

void AudioBridge::UseSimulatedLibrary() {
    simulatedLibrary.store(true);
}

std::shared_ptr<AudioBridge> AudioBridge::Shared() {
    static std::shared_ptr<AudioBridge> bridge = std::make_shared<AudioBridge>(
        simulatedLibrary.load() ? device::audio::AudioLibrary::SimulatedPath()
                                : device::audio::AudioLibrary::DefaultPath());
    return bridge;
}

bool AudioBridge::Idle() const {
    std::lock_guard lock(state_->mutex);
    return state_->jobs.empty() && !state_->running;
}

void AudioBridge::Enqueue(ui::CMessageLoop* loop, std::function<void(Session&)> work,
                          std::function<void(bool)> done) {
    State& state = *state_;
    if (state.Hung() || (state.triedLoad.load() && !state.loaded.load())) {
        Complete(loop, std::move(done), false);
        return;
    }
    std::lock_guard lock(state.mutex);
    state.jobs.push_back({loop, std::move(work), std::move(done)});
    state.wake.notify_all();
}

void AudioBridge::Loop(const std::shared_ptr<State>& shared) {
    State& state = *shared;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.wake.wait(lock, [&state] { return state.stop || !state.jobs.empty(); });
        if (state.stop) break;
        Job job = std::move(state.jobs.front());
        state.jobs.pop_front();
        state.running = true;
        lock.unlock();
        if (!state.triedLoad.load()) {
            // Loading runs the library's own start-up code: it too stays off the UI thread.
            state.library = device::audio::AudioLibrary::Load(state.path, state.watch);
            state.loaded.store(state.library != nullptr);
            state.triedLoad.store(true);
        }
        bool ran = false;
        if (state.library && !state.Hung()) {
            Session session{*state.library, state.playback, state.capture};
            job.work(session);
            // A job cut short by a hung call has only part of what it asked for.
            ran = !state.Hung();
        }
        lock.lock();
        state.running = false;
        // After the bridge went, the loop may have gone too.
        if (!state.stop) Complete(job.loop, std::move(job.done), ran);
    }
    state.threadDone = true;
    state.exited.notify_all();
}

void AudioBridge::Complete(ui::CMessageLoop* loop, std::function<void(bool)> done, bool ran) {
    if (!done || loop == nullptr) return;
    loop->PostTask([done = std::move(done), ran] { done(ran); });
}

}  // namespace model
