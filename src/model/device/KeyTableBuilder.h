// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a key list (one mapping per key position) into the key table the keyboard
// stores, and renumbers the macros the keys play: on the device a macro is known by its
// place in the macro image, which holds only the macros some present key uses, in the
// order of the first key position that uses each.
#include <cstdint>
#include <span>
#include <vector>

#include "data/KeyMapping.h"
#include "data/macro/MacroKeyRepair.h"
#include "model/device/PositionMaps.h"

namespace model {

class KeyTableBuilder {
public:
    static constexpr uint8_t kTypeMacro = MacroKeyRepair::kTypeMacro;
    static constexpr uint8_t kTypeMacroRepeat = MacroKeyRepair::kTypeMacroRepeat;

    // One rule for the library and the device: what makes a key play a macro.
    static bool PlaysMacro(const KeyAssignment& assignment) {
        return MacroKeyRepair::PlaysMacro(assignment);
    }

    // The library macros (numbers below `macroCount`) that the present keys play, each
    // once, in position order: device macro j is entry j.
    static std::vector<int> UsedMacros(std::span<const KeyMapping> keys, const PositionMaps& maps,
                                       int macroCount);

    // A copy of `base` (the table as read from the device) with the entry of every present
    // position replaced by its current assignment; macros are renumbered as UsedMacros
    // orders them, and a key playing a macro the library no longer has gets its default
    // assignment. Positions the key list does not reach, and slots outside `base`, keep
    // the device's own entries.
    static std::vector<uint8_t> Build(std::span<const uint8_t> base,
                                      std::span<const KeyMapping> keys, const PositionMaps& maps,
                                      int macroCount);
};

}  // namespace model
