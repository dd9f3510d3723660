// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/keys/KeyFunctionTables.h"

#include <array>

namespace panels::keys {

namespace {

// Consumer-page usages go low byte first.
constexpr ItemBytes Media(uint16_t usage, std::string_view name) {
    return {kTypeMedia, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8), name};
}

constexpr std::array<ItemBytes, 5> kMouseButtonItems = {{
    {kTypeMouseButton, 0x01, 0, "mouse_key_left"},
    {kTypeMouseButton, 0x04, 0, "mouse_key_middle"},
    {kTypeMouseButton, 0x02, 0, "mouse_key_right"},
    {kTypeMouseButton, 0x10, 0, "mouse_key_forward"},
    {kTypeMouseButton, 0x08, 0, "mouse_key_back"},
}};

constexpr std::array<ItemBytes, 3> kDpiItems = {{
    {kTypeDpi, 1, 0, "mouse_key_DPI_add"},
    {kTypeDpi, 2, 0, "mouse_key_DPI_sub"},
    {kTypeDpi, 3, 0, "mouse_key_DPI_loop"},
}};

constexpr std::array<ItemBytes, 18> kMediaItems = {{
    Media(0x0183, "media_text"),    Media(0x00CD, "media_play"),    Media(0x00B7, "media_stop"),
    Media(0x00B6, "media_prev"),    Media(0x00B5, "media_next"),    Media(0x00EA, "media_vol_sub"),
    Media(0x00E9, "media_vol_add"), Media(0x00E2, "media_mute"),    Media(0x0223, "web_text"),
    Media(0x0227, "web_refresh"),   Media(0x0226, "wed_stop"),      Media(0x0224, "wed_back"),
    Media(0x0225, "wed_forward"),   Media(0x022A, "wed_favorite"),  Media(0x0221, "web_search"),
    Media(0x0194, "media_mypc"),    Media(0x0192, "media_calc"),    Media(0x018A, "media_mail"),
}};

constexpr std::array<ItemBytes, 3> kSystemItems = {{
    {kTypeSystem, 0x01, 0, "system_power"},
    {kTypeSystem, 0x02, 0, "system_sleep"},
    {kTypeSystem, 0x04, 0, "system_wake_up"},
}};

// Ctrl with O, N, Z, S, C, X, V, F, A, minus, equals.
constexpr std::array<ItemBytes, 11> kShortcutItems = {{
    {kTypeKey, 0x01, 0x12, {}}, {kTypeKey, 0x01, 0x11, {}}, {kTypeKey, 0x01, 0x1D, {}},
    {kTypeKey, 0x01, 0x16, {}}, {kTypeKey, 0x01, 0x06, {}}, {kTypeKey, 0x01, 0x1B, {}},
    {kTypeKey, 0x01, 0x19, {}}, {kTypeKey, 0x01, 0x09, {}}, {kTypeKey, 0x01, 0x04, {}},
    {kTypeKey, 0x01, 0x2D, {}}, {kTypeKey, 0x01, 0x2E, {}},
}};

}  // namespace

std::span<const ItemBytes> MouseButtonItems() { return kMouseButtonItems; }
std::span<const ItemBytes> DpiItems() { return kDpiItems; }
std::span<const ItemBytes> MediaItems() { return kMediaItems; }
std::span<const ItemBytes> SystemItems() { return kSystemItems; }

std::span<const ItemBytes> ItemsOf(int category) {
    switch (category) {
        case kMouseButton: return kMouseButtonItems;
        case kDpi: return kDpiItems;
        case kMedia: return kMediaItems;
        case kSystem: return kSystemItems;
        case kShortcut: return kShortcutItems;
        default: return {};
    }
}

int FindItem(std::span<const ItemBytes> items, uint8_t type, uint8_t byte1, uint8_t byte0) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].type == type && items[i].byte1 == byte1 && items[i].byte0 == byte0)
            return static_cast<int>(i);
    return -1;
}

int ModifierOptionOfRow(int row) {
    if (row < 0 || row > 7) return 0;
    return ((row + 1) % 5) + (row + 1) / 5;
}

uint8_t ModifierBitOfOption(int option) {
    if (option <= 0 || option > 4) return 0;
    return static_cast<uint8_t>(1u << (option - 1));
}

}  // namespace panels::keys
