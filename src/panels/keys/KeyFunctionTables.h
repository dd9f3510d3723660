// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the key panel's combos stand for: the function categories with their type bytes,
// and for each combo the bytes of its items in item order. A key's assignment is three
// bytes (type, byte 1, byte 0); these tables turn a combo item into them and back.
#include <cstdint>
#include <span>
#include <string_view>

namespace panels::keys {

enum Category {
    kDefault = 0,
    kMouseButton = 1,
    kSwing = 2,
    kWheel = 3,
    kDpi = 4,
    kRapidFire = 5,
    kKeyboardKey = 6,
    kMedia = 7,
    kSystem = 8,
    kMacro = 9,
    kGunKey = 10,
    kShortcut = 11,
};

inline constexpr uint8_t kTypeMouseButton = 0x10;
inline constexpr uint8_t kTypeSwing = 0x11;
inline constexpr uint8_t kTypeWheel = 0x12;
inline constexpr uint8_t kTypeDpi = 0x13;
inline constexpr uint8_t kTypeRapidFire = 0x14;
inline constexpr uint8_t kTypeKey = 0x20;
inline constexpr uint8_t kTypeMedia = 0x30;
inline constexpr uint8_t kTypeSystem = 0x40;
inline constexpr uint8_t kTypeMacro = 0x70;
inline constexpr uint8_t kTypeMacroRepeat = 0x71;
inline constexpr uint8_t kTypeGunKey = 0x72;
inline constexpr uint8_t kTypeShortcutOnly = 0xB0;

// The macro playback-mode item that repeats a given number of times.
inline constexpr int kRepeatModeItem = 4;

struct ItemBytes {
    uint8_t type;
    uint8_t byte1;
    uint8_t byte0;
    std::string_view nameKey;  // the name the key picture shows for it (may be empty)
};

std::span<const ItemBytes> MouseButtonItems();
std::span<const ItemBytes> DpiItems();
std::span<const ItemBytes> MediaItems();
std::span<const ItemBytes> SystemItems();
// The items of a category's one combo (mouse button, DPI, media, system, shortcut); empty
// for the others.
std::span<const ItemBytes> ItemsOf(int category);

// The item with these bytes (type compared), or -1.
int FindItem(std::span<const ItemBytes> items, uint8_t type, uint8_t byte1, uint8_t byte0);

// A modifier bit of the key table (row 0..7 of the eight modifiers) as the option 0..4 of
// the panel: left and right keys of a kind give the same option.
int ModifierOptionOfRow(int row);
// The byte 1 an option writes: 0 for none, else the left-hand bit of its kind.
uint8_t ModifierBitOfOption(int option);

}  // namespace panels::keys
