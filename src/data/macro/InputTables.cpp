// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/macro/InputTables.h"

#include <array>

namespace input {

namespace {

constexpr bool E = true;
constexpr bool N = false;

// name, scan code, extended, virtual key, modifier bit, usage
constexpr std::array<KeyRow, 113> kKeys = {{
    {"LCtrl", 0x1D, N, 0xA2, 0x01, 0},    {"LShift", 0x2A, N, 0xA0, 0x02, 0},
    {"LAlt", 0x38, N, 0xA4, 0x04, 0},     {"LWin", 0x5B, E, 0x5B, 0x08, 0},
    {"RCtrl", 0x1D, E, 0xA3, 0x10, 0},    {"RShift", 0x36, E, 0xA1, 0x20, 0},
    {"RAlt", 0x38, E, 0xA5, 0x40, 0},     {"RWin", 0x5C, E, 0x5C, 0x80, 0},
    {"A", 0x1E, N, 0x41, 0, 0x04},        {"B", 0x30, N, 0x42, 0, 0x05},
    {"C", 0x2E, N, 0x43, 0, 0x06},        {"D", 0x20, N, 0x44, 0, 0x07},
    {"E", 0x12, N, 0x45, 0, 0x08},        {"F", 0x21, N, 0x46, 0, 0x09},
    {"G", 0x22, N, 0x47, 0, 0x0A},        {"H", 0x23, N, 0x48, 0, 0x0B},
    {"I", 0x17, N, 0x49, 0, 0x0C},        {"J", 0x24, N, 0x4A, 0, 0x0D},
    {"K", 0x25, N, 0x4B, 0, 0x0E},        {"L", 0x26, N, 0x4C, 0, 0x0F},
    {"M", 0x32, N, 0x4D, 0, 0x10},        {"N", 0x31, N, 0x4E, 0, 0x11},
    {"O", 0x18, N, 0x4F, 0, 0x12},        {"P", 0x19, N, 0x50, 0, 0x13},
    {"Q", 0x10, N, 0x51, 0, 0x14},        {"R", 0x13, N, 0x52, 0, 0x15},
    {"S", 0x1F, N, 0x53, 0, 0x16},        {"T", 0x14, N, 0x54, 0, 0x17},
    {"U", 0x16, N, 0x55, 0, 0x18},        {"V", 0x2F, N, 0x56, 0, 0x19},
    {"W", 0x11, N, 0x57, 0, 0x1A},        {"X", 0x2D, N, 0x58, 0, 0x1B},
    {"Y", 0x15, N, 0x59, 0, 0x1C},        {"Z", 0x2C, N, 0x5A, 0, 0x1D},
    {"1", 0x02, N, 0x31, 0, 0x1E},        {"2", 0x03, N, 0x32, 0, 0x1F},
    {"3", 0x04, N, 0x33, 0, 0x20},        {"4", 0x05, N, 0x34, 0, 0x21},
    {"5", 0x06, N, 0x35, 0, 0x22},        {"6", 0x07, N, 0x36, 0, 0x23},
    {"7", 0x08, N, 0x37, 0, 0x24},        {"8", 0x09, N, 0x38, 0, 0x25},
    {"9", 0x0A, N, 0x39, 0, 0x26},        {"0", 0x0B, N, 0x30, 0, 0x27},
    {"Enter", 0x1C, N, 0x0D, 0, 0x28},    {"Esc", 0x01, N, 0x1B, 0, 0x29},
    {"BackSpace", 0x0E, N, 0x08, 0, 0x2A}, {"Tab", 0x0F, N, 0x09, 0, 0x2B},
    {"Space", 0x39, N, 0x20, 0, 0x2C},    {"-", 0x0C, N, 0xBD, 0, 0x2D},
    {"=", 0x0D, N, 0xBB, 0, 0x2E},        {"[", 0x1A, N, 0xDB, 0, 0x2F},
    {"]", 0x1B, N, 0xDD, 0, 0x30},        {"xiegang", 0x2B, N, 0xDC, 0, 0x31},
    {";", 0x27, N, 0xBA, 0, 0x33},        {"'", 0x28, N, 0xDE, 0, 0x34},
    {"`", 0x29, N, 0xC0, 0, 0x35},        {"<", 0x33, N, 0xBC, 0, 0x36},
    {".", 0x34, N, 0xBE, 0, 0x37},        {"/", 0x35, N, 0xBF, 0, 0x38},
    {"Caplk", 0x3A, N, 0x14, 0, 0x39},    {"F1", 0x3B, N, 0x70, 0, 0x3A},
    {"F2", 0x3C, N, 0x71, 0, 0x3B},       {"F3", 0x3D, N, 0x72, 0, 0x3C},
    {"F4", 0x3E, N, 0x73, 0, 0x3D},       {"F5", 0x3F, N, 0x74, 0, 0x3E},
    {"F6", 0x40, N, 0x75, 0, 0x3F},       {"F7", 0x41, N, 0x76, 0, 0x40},
    {"F8", 0x42, N, 0x77, 0, 0x41},       {"F9", 0x43, N, 0x78, 0, 0x42},
    {"F10", 0x44, N, 0x79, 0, 0x43},      {"F11", 0x57, N, 0x7A, 0, 0x44},
    {"F12", 0x58, N, 0x7B, 0, 0x45},      {"Print Scr", 0x37, E, 0x2C, 0, 0x46},
    {"Scroll Lock", 0x46, N, 0x91, 0, 0x47}, {"Pause", 0x45, N, 0x13, 0, 0x48},
    {"Insert", 0x52, E, 0x2D, 0, 0x49},   {"Home", 0x47, E, 0x24, 0, 0x4A},
    {"Page Up", 0x49, E, 0x21, 0, 0x4B},  {"Delete", 0x53, E, 0x2E, 0, 0x4C},
    {"End", 0x4F, E, 0x23, 0, 0x4D},      {"Page Down", 0x51, E, 0x22, 0, 0x4E},
    {"Right", 0x4D, E, 0x27, 0, 0x4F},    {"Left", 0x4B, E, 0x25, 0, 0x50},
    {"Down", 0x50, E, 0x28, 0, 0x51},     {"Up", 0x48, E, 0x26, 0, 0x52},
    {"Num Lock", 0x45, E, 0x90, 0, 0x53}, {"Num /", 0x35, E, 0x6F, 0, 0x54},
    {"Num *", 0x37, N, 0x6A, 0, 0x55},    {"Num -", 0x4A, N, 0x6D, 0, 0x56},
    {"Num +", 0x4E, N, 0x6B, 0, 0x57},    {"Num Enter", 0x1C, E, 0x101, 0, 0x58},
    {"Num 1", 0x4F, N, 0x61, 0, 0x59},    {"Num 2", 0x50, N, 0x62, 0, 0x5A},
    {"Num 3", 0x51, N, 0x63, 0, 0x5B},    {"Num 4", 0x4B, N, 0x64, 0, 0x5C},
    {"Num 5", 0x4C, N, 0x65, 0, 0x5D},    {"Num 6", 0x4D, N, 0x66, 0, 0x5E},
    {"Num 7", 0x47, N, 0x67, 0, 0x5F},    {"Num 8", 0x48, N, 0x68, 0, 0x60},
    {"Num 9", 0x49, N, 0x69, 0, 0x61},    {"Num 0", 0x52, N, 0x60, 0, 0x62},
    {"Decimal", 0x53, N, 0x6E, 0, 0x63},  {"App", 0x5D, E, 0x5D, 0, 0x65},
    {"K45", 0x56, N, 0xE2, 0, 0x64},      {"K56", 0x73, N, 0xC1, 0, 0x87},
    {"K14", 0x7D, N, 0xFF, 0, 0x89},      {"K107", 0x7E, N, 0xC2, 0, 0x85},
    {"K131", 0x7B, N, 0xEB, 0, 0x8B},     {"K132", 0x79, N, 0xFF, 0, 0x8A},
    {"K133", 0x70, N, 0xFF, 0, 0x88},     {"K150", 0x71, N, 0xE9, 0, 0x91},
    {"K151", 0x72, N, 0xFF, 0, 0x90},
}};

constexpr std::array<MouseRow, 15> kMouse = {{
    {513, 1, 0x81, "mouse_key_left"},
    {514, 1, 0x01, "mouse_key_left"},
    {516, 2, 0x81, "mouse_key_right"},
    {517, 2, 0x01, "mouse_key_right"},
    {519, 4, 0x81, "mouse_key_middle"},
    {520, 4, 0x01, "mouse_key_middle"},
    {523, 16, 0x81, "mouse_key_forward"},
    {524, 16, 0x01, "mouse_key_forward"},
    {523, 8, 0x81, "mouse_key_back"},
    {524, 8, 0x01, "mouse_key_back"},
    {0, 0, 0x84, "mouse_move_to_left_text"},
    {0, 0, 0x04, "mouse_move_to_right_text"},
    {0, 0, 0x85, "mouse_move_to_up_text"},
    {0, 0, 0x05, "mouse_move_to_down_text"},
    {522, 0, 0x00, "mouse_cursor_text"},
}};

// Keys whose evdev code is not their scan code: by (scan code, extended flag).
struct EvdevException {
    uint8_t scanCode;
    bool extended;
    int code;
};
constexpr std::array<EvdevException, 29> kEvdevExceptions = {{
    {0x5B, E, 125},  // left Windows (KEY_LEFTMETA)
    {0x1D, E, 97},   // right Ctrl
    {0x36, E, 54},   // right Shift: the table marks it extended, evdev does not
    {0x38, E, 100},  // right Alt
    {0x5C, E, 126},  // right Windows
    {0x37, E, 99},   // Print Screen (KEY_SYSRQ)
    {0x45, N, 119},  // Pause
    {0x52, E, 110},  // Insert
    {0x47, E, 102},  // Home
    {0x49, E, 104},  // Page Up
    {0x53, E, 111},  // Delete
    {0x4F, E, 107},  // End
    {0x51, E, 109},  // Page Down
    {0x4D, E, 106},  // Right
    {0x4B, E, 105},  // Left
    {0x50, E, 108},  // Down
    {0x48, E, 103},  // Up
    {0x45, E, 69},   // Num Lock: extended in the table, the plain code in evdev
    {0x35, E, 98},   // keypad /
    {0x1C, E, 96},   // keypad Enter
    {0x5D, E, 127},  // Menu (KEY_COMPOSE)
    {0x73, N, 89},   // Ro
    {0x7D, N, 124},  // Yen
    {0x7E, N, 95},   // keypad comma (KEY_KPJPCOMMA)
    {0x7B, N, 94},   // Muhenkan
    {0x79, N, 92},   // Henkan
    {0x70, N, 93},   // Katakana/Hiragana
    {0x71, N, 123},  // Hanja
    {0x72, N, 122},  // Hangeul
}};

template <class Rows, class Match>
int FindRow(const Rows& rows, int first, int end, Match match) {
    for (int i = first; i < end; ++i)
        if (match(rows[static_cast<std::size_t>(i)])) return i;
    return -1;
}

}  // namespace

std::span<const KeyRow> KeyRows() { return kKeys; }
std::span<const MouseRow> MouseRows() { return kMouse; }

std::string KeyNameKey(const KeyRow& row) { return std::string("keyboard_key_") + row.name; }

int KeyRowOfUsage(int usage) {
    if (usage == 0) return -1;
    return FindRow(kKeys, kModifierRows, static_cast<int>(kKeys.size()),
                   [usage](const KeyRow& row) { return row.usage == usage; });
}

int KeyRowOfModifier(int bit) {
    if (bit == 0) return -1;
    return FindRow(kKeys, 0, kModifierRows,
                   [bit](const KeyRow& row) { return row.modifierBit == bit; });
}

int KeyRowOfScanCode(int scanCode, bool extended) {
    return FindRow(kKeys, 0, static_cast<int>(kKeys.size()), [&](const KeyRow& row) {
        return row.scanCode == scanCode && row.extended == extended;
    });
}

int EvdevCodeOf(const KeyRow& row) {
    for (const EvdevException& exception : kEvdevExceptions)
        if (exception.scanCode == row.scanCode && exception.extended == row.extended)
            return exception.code;
    return row.extended ? -1 : row.scanCode;
}

int KeyRowOfEvdev(int code) {
    if (code <= 0) return -1;
    return FindRow(kKeys, 0, static_cast<int>(kKeys.size()),
                   [code](const KeyRow& row) { return EvdevCodeOf(row) == code; });
}

int MouseRowOfButton(int button) {
    if (button == 0) return -1;
    return FindRow(kMouse, 0, kFirstMoveRow,
                   [button](const MouseRow& row) { return row.button == button; });
}

int MouseRowOfMove(int typeByte) {
    return FindRow(kMouse, kFirstMoveRow, kFirstMoveRow + 4,
                   [typeByte](const MouseRow& row) { return row.typeByte == typeByte; });
}

}  // namespace input
