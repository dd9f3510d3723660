// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The queue of one host-side reader of a virtual interface, as hidraw keeps one per open
// file: at most 64 reports, new ones dropped while it is full, and an unplug that wakes
// the reader at once (queued reports are still handed out, then reads fail).
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "device/hid/HidConnection.h"
#include "platform/Event.h"

namespace device {

class VirtualReader {
public:
    static constexpr size_t kQueueLimit = 64;

    // False when the report was dropped (queue full or device gone).
    bool Push(std::span<const uint8_t> report);
    void MarkGone();
    HidReadStatus Take(std::span<uint8_t> buffer, size_t& length);
    int fd() const { return readable_.fd(); }  // readable while reports are queued or the device is gone

private:
    std::mutex mutex_;
    std::deque<std::vector<uint8_t>> queue_;
    bool gone_ = false;
    platform::Event readable_{platform::Event::Mode::ManualReset};
};

}  // namespace device
