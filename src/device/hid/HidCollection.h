// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One top-level collection of a report descriptor: its usage, the fields of its reports,
// and the queries that read usages and values out of a report. Every report handed to
// these functions starts with the report id byte (0 for unnumbered reports) and its
// length counts that byte.
#include <cstdint>
#include <span>
#include <vector>

#include "device/hid/HidField.h"
#include "device/hid/HidTypes.h"

namespace device {

class HidCollection {
public:
    HidCollection() = default;
    HidCollection(uint16_t usagePage, uint16_t usage, int number, bool numbered)
        : usagePage_(usagePage), usage_(usage), number_(number), numbered_(numbered) {}

    uint16_t UsagePage() const { return usagePage_; }
    uint16_t Usage() const { return usage_; }
    int Number() const { return number_; }  // 1-based, in descriptor order
    bool Numbered() const { return numbered_; }
    const std::vector<HidField>& Fields() const { return fields_; }
    uint16_t LinkCollectionCount() const { return linkCollections_; }

    // The report ids this collection uses for a type (just {0} when unnumbered).
    std::vector<uint8_t> ReportIds(HidReportType type) const;
    bool OwnsReportId(uint8_t id) const;  // of any type
    bool OwnsReportId(HidReportType type, uint8_t id) const;
    // Longest report of the type, in bytes, the id byte included; 0 when there is none.
    uint16_t ReportByteLength(HidReportType type) const;

    std::vector<HidButtonCaps> ButtonCaps(HidReportType type) const;
    std::vector<HidValueCaps> ValueCaps(HidReportType type) const;
    HidCaps Caps() const;
    // How many usages of the page can be on at once in one report of the type.
    uint32_t MaxUsageListLength(HidReportType type, uint16_t usagePage) const;

    // The usages of the page that are on in the report, in field order, without 0.
    HidStatus GetUsages(HidReportType type, uint16_t usagePage, std::span<const uint8_t> report,
                        std::vector<uint16_t>& usages) const;
    HidStatus GetUsageValue(HidReportType type, uint16_t usagePage, uint16_t usage,
                            std::span<const uint8_t> report, uint32_t& value) const;
    HidStatus GetScaledUsageValue(HidReportType type, uint16_t usagePage, uint16_t usage,
                                  std::span<const uint8_t> report, int32_t& value) const;

    // Used by the parser while it builds the collection.
    void AddField(HidField field) { fields_.push_back(std::move(field)); }
    void SetLinkCollectionCount(uint16_t count) { linkCollections_ = count; }
    void SetNumbered(bool numbered) { numbered_ = numbered; }
    void SetReportBits(HidReportType type, uint8_t id, uint32_t bits);

private:
    const HidField* FindValueField(HidReportType type, uint16_t usagePage, uint16_t usage,
                                   uint8_t reportId, uint32_t& slot) const;

    uint16_t usagePage_ = 0;
    uint16_t usage_ = 0;
    int number_ = 0;
    bool numbered_ = false;
    uint16_t linkCollections_ = 1;
    std::vector<HidField> fields_;
    struct ReportSize {
        HidReportType type;
        uint8_t id;
        uint32_t bits;
    };
    std::vector<ReportSize> reportBits_;
};

}  // namespace device
