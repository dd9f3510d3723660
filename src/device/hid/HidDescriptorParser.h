// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item walker behind HidReportDescriptor::Parse: global state with its Push/Pop
// stack, local state reset after every main item, and the bit cursor of every report.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "device/hid/HidReportDescriptor.h"

namespace device {

class HidDescriptorParser {
public:
    explicit HidDescriptorParser(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    std::optional<HidReportDescriptor> Run(std::string& error);

private:
    struct Global {
        uint16_t usagePage = 0;
        int64_t logicalMin = 0;
        int64_t logicalMax = 0;
        int64_t physicalMin = 0;
        int64_t physicalMax = 0;
        int32_t unitExponent = 0;
        uint32_t unit = 0;
        uint32_t reportSize = 0;
        uint32_t reportCount = 0;
        uint8_t reportId = 0;
        // Whether the raw maximum items need re-reading as unsigned (kept as raw bits).
        uint32_t logicalMaxRaw = 0, physicalMaxRaw = 0;
        uint8_t logicalMaxSize = 0, physicalMaxSize = 0;
    };
    struct LocalUsage {
        uint32_t value;
        bool extended;  // a 4-byte item carries its own usage page
    };
    struct Local {
        std::vector<std::pair<LocalUsage, LocalUsage>> spans;  // first..last
        std::vector<bool> fromRange;
        std::optional<LocalUsage> pendingMin;
        int delimiterDepth = 0;
        bool delimiterTaken = false;
    };

    bool Main(uint8_t tag, uint32_t data, std::string& error);
    bool GlobalItem(uint8_t tag, uint32_t data, uint8_t size, std::string& error);
    bool LocalItem(uint8_t tag, uint32_t data, uint8_t size, std::string& error);
    bool AddField(HidReportType type, uint32_t flags, std::string& error);
    std::vector<HidUsageSpan> ResolveUsages() const;
    void FixMaxima();

    std::span<const uint8_t> bytes_;
    Global global_;
    std::vector<Global> stack_;
    Local local_;
    std::vector<uint16_t> collectionPath_;  // link collection indices, innermost last
    uint16_t linkCount_ = 0;                // link collections in the current top level
    std::vector<HidCollection> collections_;
    bool numbered_ = false;
    std::map<std::pair<int, uint8_t>, uint32_t> cursor_;  // (type, id) -> bits so far
    std::vector<std::vector<std::pair<int, uint8_t>>> usedReports_;  // per collection
};

}  // namespace device
