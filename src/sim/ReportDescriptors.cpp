// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/ReportDescriptors.h"

namespace sim {

namespace {

// The vendor command reports inside a collection whose usage page is set: id 4, 63 data
// bytes each way.
std::vector<std::uint8_t> CommandReports() {
    return {
        0x85, 0x04,        //   Report ID (4)
        0x09, 0x01,        //   Usage (1)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x3F,        //   Report Count (63)
        0x81, 0x02,        //   Input (Data, Variable, Absolute): replies
        0x09, 0x02,        //   Usage (2)
        0x91, 0x02,        //   Output (Data, Variable, Absolute): requests
    };
}

}  // namespace

std::vector<std::uint8_t> BootKeyboardDescriptor() {
    return {
        0x05, 0x01,        // Usage Page (Generic Desktop)
        0x09, 0x06,        // Usage (Keyboard)
        0xA1, 0x01,        // Collection (Application)
        0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
        0x19, 0xE0,        //   Usage Minimum (Left Control)
        0x29, 0xE7,        //   Usage Maximum (Right GUI)
        0x15, 0x00,        //   Logical Minimum (0)
        0x25, 0x01,        //   Logical Maximum (1)
        0x75, 0x01,        //   Report Size (1)
        0x95, 0x08,        //   Report Count (8)
        0x81, 0x02,        //   Input (Data, Variable, Absolute): modifiers
        0x95, 0x01,        //   Report Count (1)
        0x75, 0x08,        //   Report Size (8)
        0x81, 0x01,        //   Input (Constant): reserved byte
        0x95, 0x05,        //   Report Count (5)
        0x75, 0x01,        //   Report Size (1)
        0x05, 0x08,        //   Usage Page (LEDs)
        0x19, 0x01,        //   Usage Minimum (Num Lock)
        0x29, 0x05,        //   Usage Maximum (Kana)
        0x91, 0x02,        //   Output (Data, Variable, Absolute): LED state
        0x95, 0x01,        //   Report Count (1)
        0x75, 0x03,        //   Report Size (3)
        0x91, 0x01,        //   Output (Constant): padding
        0x95, 0x06,        //   Report Count (6)
        0x75, 0x08,        //   Report Size (8)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
        0x19, 0x00,        //   Usage Minimum (0)
        0x2A, 0xFF, 0x00,  //   Usage Maximum (255)
        0x81, 0x00,        //   Input (Data, Array): six key codes
        0xC0,              // End Collection
    };
}

std::vector<std::uint8_t> ConfigInterfaceDescriptor() {
    std::vector<std::uint8_t> d = {
        // Collection 1: keyboard with N-key rollover, report id 1
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x06,  // Usage (Keyboard)
        0xA1, 0x01,  // Collection (Application)
        0x85, 0x01,  //   Report ID (1)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0xE0,  //   Usage Minimum (Left Control)
        0x29, 0xE7,  //   Usage Maximum (Right GUI)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x08,  //   Report Count (8)
        0x81, 0x02,  //   Input (Data, Variable, Absolute): modifiers
        0x19, 0x00,  //   Usage Minimum (0)
        0x29, 0x77,  //   Usage Maximum (0x77)
        0x95, 0x78,  //   Report Count (120)
        0x81, 0x02,  //   Input (Data, Variable, Absolute): one bit per key
        0xC0,        // End Collection

        // Collection 2: system control, report id 2
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x80,  // Usage (System Control)
        0xA1, 0x01,  // Collection (Application)
        0x85, 0x02,  //   Report ID (2)
        0x19, 0x81,  //   Usage Minimum (System Power Down)
        0x29, 0x83,  //   Usage Maximum (System Wake Up)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x03,  //   Report Count (3)
        0x81, 0x02,  //   Input (Data, Variable, Absolute)
        0x95, 0x05,  //   Report Count (5)
        0x81, 0x01,  //   Input (Constant): padding
        0xC0,        // End Collection

        // Collection 3: consumer control, report id 3; usages 0x0401-0x06FF are the
        // device's own events (settings, profile, key press and release)
        0x05, 0x0C,        // Usage Page (Consumer)
        0x09, 0x01,        // Usage (Consumer Control)
        0xA1, 0x01,        // Collection (Application)
        0x85, 0x03,        //   Report ID (3)
        0x19, 0x00,        //   Usage Minimum (0)
        0x2A, 0xFF, 0x06,  //   Usage Maximum (0x06FF)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x06,  //   Logical Maximum (0x06FF)
        0x75, 0x10,        //   Report Size (16)
        0x95, 0x01,        //   Report Count (1)
        0x81, 0x00,        //   Input (Data, Array, Absolute)
        0xC0,              // End Collection

        // Collection 4: vendor commands, report id 4, 63 bytes each way
        0x06, 0x1C, 0xFF,  // Usage Page (Vendor 0xFF1C)
        0x09, 0x92,        // Usage (0x92)
        0xA1, 0x01,        // Collection (Application)
    };
    const std::vector<std::uint8_t> commands = CommandReports();
    d.insert(d.end(), commands.begin(), commands.end());
    d.push_back(0xC0);  // End Collection
    return d;
}

std::vector<std::uint8_t> PadAuxDescriptor() {
    return {
        0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
        0x09, 0x01,        // Usage (1)
        0xA1, 0x01,        // Collection (Application)
        0x09, 0x02,        //   Usage (2)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x08,        //   Report Count (8)
        0x81, 0x02,        //   Input (Data, Variable, Absolute)
        0x09, 0x03,        //   Usage (3)
        0x91, 0x02,        //   Output (Data, Variable, Absolute)
        0xC0,              // End Collection
    };
}

std::vector<std::uint8_t> HeadsetControlDescriptor() {
    std::vector<std::uint8_t> d = {
        0x05, 0x0C,        // Usage Page (Consumer)
        0x09, 0x01,        // Usage (Consumer Control)
        0xA1, 0x01,        // Collection (Application)
        0x06, 0x1C, 0xFF,  //   Usage Page (Vendor 0xFF1C)
    };
    const std::vector<std::uint8_t> commands = CommandReports();
    d.insert(d.end(), commands.begin(), commands.end());
    d.insert(d.end(), {
        0x85, 0xFF,        //   Report ID (0xFF)
        0x09, 0x03,        //   Usage (3)
        0x95, 0x10,        //   Report Count (16)
        0x91, 0x02,        //   Output (Data, Variable, Absolute): LED colours
        0xC0,              // End Collection
    });
    return d;
}

}  // namespace sim
