// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything a simulated device saw and said, in order, with the time of each report.
// Thread-safe: the device appends from whichever thread delivers a report, tests read.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

struct WireEntry {
    enum class Kind { Request, Reply, Event, Note };
    std::chrono::steady_clock::time_point time;
    Kind kind = Kind::Note;
    int interfaceNumber = 0;
    std::vector<std::uint8_t> bytes;  // the report, id byte first
    std::string note;                 // for Note entries: faults, plug and unplug
};

class WireLog {
public:
    void Add(WireEntry::Kind kind, int interfaceNumber, std::vector<std::uint8_t> bytes,
             std::string note = {});
    std::vector<WireEntry> Entries() const;
    std::vector<WireEntry> Requests() const;  // only the host's reports
    std::size_t Size() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<WireEntry> entries_;
};

}  // namespace sim
