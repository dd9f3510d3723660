// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Our own HID report-descriptor parser (HID 1.11 section 6.2.2): short and long items,
// global/local state with Push/Pop, usage ranges and extended usages, nested collections.
// It yields the top-level collections with their fields laid out bit by bit per report id.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/hid/HidCollection.h"

namespace device {

class HidReportDescriptor {
public:
    // Limits that keep a hostile or broken descriptor from costing us much.
    static constexpr size_t kMaxDescriptorBytes = 4096;
    static constexpr uint32_t kMaxReportBytes = 16384;
    static constexpr int kMaxNesting = 32;

    // Nothing when the bytes are not a usable descriptor; `error` then says why.
    static std::optional<HidReportDescriptor> Parse(std::span<const uint8_t> bytes,
                                                    std::string* error = nullptr);

    const std::vector<HidCollection>& Collections() const { return collections_; }
    bool UsesReportIds() const { return numbered_; }
    // Longest input report of any collection, id byte included: what one read can return.
    uint16_t MaxInputReportBytes() const;
    // The collection that owns an input report id, or nullptr.
    const HidCollection* CollectionOfReport(HidReportType type, uint8_t reportId) const;

private:
    std::vector<HidCollection> collections_;
    bool numbered_ = false;
    friend class HidDescriptorParser;
};

}  // namespace device
