// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headset's bridge to its audio configuration library: one per process, shared by
// every headset object. It loads the library (from the program folder only, see
// device::audio::AudioLibrary) and makes every call into it on a thread of its own, so
// that the window keeps answering whatever the library does.
//
// A job queued with Run runs on that thread with a Session (the library and the two
// device records the bridge chose); its completion runs on the UI thread of the loop
// given, with the job's result and whether it ran. A job does not run, and completes at
// once with ran = false, when the library is missing, or when a call into it has been
// running longer than the call limit: a library that hangs once is not called again. The
// limit holds for each call (device::audio::CallWatch), loading included, so a job stops
// calling at its first hung call; the job then completes with ran = false, since what it
// gathered stopped short.
//
// Threads: Run from any thread; the jobs on the bridge's thread; completions on the UI
// thread. Destruction waits for a running job up to the stop limit and then leaves the
// thread to the process (it cannot be ended while inside the library).
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "device/audio/AudioLibrary.h"
#include "ui/CMessageLoop.h"

namespace model {

// A device the library offered, with the three feature words read from it.
struct AudioDevice {
    ConfLibDeviceRecord record{};
    std::array<std::int32_t, 3> features{};
    bool Present() const { return record.type >= 1; }
};

class AudioBridge {
public:
    static constexpr int kCallLimitMs = 3000;
    static constexpr int kStopLimitMs = 1000;

    // What a job may use: the library and the chosen devices.
    struct Session {
        device::audio::AudioLibrary& library;
        AudioDevice& playback;
        AudioDevice& capture;
        AudioDevice& Of(int flow) {
            return flow == device::audio::kFlowPlayback ? playback : capture;
        }
        // On an absent device nothing is called and the call fails.
        bool Write(int flow, std::string_view property, const device::audio::PropertyValue& value,
                   const std::vector<std::int32_t>& extra = {});
        std::optional<double> Read(int flow, std::string_view property,
                                   const std::vector<std::int32_t>& extra = {});
    };

    explicit AudioBridge(std::filesystem::path libraryPath, int callLimitMs = kCallLimitMs);
    ~AudioBridge();
    AudioBridge(const AudioBridge&) = delete;
    AudioBridge& operator=(const AudioBridge&) = delete;

    // The program's bridge, on AudioLibrary::DefaultPath(), or SimulatedPath() once
    // UseSimulatedLibrary() was called before the bridge's first use.
    static std::shared_ptr<AudioBridge> Shared();
    static void UseSimulatedLibrary();

    template <class R>
    void Run(ui::CMessageLoop* loop, std::function<R(Session&)> work,
             std::function<void(const R&, bool ran)> done) {
        auto result = std::make_shared<R>();
        Enqueue(
            loop, [work = std::move(work), result](Session& session) { *result = work(session); },
            [done = std::move(done), result](bool ran) {
                if (done) done(*result, ran);
            });
    }

    // Known once the first job was taken up: the library is there and answering.
    bool Available() const { return state_->loaded.load() && !Hung(); }
    // A call has run past the call limit (now or before).
    bool Hung() const { return state_->Hung(); }
    // Jobs queued or running.
    bool Idle() const;

private:
    struct Job {
        ui::CMessageLoop* loop;
        std::function<void(Session&)> work;
        std::function<void(bool)> done;
    };
    // Shared with the thread, which may outlive the bridge when the library hangs.
    struct State {
        std::filesystem::path path;
        int callLimitMs = kCallLimitMs;
        std::unique_ptr<device::audio::AudioLibrary> library;
        AudioDevice playback;
        AudioDevice capture;
        std::shared_ptr<device::audio::CallWatch> watch;
        std::atomic<bool> loaded{false};
        std::atomic<bool> triedLoad{false};

        mutable std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable exited;
        std::deque<Job> jobs;
        bool running = false;
        bool stop = false;
        bool threadDone = false;

        bool Hung() const { return watch->Hung(); }
    };
    void Enqueue(ui::CMessageLoop* loop, std::function<void(Session&)> work,
                 std::function<void(bool)> done);
    static void Loop(const std::shared_ptr<State>& state);
    static void Complete(ui::CMessageLoop* loop, std::function<void(bool)> done, bool ran);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace model
