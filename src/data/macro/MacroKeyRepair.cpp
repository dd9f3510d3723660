// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/macro/MacroKeyRepair.h"

MacroKeyRepair::Result MacroKeyRepair::AfterDelete(const std::vector<KeyMapping>& keys,
                                                   int deleted) {
    Result result{keys, false, false};
    // No macro has a negative number; lowering "every later one" would wrap macro 0 to 255.
    if (deleted < 0) return result;
    for (KeyMapping& mapping : result.keys) {
        KeyAssignment& current = mapping.current;
        if (!PlaysMacro(current) || current.byte1 < deleted) continue;
        if (current.byte1 == deleted) {
            result.playedDeleted = true;
            current = mapping.defaults;
        } else {
            --current.byte1;
        }
    }
    result.changed = result.keys != keys;
    return result;
}
