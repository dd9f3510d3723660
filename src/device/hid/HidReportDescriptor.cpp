// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidReportDescriptor.h"

#include <algorithm>

#include "device/hid/HidDescriptorParser.h"

namespace device {

std::optional<HidReportDescriptor> HidReportDescriptor::Parse(std::span<const uint8_t> bytes,
                                                              std::string* error) {
    std::string message;
    auto result = HidDescriptorParser(bytes).Run(message);
    if (!result) {
        if (error) *error = message;
        return std::nullopt;
    }
    if (result->numbered_) {
        // Every collection shares the descriptor's numbering, so that each knows whether
        // its reports carry an id byte.
        for (auto& c : result->collections_) c.SetNumbered(true);
    }
    return result;
}

uint16_t HidReportDescriptor::MaxInputReportBytes() const {
    uint16_t longest = 0;
    for (const auto& c : collections_) {
        longest = std::max(longest, c.ReportByteLength(HidReportType::Input));
    }
    return longest;
}

const HidCollection* HidReportDescriptor::CollectionOfReport(HidReportType type, uint8_t reportId) const {
    for (const auto& c : collections_) {
        if (c.OwnsReportId(type, reportId)) return &c;
    }
    return nullptr;
}

}  // namespace device
