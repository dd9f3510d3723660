// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scanner/SlotList.h"

#include "device/scanner/SupportedDevices.h"

namespace device {

SlotList::SlotList() : rows_(SupportedInterfaceTable().begin(), SupportedInterfaceTable().end()) {}

SlotList::SlotList(std::vector<SupportedDeviceEntry> rows) : rows_(std::move(rows)) {}

SupportedDeviceEntry SlotList::Slot(size_t index) const {
    std::lock_guard lock(mutex_);
    return index < rows_.size() ? rows_[index] : SupportedDeviceEntry{};
}

std::vector<SupportedDeviceEntry> SlotList::Snapshot() const {
    std::lock_guard lock(mutex_);
    return rows_;
}

bool SlotList::AllSlotsTaken() const {
    std::lock_guard lock(mutex_);
    for (const auto& row : rows_) {
        if (Free(row)) return false;
    }
    return true;
}

bool SlotList::SlotAvailable(const ScanCandidate& c) const {
    std::lock_guard lock(mutex_);
    for (const auto& row : rows_) {
        if (row.IsPlaceholder()) continue;
        if (row.vendorId == c.vendorId && row.productId == c.productId &&
            row.interfaceNumber == c.interfaceNumber && row.collectionNumber == c.collectionNumber && Free(row)) {
            return true;
        }
    }
    return false;
}

bool SlotList::SixMatch(const SupportedDeviceEntry& row, const ScanCandidate& c) {
    return !row.IsPlaceholder() && row.vendorId == c.vendorId && row.productId == c.productId &&
           row.collectionNumber == c.collectionNumber && row.interfaceNumber == c.interfaceNumber &&
           row.usagePage == c.usagePage && row.usage == c.usage;
}

std::optional<size_t> SlotList::ClaimSlot(ScanCandidate& c) {
    std::lock_guard lock(mutex_);
    bool rowFound = false;
    for (const auto& row : rows_) {
        if (SixMatch(row, c)) {
            c.kind = row.kind;
            c.role = row.role;
            rowFound = true;
            break;
        }
    }
    if (!rowFound) return std::nullopt;
    for (size_t i = 0; i < rows_.size(); ++i) {
        auto& slot = rows_[i];
        if (SixMatch(slot, c) && Free(slot)) {
            slot.connected = 1;
            slot.path = c.path;
            return i;
        }
    }
    return std::nullopt;
}

void SlotList::Release(size_t index) {
    std::lock_guard lock(mutex_);
    if (index >= rows_.size()) return;
    rows_[index].connected = 0;
    rows_[index].path.clear();
}

}  // namespace device
