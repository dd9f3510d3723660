// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/HidDescriptorParser.h"

#include <algorithm>

namespace device {

namespace {

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC };

enum GlobalTag : uint8_t {
    kUsagePage = 0x0, kLogicalMin = 0x1, kLogicalMax = 0x2, kPhysicalMin = 0x3, kPhysicalMax = 0x4,
    kUnitExponent = 0x5, kUnit = 0x6, kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9,
    kPush = 0xA, kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0, kUsageMin = 0x1, kUsageMax = 0x2, kDelimiter = 0xA };

int64_t Signed(uint32_t raw, uint8_t size) {
    switch (size) {
        case 1: return static_cast<int8_t>(raw & 0xFF);
        case 2: return static_cast<int16_t>(raw & 0xFFFF);
        case 4: return static_cast<int32_t>(raw);
        default: return 0;
    }
}

constexpr uint32_t kMaxReportCount = 4096;
constexpr uint32_t kMaxReportSize = 256;

}  // namespace

std::optional<HidReportDescriptor> HidDescriptorParser::Run(std::string& error) {
    if (bytes_.empty()) {
        error = "empty descriptor";
        return std::nullopt;
    }
    if (bytes_.size() > HidReportDescriptor::kMaxDescriptorBytes) {
        error = "descriptor longer than " + std::to_string(HidReportDescriptor::kMaxDescriptorBytes) + " bytes";
        return std::nullopt;
    }
    size_t at = 0;
    while (at < bytes_.size()) {
        const uint8_t prefix = bytes_[at];
        if (prefix == 0xFE) {  // long item: size, tag, data; no long tags are defined
            if (at + 3 > bytes_.size()) {
                error = "truncated long item at byte " + std::to_string(at);
                return std::nullopt;
            }
            const size_t size = bytes_[at + 1];
            if (at + 3 + size > bytes_.size()) {
                error = "truncated long item at byte " + std::to_string(at);
                return std::nullopt;
            }
            at += 3 + size;
            continue;
        }
        const uint8_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        const uint8_t type = (prefix >> 2) & 3;
        const uint8_t tag = prefix >> 4;
        if (at + 1 + size > bytes_.size()) {
            error = "truncated item at byte " + std::to_string(at);
            return std::nullopt;
        }
        uint32_t data = 0;
        for (uint8_t i = 0; i < size; ++i) data |= uint32_t(bytes_[at + 1 + i]) << (8 * i);
        at += 1 + size;
        bool ok = true;
        switch (type) {
            case kMain: ok = Main(tag, data, error); break;
            case kGlobal: ok = GlobalItem(tag, data, size, error); break;
            case kLocal: ok = LocalItem(tag, data, size, error); break;
            default: break;  // reserved item type: skipped
        }
        if (!ok) {
            error += " (item at byte " + std::to_string(at - 1 - size) + ")";
            return std::nullopt;
        }
    }
    if (!collectionPath_.empty()) {
        error = "collection not closed at the end of the descriptor";
        return std::nullopt;
    }
    if (collections_.empty()) {
        error = "no top-level collection";
        return std::nullopt;
    }
    for (size_t c = 0; c < collections_.size(); ++c) {
        for (const auto& key : usedReports_[c]) {
            collections_[c].SetReportBits(static_cast<HidReportType>(key.first), key.second, cursor_[key]);
        }
    }
    for (const auto& [key, bits] : cursor_) {
        // Over all collections: the kernel's limit for one report, id byte included.
        if ((bits + 7) / 8 + 1 > HidReportDescriptor::kMaxReportBytes) {
            error = "report " + std::to_string(key.second) + " longer than the limit";
            return std::nullopt;
        }
    }
    HidReportDescriptor result;
    result.collections_ = std::move(collections_);
    result.numbered_ = numbered_;
    return result;
}

bool HidDescriptorParser::GlobalItem(uint8_t tag, uint32_t data, uint8_t size, std::string& error) {
    switch (tag) {
        case kUsagePage: global_.usagePage = static_cast<uint16_t>(data); break;
        case kLogicalMin: global_.logicalMin = Signed(data, size); break;
        case kLogicalMax:
            global_.logicalMaxRaw = data;
            global_.logicalMaxSize = size;
            break;
        case kPhysicalMin: global_.physicalMin = Signed(data, size); break;
        case kPhysicalMax:
            global_.physicalMaxRaw = data;
            global_.physicalMaxSize = size;
            break;
        case kUnitExponent:
            // Usually a 4-bit two's complement nibble; wider items are taken as signed.
            global_.unitExponent = (size == 1 && data <= 0xF) ? (data >= 8 ? int32_t(data) - 16 : int32_t(data))
                                                             : static_cast<int32_t>(Signed(data, size));
            break;
        case kUnit: global_.unit = data; break;
        case kReportSize:
            if (data > kMaxReportSize) {
                error = "report size " + std::to_string(data) + " too large";
                return false;
            }
            global_.reportSize = data;
            break;
        case kReportId:
            if (data == 0 || data > 0xFF) {
                error = "report id " + std::to_string(data) + " out of range";
                return false;
            }
            global_.reportId = static_cast<uint8_t>(data);
            numbered_ = true;
            break;
        case kReportCount:
            if (data > kMaxReportCount) {
                error = "report count " + std::to_string(data) + " too large";
                return false;
            }
            global_.reportCount = data;
            break;
        case kPush:
            if (stack_.size() >= size_t(HidReportDescriptor::kMaxNesting)) {
                error = "push stack overflow";
                return false;
            }
            stack_.push_back(global_);
            break;
        case kPop:
            if (stack_.empty()) {
                error = "pop without push";
                return false;
            }
            global_ = stack_.back();
            stack_.pop_back();
            break;
        default: break;  // reserved global tag: ignored
    }
    return true;
}

