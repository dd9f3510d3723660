// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/DeviceCatalog.h"

#include "sim/ReportDescriptors.h"

namespace sim {

namespace {

// The keyboard scans a 6 x 21 matrix column by column, so its slots run down the columns
// of the key picture; cells without a key (the international and ISO keys of other
// layouts, and the blank cells) hold an empty entry. LEDs are chained row by row in a
// serpentine over the keys that exist.
const SimKeySlot kKeyboardSlots[] = {
    {0x20, 0x00, 0x29, 0},       // slot   0: key position 0
    {0x20, 0x00, 0x35, 38},      // slot   1: key position 21
    {0x20, 0x00, 0x2B, 39},      // slot   2: key position 42
    {0x20, 0x00, 0x39, 74},      // slot   3: key position 63
    {0x20, 0x02, 0x00, 75},      // slot   4: key position 84
    {0x20, 0x01, 0x00, 111},     // slot   5: key position 105
    {0x20, 0x00, 0x3A, 1},       // slot   6: key position 1
    {0x20, 0x00, 0x1E, 37},      // slot   7: key position 22
    {0x20, 0x00, 0x14, 40},      // slot   8: key position 43
    {0x20, 0x00, 0x04, 73},      // slot   9: key position 64
    {0x20, 0x00, 0x1D, 76},      // slot  10: key position 85
    {0x20, 0x08, 0x00, 110},     // slot  11: key position 106
    {0x20, 0x00, 0x3B, 2},       // slot  12: key position 2
    {0x20, 0x00, 0x1F, 36},      // slot  13: key position 23
    {0x20, 0x00, 0x1A, 41},      // slot  14: key position 44
    {0x20, 0x00, 0x16, 72},      // slot  15: key position 65
    {0x20, 0x00, 0x1B, 77},      // slot  16: key position 86
    {0x20, 0x04, 0x00, 109},     // slot  17: key position 107
    {0x20, 0x00, 0x3C, 3},       // slot  18: key position 3
    {0x20, 0x00, 0x20, 35},      // slot  19: key position 24
    {0x20, 0x00, 0x08, 42},      // slot  20: key position 45
    {0x20, 0x00, 0x07, 71},      // slot  21: key position 66
    {0x20, 0x00, 0x06, 78},      // slot  22: key position 87
    {0x20, 0x00, 0x2C, 108},     // slot  23: key position 108
    {0x20, 0x00, 0x3D, 4},       // slot  24: key position 4
    {0x20, 0x00, 0x21, 34},      // slot  25: key position 25
    {0x20, 0x00, 0x15, 43},      // slot  26: key position 46
    {0x20, 0x00, 0x09, 70},      // slot  27: key position 67
    {0x20, 0x00, 0x19, 79},      // slot  28: key position 88
    {0x20, 0x40, 0x00, 107},     // slot  29: key position 109
    {0x20, 0x00, 0x3E, 5},       // slot  30: key position 5
    {0x20, 0x00, 0x22, 33},      // slot  31: key position 26
    {0x20, 0x00, 0x17, 44},      // slot  32: key position 47
    {0x20, 0x00, 0x0A, 69},      // slot  33: key position 68
    {0x20, 0x00, 0x05, 80},      // slot  34: key position 89
    {0xA0, 0x01, 0x00, 106},     // slot  35: key position 110
    {0x20, 0x00, 0x3F, 6},       // slot  36: key position 6
    {0x20, 0x00, 0x23, 32},      // slot  37: key position 27
    {0x20, 0x00, 0x1C, 45},      // slot  38: key position 48
    {0x20, 0x00, 0x0B, 68},      // slot  39: key position 69
    {0x20, 0x00, 0x11, 81},      // slot  40: key position 90
    {0x20, 0x00, 0x65, 105},     // slot  41: key position 111
    {0x20, 0x00, 0x40, 7},       // slot  42: key position 7
    {0x20, 0x00, 0x24, 31},      // slot  43: key position 28
    {0x20, 0x00, 0x18, 46},      // slot  44: key position 49
    {0x20, 0x00, 0x0D, 67},      // slot  45: key position 70
    {0x20, 0x00, 0x10, 82},      // slot  46: key position 91
    {0x20, 0x10, 0x00, 104},     // slot  47: key position 112
    {0x20, 0x00, 0x41, 8},       // slot  48: key position 8
    {0x20, 0x00, 0x25, 30},      // slot  49: key position 29
    {0x20, 0x00, 0x0C, 47},      // slot  50: key position 50
    {0x20, 0x00, 0x0E, 66},      // slot  51: key position 71
    {0x20, 0x00, 0x36, 83},      // slot  52: key position 92
    {0x20, 0x00, 0x50, 103},     // slot  53: key position 113
    {0x20, 0x00, 0x42, 9},       // slot  54: key position 9
    {0x20, 0x00, 0x26, 29},      // slot  55: key position 30
    {0x20, 0x00, 0x12, 48},      // slot  56: key position 51
    {0x20, 0x00, 0x0F, 65},      // slot  57: key position 72
    {0x20, 0x00, 0x37, 84},      // slot  58: key position 93
    {0x20, 0x00, 0x51, 102},     // slot  59: key position 114
    {0x20, 0x00, 0x43, 10},      // slot  60: key position 10
    {0x20, 0x00, 0x27, 28},      // slot  61: key position 31
    {0x20, 0x00, 0x13, 49},      // slot  62: key position 52
    {0x20, 0x00, 0x33, 64},      // slot  63: key position 73
    {0x20, 0x00, 0x38, 85},      // slot  64: key position 94
    {0x20, 0x00, 0x4F, 101},     // slot  65: key position 115
    {0x20, 0x00, 0x44, 11},      // slot  66: key position 11
    {0x20, 0x00, 0x2D, 27},      // slot  67: key position 32
    {0x20, 0x00, 0x2F, 50},      // slot  68: key position 53
    {0x20, 0x00, 0x34, 63},      // slot  69: key position 74
    {0x20, 0x20, 0x00, 86},      // slot  70: key position 95
    {0x20, 0x00, 0x62, 100},     // slot  71: key position 116
    {0x20, 0x00, 0x45, 12},      // slot  72: key position 12
    {0x20, 0x00, 0x2E, 26},      // slot  73: key position 33
    {0x20, 0x00, 0x30, 51},      // slot  74: key position 54
    {0x20, 0x00, 0x28, 62},      // slot  75: key position 75
    {0x20, 0x00, 0x52, 87},      // slot  76: key position 96
    {0x20, 0x00, 0x63, 99},      // slot  77: key position 117
    {0x20, 0x00, 0x46, 13},      // slot  78: key position 13
    {0x20, 0x00, 0x2A, 25},      // slot  79: key position 34
    {0x20, 0x00, 0x31, 52},      // slot  80: key position 55
    {0x20, 0x00, 0x5C, 61},      // slot  81: key position 76
    {0x20, 0x00, 0x59, 88},      // slot  82: key position 97
    {0x20, 0x00, 0x58, 98},      // slot  83: key position 118
    {0x20, 0x00, 0x47, 14},      // slot  84: key position 14
    {0x20, 0x00, 0x49, 24},      // slot  85: key position 35
    {0x20, 0x00, 0x4C, 53},      // slot  86: key position 56
    {0x20, 0x00, 0x5D, 60},      // slot  87: key position 77
    {0x20, 0x00, 0x5A, 89},      // slot  88: key position 98
    {0x20, 0x00, 0x57, 97},      // slot  89: key position 119
    {0x20, 0x00, 0x48, 15},      // slot  90: key position 15
    {0x20, 0x00, 0x4A, 23},      // slot  91: key position 36
    {0x20, 0x00, 0x4D, 54},      // slot  92: key position 57
    {0x20, 0x00, 0x5E, 59},      // slot  93: key position 78
    {0x20, 0x00, 0x5B, 90},      // slot  94: key position 99
    {0xD0, 0xA2, 0x01, 96},      // slot  95: key position 120
    {0xA0, 0x1B, 0x00, 16},      // slot  96: key position 16
    {0x20, 0x00, 0x4B, 22},      // slot  97: key position 37
    {0x20, 0x00, 0x4E, 55},      // slot  98: key position 58
    {0x00, 0x00, 0x00, kNoLed},  // slot  99: matrix cell without a key
    {0x00, 0x00, 0x00, kNoLed},  // slot 100: matrix cell without a key
    {0xD0, 0xA2, 0x02, 95},      // slot 101: key position 121
    {0xA0, 0x24, 0x00, 17},      // slot 102: key position 17
    {0x20, 0x00, 0x53, 21},      // slot 103: key position 38
    {0x20, 0x00, 0x5F, 56},      // slot 104: key position 59
    {0x00, 0x00, 0x00, kNoLed},  // slot 105: matrix cell without a key
    {0x00, 0x00, 0x00, kNoLed},  // slot 106: matrix cell without a key
    {0xD0, 0xA2, 0x03, 94},      // slot 107: key position 122
    {0x00, 0x00, 0x00, kNoLed},  // slot 108: matrix cell without a key
    {0x20, 0x00, 0x54, 20},      // slot 109: key position 39
    {0x20, 0x00, 0x60, 57},      // slot 110: key position 60
    {0x00, 0x00, 0x00, kNoLed},  // slot 111: matrix cell without a key
    {0x00, 0x00, 0x00, kNoLed},  // slot 112: matrix cell without a key
    {0xD0, 0xA2, 0x04, 93},      // slot 113: key position 123
    {0x00, 0x00, 0x00, kNoLed},  // slot 114: matrix cell without a key
    {0x20, 0x00, 0x55, 19},      // slot 115: key position 40
    {0x20, 0x00, 0x61, 58},      // slot 116: key position 61
    {0x00, 0x00, 0x00, kNoLed},  // slot 117: matrix cell without a key
    {0x00, 0x00, 0x00, kNoLed},  // slot 118: matrix cell without a key
    {0xD0, 0xA2, 0x05, 92},      // slot 119: key position 124
    {0x00, 0x00, 0x00, kNoLed},  // slot 120: matrix cell without a key
    {0x20, 0x00, 0x56, 18},      // slot 121: key position 41
    {0x00, 0x00, 0x00, kNoLed},  // slot 122: matrix cell without a key
    {0x00, 0x00, 0x00, kNoLed},  // slot 123: matrix cell without a key
    {0x00, 0x00, 0x00, kNoLed},  // slot 124: matrix cell without a key
    {0x20, 0x80, 0x00, 91},      // slot 125: key position 125
};

// One settings block of the keyboard: active profile, mode, brightness, 4 - speed,
// direction, multi-colour, red, green, blue, 9 reserved bytes, secondary mode, WFlag,
// inverted Key6Flag, WinFlag, polling rate, 2 reserved bytes, custom-colour group.
constexpr std::uint8_t kKeyboardBlock[26] = {
    0x00, 0x01, 0x04, 0x02, 0x00, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00,
};

// One settings block of the pad: bytes 9-20 are the pad's own and come back unchanged.
constexpr std::uint8_t kPadBlock[21] = {
    0x00, 0x02, 0x04, 0x02, 0x00, 0x01, 0x00, 0xFF, 0x00, 0x01, 0x03,
    0x00, 0x0F, 0x20, 0x00, 0x05, 0x00, 0x00, 0x0A, 0x00, 0x01,
};

// The mouse's key slots do not run in key-position order (the side buttons and the two
// DPI keys are wired the other way round), and two slots carry no key, so that the host
// has to find its positions by their factory entries.
const SimKeySlot kMouseSlots[] = {
    {0x10, 0x01, 0x00, kNoLed},  // slot  0: left button
    {0x10, 0x02, 0x00, kNoLed},  // slot  1: right button
    {0x10, 0x04, 0x00, kNoLed},  // slot  2: middle button
    {0x10, 0x08, 0x00, kNoLed},  // slot  3: back
    {0x10, 0x10, 0x00, kNoLed},  // slot  4: forward
    {0x13, 0x02, 0x00, kNoLed},  // slot  5: DPI down
    {0x13, 0x01, 0x00, kNoLed},  // slot  6: DPI up
    {0x13, 0x03, 0x00, kNoLed},  // slot  7: DPI cycle
    {0x00, 0x00, 0x00, kNoLed},  // slot  8: no key
    {0xA0, 0x1B, 0x00, kNoLed},  // slot  9: smart key
    {0x16, 0x90, 0x01, kNoLed},  // slot 10: DPI shift
    {0x00, 0x00, 0x00, kNoLed},  // slot 11: no key
};

// One settings block of the mouse (71 bytes): active profile, mode, brightness, 4 - speed,
// direction, multi-colour, red, green, blue, 2 reserved, report-rate step, DPI stage, 1
// reserved, five DPI stages of 9 bytes (enabled, separate X/Y, X, Y, colour), then the
// screen and correction bytes and the mouse's own tail.
constexpr std::uint8_t kMouseBlock[71] = {
    0x00, 0x00, 0x04, 0x02, 0x01, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00,
    0x01, 0x00, 0x10, 0x00, 0x10, 0x00, 0xFF, 0x00, 0x00,  // 800 DPI
    0x01, 0x00, 0x20, 0x00, 0x20, 0x00, 0x00, 0xFF, 0x00,  // 1600
    0x01, 0x00, 0x40, 0x00, 0x40, 0x00, 0x00, 0x00, 0xFF,  // 3200
    0x01, 0x00, 0x60, 0x00, 0x60, 0x00, 0xFF, 0xFF, 0x00,  // 4800
    0x00, 0x00, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x00, 0xFF,  // 6400, switched off
    0x01, 0x00, 0x0A, 0x00, 0x06, 0x00, 0x00, 0x00, 0x5A, 0xA5, 0x3C, 0xC3,
};

// One settings block of the headset, laid out as the pad's.
constexpr std::uint8_t kHeadsetBlock[21] = {
    0x00, 0x03, 0x04, 0x02, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

// Stored profiles: block i sits at i x stride; byte 0 of the memory is the active index.
std::vector<std::uint8_t> StoredProfiles(const std::uint8_t* block, std::size_t blockSize,
                                         std::size_t stride, std::size_t count) {
    std::vector<std::uint8_t> memory(stride * (count - 1) + blockSize, 0);
    for (std::size_t i = count; i-- > 0;) {
        for (std::size_t b = 0; b < blockSize; ++b) memory[i * stride + b] = block[b];
    }
    memory[0] = 0;
    return memory;
}

SimDeviceDefinition MakeKeyboard() {
    SimDeviceDefinition s;
    s.name = "TX512 keyboard";
    s.vendorId = 0x320F;
    s.productId = 0x505B;
    s.releaseNumber = 0x0105;
    s.interfaces = {{0, BootKeyboardDescriptor()}, {1, ConfigInterfaceDescriptor()}};
    s.infoBlock = {0x05, 0x01, 0x01, 0x05, 0x7E, 0x7E, 0x20, 0x03, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    s.keySlots.assign(std::begin(kKeyboardSlots), std::end(kKeyboardSlots));
    // The host must find its keys again however the keyboard answers; the layout is the
    // kinder answer and what the program has been built against.
    s.keyTableReadback = KeyTableReadback::Layout;
    s.settingsSize = 512;
    s.settingsDefaults = StoredProfiles(kKeyboardBlock, sizeof kKeyboardBlock, 25, 5);
    s.colourPages = 8;
    s.recoilSize = 0;
    s.statusBlock = {0x01, 0x64, 0x00, 0x00, 0x00, 0x00};
    s.sendsKeyEvents = true;
    return s;
}

SimDeviceDefinition MakeMousePad() {
    SimDeviceDefinition s;
    s.name = "TX512 mouse pad";
    s.vendorId = 0x320F;
    s.productId = 0x1004;
    s.releaseNumber = 0x0102;
    s.interfaces = {{0, PadAuxDescriptor()}, {1, ConfigInterfaceDescriptor()}};
    s.infoBlock = {0x02, 0x01, 0x03, 0x04, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    s.settingsSize = 512;
    s.settingsDefaults = StoredProfiles(kPadBlock, sizeof kPadBlock, 64, 4);
    s.colourPages = 0;
    s.statusBlock = {0x01, 0x64, 0x00, 0x00, 0x00, 0x00};
    s.sendsKeyEvents = false;
    return s;
}

SimDeviceDefinition MakeMouse(std::uint16_t productId, const char* name) {
    SimDeviceDefinition s;
    s.name = name;
    s.vendorId = 0x320F;
    s.productId = productId;
    s.releaseNumber = 0x0101;
    // The pointer's own reports are not simulated; interface 0 only has to exist.
    s.interfaces = {{0, PadAuxDescriptor()}, {1, ConfigInterfaceDescriptor()}};
    // Byte 5 key slots, 6 macro memory (16 x 128), 11 DPI step 50, 12 steps 200 (10000
    // DPI), 14-15 the smallest DPI, 100.
    s.infoBlock = {0x03, 0x01, 0x02, 0x06, 0x06, 0x0C, 0x10, 0x00, 0x00, 0x00, 0x00, 0x32,
                   0xC8, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    s.keySlots.assign(std::begin(kMouseSlots), std::end(kMouseSlots));
    s.keyTableReadback = KeyTableReadback::Layout;
    s.settingsSize = 512;
    s.settingsDefaults = StoredProfiles(kMouseBlock, sizeof kMouseBlock, 128, 4);
    s.colourPages = 0;
    // Four patterns of 180 events: 16 + 8 + 16 + 4 x 720 = 2920 bytes, with room to spare.
    s.recoilSize = 4096;
    s.statusBlock = {0x01, 0x64, 0x00, 0x00, 0x00, 0x00};
    s.sendsKeyEvents = false;
    return s;
}

SimDeviceDefinition MakeHeadset() {
    SimDeviceDefinition s;
    s.name = "TX512 headset (simulated)";
    s.vendorId = kSimHeadsetVendor;
    s.productId = kSimHeadsetProduct;
    s.releaseNumber = 0x0100;
    // Interfaces 0-2 are the audio class; only the HID interface is on this bus.
    s.interfaces = {{3, HeadsetControlDescriptor()}};
    s.composite = true;
    s.configInterface = 3;
    s.infoBlock = {0x07, 0x01, 0x03, 0x04, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    s.settingsSize = 512;
    s.settingsDefaults = StoredProfiles(kHeadsetBlock, sizeof kHeadsetBlock, 64, 4);
    s.colourPages = 0;
    s.statusBlock = {0x01, 0x50, 0x00, 0x00, 0x03, 0x00};
    s.sendsKeyEvents = false;
    s.ledReportId = 0xFF;
    return s;
}

}  // namespace

const SimDeviceDefinition& MouseDefinition() {
    static const SimDeviceDefinition def = MakeMouse(0x7F02, "TX512 mouse");
    return def;
}

const SimDeviceDefinition& LongWaitMouseDefinition() {
    static const SimDeviceDefinition def = MakeMouse(0x7F06, "TX512 mouse receiver");
    return def;
}

const SimDeviceDefinition& KeyboardDefinition() {
    static const SimDeviceDefinition def = MakeKeyboard();
    return def;
}

const SimDeviceDefinition& MousePadDefinition() {
    static const SimDeviceDefinition def = MakeMousePad();
    return def;
}

const SimDeviceDefinition& HeadsetDefinition() {
    static const SimDeviceDefinition def = MakeHeadset();
    return def;
}

}  // namespace sim
