// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Remembers which key slot carries which key position, per keyboard model and firmware
// release, so that the keys are still found at a connection whose key table no longer
// shows their factory entries (a keyboard that reads back the assignments written to it).
//
// A key table that looks like a factory one (each slot empty or holding some position's
// factory entry, no entry in more slots than positions carry it) is matched against the
// factory entries, and the first such match is remembered. From then on the memory wins:
// two swapped keys look just as clean, and only the memory tells them apart. A later
// factory-looking table that agrees with every remembered slot and finds more keys
// extends the memory. Without a memory, any table is matched as well as it goes.
//
// The memory of a model lives in the folder as "slotmap_VVVV_PPPP_RRRR.Json" (vendor,
// product and release in lower-case hex), members "VendorId", "ProductId", "Release",
// "KeySlots" and "SlotMap" (126 slots, 255 for a position without one). A file that is
// missing, damaged, names another model or slot count, or holds a slot outside the table
// is ignored as a whole, and the next factory-looking table replaces it.
//
// Thread: one caller at a time per object. It touches nothing but its own files, each
// replaced whole, so two stores on one folder at worst both write the same memory.
#include <cstdint>
#include <filesystem>
#include <span>

#include "model/device/PositionMaps.h"

namespace model {

// Identifies the key layout of one keyboard model and firmware release.
struct KeyboardModel {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t release = 0;
};

class SlotMapStore {
public:
    explicit SlotMapStore(std::filesystem::path folder);  // the keyboard's user data folder

    // The position maps for the key table and LED map read at one connection (`slots`
    // 3-byte entries / LED bytes). Every slot in the result is below `slots` and inside
    // the key table, or kNotPresent. An unwritable folder only costs the memory.
    PositionMaps Resolve(const KeyboardModel& model, std::span<const uint8_t> keyTable,
                         std::span<const uint8_t> ledMap, int slots);

private:
    std::filesystem::path folder_;
};

}  // namespace model
