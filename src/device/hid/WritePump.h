// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// hidraw's write() blocks until the kernel has finished the transfer (up to 5 s on a
// stalled endpoint) and cannot be interrupted. The pump runs those blocking writes on a
// thread of its own, from a buffer of its own, so the caller waits only as long as its
// time limit or its stop event allow, and the bytes stay valid until the kernel is done
// with them, even after the caller has returned, closed the record or been destroyed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <thread>

#include "device/hid/HidConnection.h"
#include "platform/Event.h"

namespace device {

class WritePump {
public:
    enum class Result { Written, Failed, TimedOut, Cancelled };

    explicit WritePump(std::shared_ptr<HidConnection> connection);
    // Returns at once. A write still held by the kernel finishes on the pump's thread,
    // which then ends by itself and releases the connection.
    ~WritePump();
    WritePump(const WritePump&) = delete;
    WritePump& operator=(const WritePump&) = delete;

    // Hands a copy of `report` to the pump thread and waits up to timeoutMs (negative:
    // no limit) for the transfer, or until `stop` or `cancel` (may be null) is set.
    // A previous write that timed out and is still held by the kernel counts against
    // this call's limit; while it is held, no new write starts.
    Result Write(std::span<const uint8_t> report, int timeoutMs, platform::Event& stop,
                 platform::Event* cancel);

    // True while a write is held by the kernel (for tests and diagnostics).
    bool Busy() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;  // started by the first write
};

}  // namespace device