bool HidDescriptorParser::LocalItem(uint8_t tag, uint32_t data, uint8_t size, std::string& error) {
    const LocalUsage usage{size == 4 ? data : (data & 0xFFFF), size == 4};
    // Inside a delimiter set only the first usage counts (the others are aliases).
    const bool aliased = local_.delimiterDepth > 0 && local_.delimiterTaken;
    switch (tag) {
        case kUsage:
            if (aliased) break;
            local_.spans.push_back({usage, usage});
            local_.fromRange.push_back(false);
            if (local_.delimiterDepth > 0) local_.delimiterTaken = true;
            break;
        case kUsageMin:
            if (!aliased) local_.pendingMin = usage;
            break;
        case kUsageMax:
            if (aliased) break;
            if (!local_.pendingMin) {
                error = "usage maximum without usage minimum";
                return false;
            }
            local_.spans.push_back({*local_.pendingMin, usage});
            local_.fromRange.push_back(true);
            local_.pendingMin.reset();
            if (local_.delimiterDepth > 0) local_.delimiterTaken = true;
            break;
        case kDelimiter:
            if (data == 1) {
                ++local_.delimiterDepth;
                local_.delimiterTaken = false;
            } else if (local_.delimiterDepth > 0) {
                --local_.delimiterDepth;
            }
            break;
        default: break;  // designators and strings carry nothing we use
    }
    return true;
}

std::vector<HidUsageSpan> HidDescriptorParser::ResolveUsages() const {
    std::vector<HidUsageSpan> spans;
    auto extend = [this](const LocalUsage& u) {
        return u.extended ? u.value : (uint32_t(global_.usagePage) << 16 | u.value);
    };
    for (size_t i = 0; i < local_.spans.size(); ++i) {
        uint32_t first = extend(local_.spans[i].first);
        uint32_t last = extend(local_.spans[i].second);
        if (last < first) std::swap(first, last);
        spans.push_back({first, last, local_.fromRange[i]});
    }
    return spans;
}

void HidDescriptorParser::FixMaxima() {
    global_.logicalMax = global_.logicalMin < 0 ? Signed(global_.logicalMaxRaw, global_.logicalMaxSize)
                                                : int64_t(global_.logicalMaxRaw);
    global_.physicalMax = global_.physicalMin < 0 ? Signed(global_.physicalMaxRaw, global_.physicalMaxSize)
                                                  : int64_t(global_.physicalMaxRaw);
}

bool HidDescriptorParser::AddField(HidReportType type, uint32_t flags, std::string& error) {
    if (collectionPath_.empty()) {
        error = "main item outside any collection";
        return false;
    }
    FixMaxima();
    const auto key = std::make_pair(static_cast<int>(type), global_.reportId);
    uint32_t& cursor = cursor_[key];
    auto& used = usedReports_.back();
    if (std::find(used.begin(), used.end(), key) == used.end()) used.push_back(key);
    const uint32_t bits = global_.reportSize * global_.reportCount;
    if (bits == 0) return true;
    if (cursor + bits > HidReportDescriptor::kMaxReportBytes * 8) {
        error = "report " + std::to_string(global_.reportId) + " longer than the limit";
        return false;
    }
    HidField field;
    field.type = type;
    field.reportId = global_.reportId;
    field.bitOffset = cursor;
    field.bitSize = static_cast<uint16_t>(global_.reportSize);
    field.reportCount = static_cast<uint16_t>(global_.reportCount);
    field.flags = flags;
    field.logicalMin = global_.logicalMin;
    field.logicalMax = global_.logicalMax;
    field.physicalMin = global_.physicalMin;
    field.physicalMax = global_.physicalMax;
    field.unitExponent = global_.unitExponent;
    field.unit = global_.unit;
    field.linkCollection = collectionPath_.back();
    field.usages = ResolveUsages();
    cursor += bits;
    collections_.back().AddField(std::move(field));
    return true;
}

bool HidDescriptorParser::Main(uint8_t tag, uint32_t data, std::string& error) {
    bool ok = true;
    switch (tag) {
        case kInput: ok = AddField(HidReportType::Input, data, error); break;
        case kOutput: ok = AddField(HidReportType::Output, data, error); break;
        case kFeature: ok = AddField(HidReportType::Feature, data, error); break;
        case kCollection:
            if (collectionPath_.size() >= size_t(HidReportDescriptor::kMaxNesting)) {
                error = "collections nested too deep";
                return false;
            }
            if (collectionPath_.empty()) {
                auto spans = ResolveUsages();
                const uint32_t usage = spans.empty() ? (uint32_t(global_.usagePage) << 16) : spans.front().first;
                collections_.emplace_back(static_cast<uint16_t>(usage >> 16), static_cast<uint16_t>(usage & 0xFFFF),
                                          static_cast<int>(collections_.size() + 1), false);
                usedReports_.emplace_back();
                linkCount_ = 1;
                collectionPath_.push_back(0);
            } else {
                collectionPath_.push_back(linkCount_++);
                collections_.back().SetLinkCollectionCount(linkCount_);
            }
            break;
        case kEndCollection:
            if (collectionPath_.empty()) {
                error = "end collection without collection";
                return false;
            }
            collectionPath_.pop_back();
            break;
        default: break;  // reserved main tag: ignored
    }
    local_ = Local{};
    return ok;
}

}  // namespace device
