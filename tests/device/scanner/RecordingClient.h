// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's side of the scanner messages, as the tests see it: every message
// with the state of its slot at the moment the handler ran.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "device/scanner/ScannerClient.h"
#include "device/scanner/SlotList.h"

struct ScannerMessage {
    uint32_t message;
    size_t slot;
    device::SupportedDeviceEntry state;  // the slot as the handler saw it
};

class RecordingClient : public device::ScannerClient {
public:
    explicit RecordingClient(const device::SlotList& slots) : slots_(slots) {}

    void SendScannerMessage(uint32_t message, size_t slot) override {
        std::lock_guard lock(mutex_);
        messages_.push_back({message, slot, slots_.Slot(slot)});
        changed_.notify_all();
    }
    void PostFirstScanDone() override {
        std::lock_guard lock(mutex_);
        ++firstScanNotices_;
        changed_.notify_all();
    }

    std::vector<ScannerMessage> Messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    int FirstScanNotices() const {
        std::lock_guard lock(mutex_);
        return firstScanNotices_;
    }
    // Waits until `count` messages have come; false on time-out.
    bool WaitForMessages(size_t count, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return messages_.size() >= count; });
    }

private:
    const device::SlotList& slots_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ScannerMessage> messages_;
    int firstScanNotices_ = 0;
};
