// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Report descriptors for the HID tests, annotated item by item so that a reader can
// check every expectation against the bytes.
#include <cstdint>
#include <vector>

namespace testdesc {

// A configuration interface shaped like a gaming keyboard's: four top-level collections,
// numbered reports.
inline std::vector<uint8_t> ConfigInterface() {
    return {
        0x05, 0x01,        // Usage Page (Generic Desktop)
        0x09, 0x06,        // Usage (Keyboard)
        0xA1, 0x01,        // Collection (Application)             -> collection 1
        0x85, 0x01,        //   Report ID (1)
        0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
        0x19, 0x04,        //   Usage Minimum (A)
        0x29, 0x1D,        //   Usage Maximum (Z)
        0x15, 0x00,        //   Logical Minimum (0)
        0x25, 0x01,        //   Logical Maximum (1)
        0x75, 0x01,        //   Report Size (1)
        0x95, 0x1A,        //   Report Count (26)                   26 one-bit buttons
        0x81, 0x02,        //   Input (Data, Variable, Absolute)
        0x75, 0x06,        //   Report Size (6)
        0x95, 0x01,        //   Report Count (1)
        0x81, 0x01,        //   Input (Constant)                    pad to 32 bits
        0xC0,              // End Collection
        0x05, 0x01,        // Usage Page (Generic Desktop)
        0x09, 0x80,        // Usage (System Control)
        0xA1, 0x01,        // Collection (Application)             -> collection 2
        0x85, 0x02,        //   Report ID (2)
        0x19, 0x81,        //   Usage Minimum (System Power Down)
        0x29, 0x83,        //   Usage Maximum (System Wake Up)
        0x15, 0x00,        //   Logical Minimum (0)
        0x25, 0x01,        //   Logical Maximum (1)
        0x75, 0x01,        //   Report Size (1)
        0x95, 0x03,        //   Report Count (3)
        0x81, 0x02,        //   Input (Data, Variable, Absolute)
        0x95, 0x05,        //   Report Count (5)
        0x81, 0x01,        //   Input (Constant)
        0xC0,              // End Collection
        0x05, 0x0C,        // Usage Page (Consumer)
        0x09, 0x01,        // Usage (Consumer Control)
        0xA1, 0x01,        // Collection (Application)             -> collection 3
        0x85, 0x03,        //   Report ID (3)
        0x19, 0x00,        //   Usage Minimum (0)
        0x2A, 0xFF, 0x06,  //   Usage Maximum (0x06FF)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x06,  //   Logical Maximum (0x06FF)
        0x75, 0x10,        //   Report Size (16)
        0x95, 0x01,        //   Report Count (1)
        0x81, 0x00,        //   Input (Data, Array, Absolute)       one 16-bit usage
        0xC0,              // End Collection
        0x06, 0x1C, 0xFF,  // Usage Page (Vendor 0xFF1C)
        0x09, 0x92,        // Usage (0x92)
        0xA1, 0x01,        // Collection (Application)             -> collection 4
        0x85, 0x04,        //   Report ID (4)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x3F,        //   Report Count (63)
        0x09, 0x01,        //   Usage (1)
        0x81, 0x02,        //   Input (Data, Variable, Absolute)    63 bytes in
        0x09, 0x02,        //   Usage (2)
        0x91, 0x02,        //   Output (Data, Variable, Absolute)   63 bytes out
        0xC0,              // End Collection
    };
}

// The boot keyboard: no report ids, so byte 0 of every report is 0.
inline std::vector<uint8_t> BootKeyboard() {
    return {
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x06,  // Usage (Keyboard)
        0xA1, 0x01,  // Collection (Application)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0xE0,  //   Usage Minimum (Left Control)
        0x29, 0xE7,  //   Usage Maximum (Right GUI)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x08,  //   Report Count (8)
        0x81, 0x02,  //   Input (Data, Variable, Absolute)    modifier byte
        0x95, 0x01,  //   Report Count (1)
        0x75, 0x08,  //   Report Size (8)
        0x81, 0x01,  //   Input (Constant)                    reserved byte
        0x05, 0x08,  //   Usage Page (LEDs)
        0x19, 0x01,  //   Usage Minimum (Num Lock)
        0x29, 0x05,  //   Usage Maximum (Kana)
        0x95, 0x05,  //   Report Count (5)
        0x75, 0x01,  //   Report Size (1)
        0x91, 0x02,  //   Output (Data, Variable, Absolute)   LED bits
        0x95, 0x01,  //   Report Count (1)
        0x75, 0x03,  //   Report Size (3)
        0x91, 0x01,  //   Output (Constant)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0x00,  //   Usage Minimum (0)
        0x29, 0x65,  //   Usage Maximum (Application)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x65,  //   Logical Maximum (101)
        0x95, 0x06,  //   Report Count (6)
        0x75, 0x08,  //   Report Size (8)
        0x81, 0x00,  //   Input (Data, Array, Absolute)       six key codes
        0xC0,        // End Collection
    };
}

// A mouse: Application > Physical nesting, signed relative values, a long item, and
// Push/Pop around a vendor value with a 4-byte (extended) usage.
inline std::vector<uint8_t> NestedMouse() {
    return {
        0x05, 0x01,                    // Usage Page (Generic Desktop)
        0x09, 0x02,                    // Usage (Mouse)
        0xA1, 0x01,                    // Collection (Application)
        0x09, 0x01,                    //   Usage (Pointer)
        0xA1, 0x00,                    //   Collection (Physical)            link collection 1
        0x05, 0x09,                    //     Usage Page (Button)
        0x19, 0x01,                    //     Usage Minimum (1)
        0x29, 0x03,                    //     Usage Maximum (3)
        0x15, 0x00,                    //     Logical Minimum (0)
        0x25, 0x01,                    //     Logical Maximum (1)
        0x95, 0x03,                    //     Report Count (3)
        0x75, 0x01,                    //     Report Size (1)
        0x81, 0x02,                    //     Input (Data, Variable, Absolute)  bits 0-2
        0x95, 0x01,                    //     Report Count (1)
        0x75, 0x05,                    //     Report Size (5)
        0x81, 0x01,                    //     Input (Constant)                  bits 3-7
        0xFE, 0x02, 0xF0, 0xAA, 0xBB,  //     Long item (tag 0xF0, 2 data bytes): skipped
        0x05, 0x01,                    //     Usage Page (Generic Desktop)
        0x09, 0x30,                    //     Usage (X)
        0x09, 0x31,                    //     Usage (Y)
        0x15, 0x81,                    //     Logical Minimum (-127)
        0x25, 0x7F,                    //     Logical Maximum (127)
        0x75, 0x08,                    //     Report Size (8)
        0x95, 0x02,                    //     Report Count (2)
        0x81, 0x06,                    //     Input (Data, Variable, Relative)  bytes 1-2
        0xA4,                          //     Push
        0x0B, 0x01, 0x00, 0x00, 0xFF,  //     Usage (0xFF00:0001), extended
        0x15, 0x00,                    //     Logical Minimum (0)
        0x26, 0xE8, 0x03,              //     Logical Maximum (1000)
        0x35, 0x00,                    //     Physical Minimum (0)
        0x45, 0x64,                    //     Physical Maximum (100)
        0x75, 0x10,                    //     Report Size (16)
        0x95, 0x01,                    //     Report Count (1)
        0x81, 0x02,                    //     Input (Data, Variable, Absolute)  bytes 3-4
        0xB4,                          //     Pop                               back to 8-bit, -127..127
        0x09, 0x38,                    //     Usage (Wheel)
        0x95, 0x01,                    //     Report Count (1)
        0x81, 0x06,                    //     Input (Data, Variable, Relative)  byte 5
        0xC0,                          //   End Collection
        0xC0,                          // End Collection
    };
}

}  // namespace testdesc
