// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A backend that passes everything through to another one and writes down the reports
// that cross one collection's connections: every output report, and the input reports
// that answer commands (64 bytes with the command report id). Every other input report
// (key presses, the pointer, the device's events) is counted and dropped unread, so that
// a recording a user shares never holds what they typed.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/hid/HidBackend.h"

namespace device {

class ExchangeRecord {
public:
    struct Entry {
        double ms = 0;  // since the record was made
        bool out = false;
        std::vector<std::uint8_t> bytes;
    };

    // Keeps at most maxEntries; the ones beyond are counted (Overflow()).
    ExchangeRecord(std::uint8_t commandReportId, std::size_t maxEntries);

    void Add(bool out, std::span<const std::uint8_t> report);
    std::vector<Entry> Entries() const;
    std::size_t LeftOut() const;   // input reports that were not command replies
    std::size_t Overflow() const;  // entries beyond maxEntries

private:
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    const std::uint8_t commandReportId_;
    const std::size_t maxEntries_;
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::size_t leftOut_ = 0;
    std::size_t overflow_ = 0;
};

class RecordingBackend : public HidBackend {
public:
    // Connections opened on `path` record into `record`; all others pass through untouched.
    RecordingBackend(std::shared_ptr<HidBackend> inner, std::string path,
                     std::shared_ptr<ExchangeRecord> record);

    bool Enumerate(std::vector<std::string>& paths) override;
    std::shared_ptr<HidConnection> Open(const std::string& path, const HidOpenMode& mode) override;
    bool IsPresent(const std::string& path) override;
    std::unique_ptr<HidChangeMonitor> WatchChanges() override;

private:
    std::shared_ptr<HidBackend> inner_;
    std::string path_;
    std::shared_ptr<ExchangeRecord> record_;
};

}  // namespace device
