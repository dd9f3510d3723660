// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidCollection.h"

#include <algorithm>

namespace device {

namespace {

uint16_t PageOf(uint32_t extended) { return static_cast<uint16_t>(extended >> 16); }
uint16_t IdOf(uint32_t extended) { return static_cast<uint16_t>(extended & 0xFFFF); }

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool UsesPage(const HidField& field, uint16_t page) {
    return std::any_of(field.usages.begin(), field.usages.end(),
                       [page](const HidUsageSpan& s) { return PageOf(s.first) == page; });
}

}  // namespace

void HidCollection::SetReportBits(HidReportType type, uint8_t id, uint32_t bits) {
    for (auto& r : reportBits_) {
        if (r.type == type && r.id == id) {
            r.bits = std::max(r.bits, bits);
            return;
        }
    }
    reportBits_.push_back({type, id, bits});
}

std::vector<uint8_t> HidCollection::ReportIds(HidReportType type) const {
    std::vector<uint8_t> ids;
    for (const auto& r : reportBits_) {
        if (r.type == type) ids.push_back(r.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool HidCollection::OwnsReportId(uint8_t id) const {
    return std::any_of(reportBits_.begin(), reportBits_.end(),
                       [id](const ReportSize& r) { return r.id == id; });
}

bool HidCollection::OwnsReportId(HidReportType type, uint8_t id) const {
    return std::any_of(reportBits_.begin(), reportBits_.end(),
                       [&](const ReportSize& r) { return r.type == type && r.id == id; });
}

uint16_t HidCollection::ReportByteLength(HidReportType type) const {
    uint32_t longest = 0;
    bool any = false;
    for (const auto& r : reportBits_) {
        if (r.type != type) continue;
        any = true;
        longest = std::max(longest, (r.bits + 7) / 8);
    }
    return any ? static_cast<uint16_t>(longest + 1) : 0;
}

std::vector<HidButtonCaps> HidCollection::ButtonCaps(HidReportType type) const {
    std::vector<HidButtonCaps> caps;
    for (const auto& f : fields_) {
        if (f.type != type || f.IsConstant() || !f.IsButton()) continue;
        for (const auto& span : f.usages) {
            HidButtonCaps c;
            c.usagePage = PageOf(span.first);
            c.reportId = f.reportId;
            c.linkCollection = f.linkCollection;
            c.isRange = span.range;
            c.usageMin = IdOf(span.first);
            c.usageMax = PageOf(span.last) == c.usagePage ? IdOf(span.last) : 0xFFFF;
            c.isArray = f.IsArray();
            c.isAbsolute = !f.IsRelative();
            caps.push_back(c);
        }
    }
    return caps;
}

std::vector<HidValueCaps> HidCollection::ValueCaps(HidReportType type) const {
    std::vector<HidValueCaps> caps;
    for (const auto& f : fields_) {
        if (f.type != type || f.IsConstant() || f.IsButton()) continue;
        for (const auto& span : f.usages) {
            HidValueCaps c;
            c.usagePage = PageOf(span.first);
            c.reportId = f.reportId;
            c.linkCollection = f.linkCollection;
            c.isRange = span.range;
            c.usageMin = IdOf(span.first);
            c.usageMax = PageOf(span.last) == c.usagePage ? IdOf(span.last) : 0xFFFF;
            c.bitSize = f.bitSize;
            c.reportCount = f.reportCount;
            c.logicalMin = Clamp32(f.logicalMin);
            c.logicalMax = Clamp32(f.logicalMax);
            c.physicalMin = Clamp32(f.physicalMin);
            c.physicalMax = Clamp32(f.physicalMax);
            c.hasNull = f.HasNull();
            c.isAbsolute = !f.IsRelative();
            caps.push_back(c);
        }
    }
    return caps;
}

HidCaps HidCollection::Caps() const {
    HidCaps caps;
    caps.usage = usage_;
    caps.usagePage = usagePage_;
    caps.inputReportByteLength = ReportByteLength(HidReportType::Input);
    caps.outputReportByteLength = ReportByteLength(HidReportType::Output);
    caps.featureReportByteLength = ReportByteLength(HidReportType::Feature);
    caps.numberLinkCollectionNodes = linkCollections_;
    auto count = [](size_t n) { return static_cast<uint16_t>(std::min<size_t>(n, 0xFFFF)); };
    caps.numberInputButtonCaps = count(ButtonCaps(HidReportType::Input).size());
    caps.numberInputValueCaps = count(ValueCaps(HidReportType::Input).size());
    caps.numberOutputButtonCaps = count(ButtonCaps(HidReportType::Output).size());
    caps.numberOutputValueCaps = count(ValueCaps(HidReportType::Output).size());
    caps.numberFeatureButtonCaps = count(ButtonCaps(HidReportType::Feature).size());
    caps.numberFeatureValueCaps = count(ValueCaps(HidReportType::Feature).size());
    return caps;
}

uint32_t HidCollection::MaxUsageListLength(HidReportType type, uint16_t usagePage) const {
    uint32_t total = 0;
    for (const auto& f : fields_) {
        if (f.type != type || f.IsConstant() || !f.IsButton() || !UsesPage(f, usagePage)) continue;
        if (f.IsArray()) {
            total += f.reportCount;
        } else {
            for (uint32_t slot = 0; slot < f.reportCount; ++slot) {
                if (PageOf(f.UsageAt(slot)) == usagePage) ++total;
            }
        }
    }
    return total;
}

HidStatus HidCollection::GetUsages(HidReportType type, uint16_t usagePage,
                                   std::span<const uint8_t> report,
                                   std::vector<uint16_t>& usages) const {
    usages.clear();
    if (report.empty()) return HidStatus::InvalidReportLength;
    const uint8_t id = report[0];
    if (!OwnsReportId(type, id)) return HidStatus::IncompatibleReportId;
    const uint8_t* data = report.data() + 1;
    const size_t length = report.size() - 1;
    bool found = false;
    for (const auto& f : fields_) {
        if (f.type != type || f.reportId != id || f.IsConstant() || !f.IsButton()) continue;
        if (!UsesPage(f, usagePage)) continue;
        found = true;
        for (uint32_t slot = 0; slot < f.reportCount; ++slot) {
            int64_t v = 0;
            if (!f.ReadElement(data, length, slot, v)) return HidStatus::InvalidReportLength;
            uint32_t usage = 0;
            if (f.IsArray()) {
                if (v < f.logicalMin || v > f.logicalMax) continue;  // an empty array element
                uint64_t index = uint64_t(v - f.logicalMin);
                if (index >= f.UsageCount()) continue;
                usage = f.UsageAt(static_cast<uint32_t>(index));
            } else {
                if (v == 0) continue;
                usage = f.UsageAt(slot);
            }
            if (PageOf(usage) == usagePage && IdOf(usage) != 0) usages.push_back(IdOf(usage));
        }
    }
    return found ? HidStatus::Success : HidStatus::UsageNotFound;
}

const HidField* HidCollection::FindValueField(HidReportType type, uint16_t usagePage,
                                              uint16_t usage, uint8_t reportId,
                                              uint32_t& slot) const {
    const uint32_t wanted = uint32_t(usagePage) << 16 | usage;
    for (const auto& f : fields_) {
        if (f.type != type || f.reportId != reportId || f.IsConstant() || f.IsButton()) continue;
        const uint32_t slots = std::max<uint32_t>(1, std::min<uint32_t>(f.reportCount, f.UsageCount()));
        for (uint32_t s = 0; s < slots; ++s) {
            if (f.UsageAt(s) == wanted) {
                slot = s;
                return &f;
            }
        }
    }
    return nullptr;
}

HidStatus HidCollection::GetUsageValue(HidReportType type, uint16_t usagePage, uint16_t usage,
                                       std::span<const uint8_t> report, uint32_t& value) const {
    value = 0;
    if (report.empty()) return HidStatus::InvalidReportLength;
    if (!OwnsReportId(type, report[0])) return HidStatus::IncompatibleReportId;
    uint32_t slot = 0;
    const HidField* f = FindValueField(type, usagePage, usage, report[0], slot);
    if (!f) return HidStatus::UsageNotFound;
    if (f->bitSize > 32) return HidStatus::ValueOutOfRange;
    int64_t v = 0;
    if (!f->ReadElement(report.data() + 1, report.size() - 1, slot, v)) {
        return HidStatus::InvalidReportLength;
    }
    value = static_cast<uint32_t>(v);  // the raw bits, as read
    return HidStatus::Success;
}

HidStatus HidCollection::GetScaledUsageValue(HidReportType type, uint16_t usagePage,
                                             uint16_t usage, std::span<const uint8_t> report,
                                             int32_t& value) const {
    value = 0;
    if (report.empty()) return HidStatus::InvalidReportLength;
    if (!OwnsReportId(type, report[0])) return HidStatus::IncompatibleReportId;
    uint32_t slot = 0;
    const HidField* f = FindValueField(type, usagePage, usage, report[0], slot);
    if (!f) return HidStatus::UsageNotFound;
    if (f->bitSize > 32) return HidStatus::ValueOutOfRange;
    int64_t v = 0;
    if (!f->ReadElement(report.data() + 1, report.size() - 1, slot, v)) {
        return HidStatus::InvalidReportLength;
    }
    int64_t physMin = f->physicalMin, physMax = f->physicalMax;
    if (physMin == 0 && physMax == 0) {  // undeclared: the physical range is the logical one
        physMin = f->logicalMin;
        physMax = f->logicalMax;
    }
    if (f->logicalMin >= f->logicalMax || physMin > physMax) return HidStatus::BadLogPhyValues;
    if (v < f->logicalMin || v > f->logicalMax) return HidStatus::NullValue;
    // The product can pass 2^63 for 32-bit ranges; long double holds it exactly enough.
    const long double step = static_cast<long double>(v - f->logicalMin) *
                             static_cast<long double>(physMax - physMin) /
                             static_cast<long double>(f->logicalMax - f->logicalMin);
    const int64_t scaled = physMin + static_cast<int64_t>(step);
    value = Clamp32(scaled);
    return HidStatus::Success;
}

}  // namespace device
