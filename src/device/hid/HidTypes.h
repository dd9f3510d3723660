// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain records shared by the HID access layer: report types, attributes, capabilities
// and the per-usage data entries that UnpackInputReport fills.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace device {

enum class HidReportType : uint8_t { Input = 0, Output = 1, Feature = 2 };
inline constexpr size_t kHidReportTypeCount = 3;

// Outcome of a usage query on one report (the HidP_* status codes we need).
enum class HidStatus : int32_t {
    Success = 0,
    UsageNotFound,         // the report does not carry that usage
    IncompatibleReportId,  // the report's id byte belongs to no report of that type
    BufferTooSmall,        // more usages are on than the list can hold (the list is still filled)
    BadLogPhyValues,       // no usable logical/physical range for scaling
    NullValue,             // the value lies outside the logical range (a "null" reading)
    ValueOutOfRange,       // the field is wider than 32 bits
    InvalidReportLength,   // the report is shorter than its layout
};

// The attributes of the USB device a collection belongs to.
struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;  // bcdDevice, the release number
};

// The capabilities of one top-level collection. Report byte lengths count the report id
// byte (which is 0 in collections that do not number their reports) and are 0 when the
// collection has no report of that type.
struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberLinkCollectionNodes = 0;
    uint16_t numberInputButtonCaps = 0;
    uint16_t numberInputValueCaps = 0;
    uint16_t numberOutputButtonCaps = 0;
    uint16_t numberOutputValueCaps = 0;
    uint16_t numberFeatureButtonCaps = 0;
    uint16_t numberFeatureValueCaps = 0;
};

// One button capability: an array field, or a run of one-bit variable fields, over a
// single usage or a usage range of one usage page.
struct HidButtonCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    uint16_t linkCollection = 0;  // 0 = the top-level collection itself
    bool isRange = false;
    uint16_t usageMin = 0;  // == usageMax when not a range
    uint16_t usageMax = 0;
    bool isArray = false;
    bool isAbsolute = true;
};

// One value capability: a multi-bit variable field over one usage or a usage range.
struct HidValueCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    uint16_t linkCollection = 0;
    bool isRange = false;
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    bool hasNull = false;
    bool isAbsolute = true;
};

// One per-usage data entry of a report type. A button entry lists the usages that were
// on in the last unpacked report (ended by a 0 when fewer than the maximum); a value
// entry holds the raw and scaled value of its usage.
struct HidData {
    bool isButton = false;
    uint8_t reserved = 0;
    uint16_t usagePage = 0;
    HidStatus status = HidStatus::Success;
    uint32_t reportId = 0;
    uint32_t isSet = 0;

    struct Button {
        uint32_t usageMin = 0;
        uint32_t usageMax = 0;
        uint32_t maxUsageLength = 0;
        std::vector<uint16_t> usages;  // maxUsageLength entries
    } button;

    struct Value {
        uint16_t usage = 0;
        uint16_t reserved = 0;
        uint32_t rawValue = 0;
        int32_t scaledValue = 0;
    } value;
};

}  // namespace device
