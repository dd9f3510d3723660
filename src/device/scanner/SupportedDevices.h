// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables compiled into the program: which collections it talks to, which device
// objects it creates, and what each device page holds.
#include <array>
#include <cstdint>
#include <string>

#include "device/scanner/SupportedDeviceEntry.h"

namespace device {

struct DeviceTypeRow {
    std::string tabLayout;          // the device tab's layout
    std::string tabHeaderName;      // "tab_header_device"
    std::string powerSwitchName;    // "device_power_switch"
    std::string typeName;           // "mouse", "keyboard", "MousePad", "HD"
    int typeIndex = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t kind = 0;
    uint16_t role = 0;
};

struct DevicePageRow {
    int ledCount = 0;
    int keyCount = 0;
    int powerParameter = 0;
    int mouseParameter = 0;
    std::string pageLayout;
    std::string lightListName;
};

inline constexpr size_t kSupportedInterfaceRows = 7;
inline constexpr size_t kDeviceTypeRows = 4;

const std::array<SupportedDeviceEntry, kSupportedInterfaceRows>& SupportedInterfaceTable();
const std::array<DeviceTypeRow, kDeviceTypeRows>& DeviceTypeTable();
const std::array<DevicePageRow, kDeviceTypeRows>& DevicePageTable();  // indexed like DeviceTypeTable

// The mouse rows (both collections and the device type) take these identifiers and kind
// (kKindMouse or kKindMouseLongWait) instead of the shipped vendor and product 0; (0, 0,
// kKindMouse) puts the shipped rows back. Only a simulation gives a mouse identifiers. Call
// it before anything copies the tables (the slot list, the device list): the tables are
// not guarded against a change while they are read.
void UseMouseIdentity(uint16_t vendorId, uint16_t productId, uint16_t kind);
// Simulation only, before anything reads the tables: the rows of device kind `kind` that
// name no device (vendor and product 0) take the given identifiers.
void SubstituteIdentity(uint16_t kind, uint16_t vendorId, uint16_t productId);

// First matching row, or -1.
int FindDeviceTypeRow(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role);
int FindInterfaceRow(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role);

}  // namespace device
