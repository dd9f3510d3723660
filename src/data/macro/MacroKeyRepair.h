// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys play a macro by its index in the library's list, so deleting macro i leaves the
// keys that played it playing nothing that exists and every later macro one place off.
// This brings a key list back in line, without touching anything else.
#include <cstdint>
#include <vector>

#include "data/KeyMapping.h"

class MacroKeyRepair {
public:
    static constexpr uint8_t kTypeMacro = 0x70;
    static constexpr uint8_t kTypeMacroRepeat = 0x71;

    // Either macro type plays the macro numbered by byte 1 (byte 0 is the playback mode
    // or the repeat count).
    static bool PlaysMacro(const KeyAssignment& assignment) {
        return assignment.type == kTypeMacro || assignment.type == kTypeMacroRepeat;
    }

    struct Result {
        std::vector<KeyMapping> keys;
        bool changed = false;        // keys differs from the list given
        bool playedDeleted = false;  // some key played the deleted macro: worth asking first
    };

    // The key list once macro `deleted` has left the library: current halves that played
    // it get the key's default half back; those that played a later macro play the same
    // macro under its new number. Default halves are left as they are.
    static Result AfterDelete(const std::vector<KeyMapping>& keys, int deleted);
};
