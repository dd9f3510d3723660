// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/SlotMapStore.h"

#include <json/json.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <utility>

#include "data/JsonAccess.h"
#include "data/JsonDataFile.h"
#include "model/device/FactoryKeyTable.h"

namespace model {

namespace {

using SlotMap = std::array<uint8_t, kKeyPositions>;
constexpr uint8_t kNone = PositionMaps::kNotPresent;

// The slots the maps can name: a byte with 255 reserved, and inside the table read.
int UsableSlots(std::span<const uint8_t> keyTable, int slots) {
    const int inByte = std::clamp(slots, 0, static_cast<int>(kNone));
    return std::min(inByte, static_cast<int>(keyTable.size() / 3));
}

KeyEntry EntryAt(std::span<const uint8_t> keyTable, int slot) {
    const auto at = static_cast<std::size_t>(slot) * 3;
    return {keyTable[at], keyTable[at + 1], keyTable[at + 2]};
}

int PositionsCarrying(const KeyEntry& entry) {
    const auto& factory = FactoryKeyTable::Entries();
    return static_cast<int>(std::count(factory.begin(), factory.end(), entry));
}

// A matrix cell without a key holds an empty entry; anything else must be a key's factory
// entry, each at most as often as positions carry it, and at least one key must be there
// (a table of zeros is a failed read, not a keyboard).
bool LooksFactory(std::span<const uint8_t> keyTable, int slots) {
    const int usable = UsableSlots(keyTable, slots);
    if (usable <= 0 || usable != slots) return false;
    bool anyKey = false;
    for (int k = 0; k < usable; ++k) {
        const KeyEntry entry = EntryAt(keyTable, k);
        if (entry == KeyEntry{}) continue;
        const int carriers = PositionsCarrying(entry);
        if (carriers == 0) return false;
        int seen = 0;
        for (int other = 0; other < usable; ++other) {
            if (EntryAt(keyTable, other) == entry) ++seen;
        }
        if (seen > carriers) return false;
        anyKey = true;
    }
    return anyKey;
}

// The memory may grow, never change: every remembered slot is confirmed and more are found.
bool Extends(const SlotMap& found, const SlotMap& remembered) {
    bool more = false;
    for (int p = 0; p < kKeyPositions; ++p) {
        if (remembered[p] != kNone && found[p] != remembered[p]) return false;
        if (remembered[p] == kNone && found[p] != kNone) more = true;
    }
    return more;
}

PositionMaps WithSlots(const SlotMap& slots, std::span<const uint8_t> ledMap) {
    PositionMaps maps;
    maps.slot = slots;
    for (int p = 0; p < kKeyPositions; ++p) {
        if (slots[p] != kNone && slots[p] < ledMap.size()) maps.led[p] = ledMap[slots[p]];
    }
    return maps;
}

std::filesystem::path FileOf(const std::filesystem::path& folder, const KeyboardModel& model) {
    char name[48];
    std::snprintf(name, sizeof name, "slotmap_%04x_%04x_%04x.Json", model.vendorId, model.productId,
                  model.release);
    return folder / name;
}

bool MemberIs(const Json::Value& root, const char* name, int expected) {
    const Json::Value& member = JsonAccess::Member(root, name);
    return member.isInt() && member.asInt() == expected;
}

std::optional<SlotMap> Recall(const std::filesystem::path& file, const KeyboardModel& model,
                              int slots, int usable) {
    const Json::Value root = JsonDataFile().ReadJsonFile(file);
    if (!root.isObject() || !MemberIs(root, "VendorId", model.vendorId) ||
        !MemberIs(root, "ProductId", model.productId) ||
        !MemberIs(root, "Release", model.release) || !MemberIs(root, "KeySlots", slots))
        return std::nullopt;
    const Json::Value& list = JsonAccess::Member(root, "SlotMap");
    if (!list.isArray() || list.size() != kKeyPositions) return std::nullopt;
    SlotMap map;
    bool any = false;
    for (int p = 0; p < kKeyPositions; ++p) {
        const Json::Value& element = JsonAccess::Element(list, p);
        if (!element.isInt()) return std::nullopt;
        const int slot = element.asInt();
        if (slot != kNone && (slot < 0 || slot >= usable)) return std::nullopt;
        map[p] = static_cast<uint8_t>(slot);
        any = any || slot != kNone;
    }
    if (!any) return std::nullopt;
    return map;
}

void Remember(const std::filesystem::path& file, const KeyboardModel& model, int slots,
              const SlotMap& map) {
    Json::Value root(Json::objectValue);
    root["VendorId"] = model.vendorId;
    root["ProductId"] = model.productId;
    root["Release"] = model.release;
    root["KeySlots"] = slots;
    Json::Value& list = root["SlotMap"] = Json::Value(Json::arrayValue);
    for (uint8_t slot : map) list.append(slot);
    // Not written: the maps still hold for this connection, and the next clean table
    // tries again.
    JsonDataFile().WriteJsonFile(file, root);
}

}  // namespace

SlotMapStore::SlotMapStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

PositionMaps SlotMapStore::Resolve(const KeyboardModel& model, std::span<const uint8_t> keyTable,
                                   std::span<const uint8_t> ledMap, int slots) {
    const std::filesystem::path file = FileOf(folder_, model);
    const PositionMaps found = PositionMaps::Build(keyTable, ledMap, slots);
    const bool clean = LooksFactory(keyTable, slots);
    const std::optional<SlotMap> remembered =
        Recall(file, model, slots, UsableSlots(keyTable, slots));
    if (!remembered) {
        if (clean) Remember(file, model, slots, found.slot);
        return found;
    }
    if (clean && Extends(found.slot, *remembered)) {
        Remember(file, model, slots, found.slot);
        return found;
    }
    return WithSlots(*remembered, ledMap);
}

}  // namespace model
