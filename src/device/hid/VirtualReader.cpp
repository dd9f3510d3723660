// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/VirtualReader.h"

#include <algorithm>
#include <cstring>

namespace device {

bool VirtualReader::Push(std::span<const uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (gone_ || queue_.size() >= kQueueLimit) return false;
    queue_.emplace_back(report.begin(), report.end());
    readable_.Set();
    return true;
}

void VirtualReader::MarkGone() {
    std::lock_guard lock(mutex_);
    gone_ = true;
    readable_.Set();
}

HidReadStatus VirtualReader::Take(std::span<uint8_t> buffer, size_t& length) {
    std::lock_guard lock(mutex_);
    length = 0;
    if (queue_.empty()) return gone_ ? HidReadStatus::Gone : HidReadStatus::WouldBlock;
    const auto& report = queue_.front();
    length = std::min(report.size(), buffer.size());
    if (length) std::memcpy(buffer.data(), report.data(), length);
    queue_.pop_front();
    if (queue_.empty() && !gone_) readable_.Reset();
    return HidReadStatus::GotReport;
}

}  // namespace device
