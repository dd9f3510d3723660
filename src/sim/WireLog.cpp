// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/WireLog.h"

namespace sim {

void WireLog::Add(WireEntry::Kind kind, int interfaceNumber, std::vector<std::uint8_t> bytes,
                  std::string note) {
    WireEntry entry{std::chrono::steady_clock::now(), kind, interfaceNumber, std::move(bytes),
                    std::move(note)};
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
}

std::vector<WireEntry> WireLog::Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<WireEntry> WireLog::Requests() const {
    std::lock_guard lock(mutex_);
    std::vector<WireEntry> out;
    for (const WireEntry& e : entries_) {
        if (e.kind == WireEntry::Kind::Request) out.push_back(e);
    }
    return out;
}

std::size_t WireLog::Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

void WireLog::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

}  // namespace sim
