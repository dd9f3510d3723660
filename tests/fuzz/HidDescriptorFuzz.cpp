// SPDX-License-Identifier: GPL-3.0-or-later
// A report descriptor from a device, then one input report against every collection it
// yields: the parser must hold its limits and the unpacking must stay inside the lists
// that Open made.
#include <algorithm>
#include <span>

#include "device/hid/HidDevice.h"
#include "device/hid/HidReportDescriptor.h"
#include "fuzz/FuzzSupport.h"

using namespace device;

namespace {

void CheckCollection(const HidCollection& collection, std::span<const uint8_t> report) {
    const HidCaps caps = collection.Caps();
    FUZZ_CHECK(caps.numberInputButtonCaps == collection.ButtonCaps(HidReportType::Input).size());
    FUZZ_CHECK(caps.numberInputValueCaps == collection.ValueCaps(HidReportType::Input).size());
    for (HidReportType type : {HidReportType::Input, HidReportType::Output, HidReportType::Feature})
        FUZZ_CHECK(collection.ReportByteLength(type) <= HidReportDescriptor::kMaxReportBytes);

    std::vector<HidData> list = HidDevice::MakeDataList(collection, HidReportType::Input);
    const std::vector<HidData> before = list;
    if (report.empty()) return;
    HidDevice::UnpackInputReport(list, report.data(), report.size(), HidReportType::Input,
                                 collection);
    FUZZ_CHECK(list.size() == before.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const HidData& entry = list[i];
        FUZZ_CHECK(entry.button.usages.size() == before[i].button.usages.size());
        if (entry.reportId != report[0]) {
            FUZZ_CHECK(entry.isSet == before[i].isSet);
            FUZZ_CHECK(entry.button.usages == before[i].button.usages);
            continue;
        }
        if (!entry.isButton) continue;
        // The usages that are on come first, all inside the entry's range, then zeros.
        bool ended = false;
        for (uint16_t usage : entry.button.usages) {
            if (usage == 0) {
                ended = true;
                continue;
            }
            FUZZ_CHECK(!ended);
            FUZZ_CHECK(usage >= entry.button.usageMin && usage <= entry.button.usageMax);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes say how much of the rest is descriptor; what follows is the report.
    const std::size_t wanted = std::size_t(data[0]) | std::size_t(data[1]) << 8;
    const std::span<const uint8_t> rest(data + 2, size - 2);
    const std::size_t length = std::min(wanted, rest.size());
    const std::span<const uint8_t> descriptor = rest.first(length);
    const std::span<const uint8_t> report = rest.subspan(length);

    std::string error;
    const auto parsed = HidReportDescriptor::Parse(descriptor, &error);
    if (!parsed) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(descriptor.size() <= HidReportDescriptor::kMaxDescriptorBytes);
    uint16_t longest = 0;
    for (const HidCollection& collection : parsed->Collections()) {
        longest = std::max(longest, collection.ReportByteLength(HidReportType::Input));
        CheckCollection(collection, report);
    }
    FUZZ_CHECK(parsed->MaxInputReportBytes() >= longest);
    return 0;
}
