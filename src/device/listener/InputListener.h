// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The listener thread of one device object: reads the event reports of its consumer
// collection and turns them into a sync request (timer 1002) or key events.
#include <atomic>
#include <cstdint>

#include "device/listener/ListenerOwner.h"
#include "platform/WorkerThread.h"

namespace device {

enum class ListenerKind {
    Keyboard,  // settings and profile changes, key presses and releases; 100 ms timer
    Other,     // mouse, mouse pad, headset: settings changes only; 500 ms timer
};

inline constexpr uint16_t kUsageSettingsChanged = 0x0401;
inline constexpr uint16_t kUsageProfileChanged = 0x0402;
inline constexpr uint16_t kUsageKeyPressedBase = 0x0500;
inline constexpr uint16_t kUsageKeyReleasedBase = 0x0600;
inline constexpr int kSyncTimerId = 1002;

class InputListener {
public:
    InputListener(ListenerOwner& owner, ListenerKind kind);
    ~InputListener();  // stops the thread
    InputListener(const InputListener&) = delete;
    InputListener& operator=(const InputListener&) = delete;

    void Start();
    // Ends a pending read and waits up to waitMs; traces the outcome.
    platform::WorkerThread::StopResult Stop(int waitMs = 1000);
    bool Running() const { return thread_.Running(); }

    // The usage of the last event report (0 when none was on); read by the UI thread.
    uint16_t LastEventUsage() const { return lastUsage_.load(); }

    // What one event usage makes the owner do (the loop calls this for every report).
    void Act(uint16_t usage);

private:
    void Run(platform::Event& stop);

    ListenerOwner& owner_;
    const ListenerKind kind_;
    std::atomic<uint16_t> lastUsage_{0};
    platform::WorkerThread thread_;
};

}  // namespace device
