// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The working copy of the supported-interface table: one slot per row, same indices.
// The scanner claims and frees slots; the UI thread reads them while the scanner runs,
// so every access goes through the list's lock and readers get copies.
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "device/scanner/SupportedDeviceEntry.h"

namespace device {

class SlotList {
public:
    SlotList();  // a copy of SupportedInterfaceTable(), all slots free
    explicit SlotList(std::vector<SupportedDeviceEntry> rows);

    size_t Size() const { return rows_.size(); }
    SupportedDeviceEntry Slot(size_t index) const;  // a copy; an empty row past the end
    std::vector<SupportedDeviceEntry> Snapshot() const;

    // True when no slot is free (not connected and with an empty path).
    bool AllSlotsTaken() const;
    // Whether a row has the candidate's vendor, product, interface and collection and a
    // slot with those four values is free. Placeholder rows (vendor and product 0)
    // never match: they stand for hardware this build does not serve.
    bool SlotAvailable(const ScanCandidate& candidate) const;
    // Claims the first free slot matching the candidate's six values (vendor, product,
    // collection, interface, usage page, usage); copies the row's kind and role into the
    // candidate and stores its path in the slot. The slot index, or nothing.
    std::optional<size_t> ClaimSlot(ScanCandidate& candidate);
    // Frees a slot: not connected, empty path.
    void Release(size_t index);

private:
    static bool SixMatch(const SupportedDeviceEntry& row, const ScanCandidate& c);
    static bool Free(const SupportedDeviceEntry& row) { return row.connected == 0 && row.path.empty(); }

    mutable std::mutex mutex_;
    std::vector<SupportedDeviceEntry> rows_;
};

}  // namespace device
