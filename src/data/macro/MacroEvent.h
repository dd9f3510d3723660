// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One element of a macro file's "Events": what happens, with which key or button, and
// how long to wait before the next event.
#include <cstdint>

struct MacroEvent {
    int32_t type = 0;    // "Type": 1 mouse button, 4/5 pointer move, 9 modifier, 10 key
    int32_t button = 0;  // "Button": key usage, button bit or distance
    bool down = false;   // "Action" is "down"
    uint16_t delay = 0;  // "Delay" (a decimal string in the file), its low 16 bits

    bool operator==(const MacroEvent&) const = default;
};
