// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings words that pack two 16-bit values, low half first, as the system-settings
// sections of the profiles keep them.
#include <json/json.h>

#include <cstdint>

#include "data/JsonAccess.h"

class HalfWords {
public:
    // Packs the named members of `object` (a missing member is 0, each is cut to 16 bits).
    static uint32_t Read(const Json::Value& object, const char* low, const char* high) {
        return Pack(JsonAccess::ReadInt(object, low), JsonAccess::ReadInt(object, high));
    }
    static uint32_t Pack(int32_t low, int32_t high) {
        return (static_cast<uint32_t>(low) & 0xFFFFu) | (static_cast<uint32_t>(high) & 0xFFFFu)
                                                            << 16;
    }
    static Json::Int Low(uint32_t word) { return static_cast<Json::Int>(word & 0xFFFFu); }
    static Json::Int High(uint32_t word) { return static_cast<Json::Int>(word >> 16); }

    static void Write(Json::Value& object, const char* low, const char* high, uint32_t word) {
        JsonAccess::WritableMember(object, low) = Low(word);
        JsonAccess::WritableMember(object, high) = High(word);
    }
};
