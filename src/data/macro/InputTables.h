// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys and mouse events a macro can hold, with the language keys of their names.
// Key rows are in a fixed order that other tables refer to by index: the eight modifiers
// first (rows 0..7, each with its bit of the modifier byte), then the other keys with
// their usage on the HID keyboard page. Each key carries its set-1 scan code with the
// extended flag (how a captured key is recognised) and its Windows virtual-key code.
// Mouse rows 0..9 are the buttons (press and release), 10..13 the pointer moves and 14
// the pointer itself; a row's type byte has bit 7 set for a press or a move towards the
// left or upwards.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace input {

struct KeyRow {
    const char* name;  // the language key is "keyboard_key_" + name
    uint8_t scanCode;
    bool extended;
    uint16_t virtualKey;
    uint8_t modifierBit;  // rows 0..7
    uint8_t usage;        // rows 8 and up
};

struct MouseRow {
    int message;  // the mouse message it answers (0: none)
    uint8_t button;
    uint8_t typeByte;
    const char* nameKey;
};

inline constexpr int kModifierRows = 8;
inline constexpr int kFirstMoveRow = 10;
inline constexpr uint8_t kPressBit = 0x80;

std::span<const KeyRow> KeyRows();
std::span<const MouseRow> MouseRows();

std::string KeyNameKey(const KeyRow& row);

// The key row of a usage (rows 8 and up), of a modifier bit (rows 0..7), of a captured
// (scan code, extended) pair; -1 when there is none.
int KeyRowOfUsage(int usage);
int KeyRowOfModifier(int bit);
int KeyRowOfScanCode(int scanCode, bool extended);
// Linux names keys by their evdev code (Qt's native scan code is that code + 8, on X11 and
// on Wayland alike). The codes of the set-1 keys without the extended flag are their scan
// codes; the extended keys and the keys of other layouts have codes of their own.
int EvdevCodeOf(const KeyRow& row);
// The key row of an evdev code; -1 for a key the table does not have (media keys, F13
// and above, keys of other layouts).
int KeyRowOfEvdev(int code);
// The first button row with that button (rows 0..9), the move row of a type byte
// (rows 10..13); -1 when there is none.
int MouseRowOfButton(int button);
int MouseRowOfMove(int typeByte);

}  // namespace input
