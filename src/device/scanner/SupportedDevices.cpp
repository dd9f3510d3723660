// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scanner/SupportedDevices.h"

#include "device/scanner/DeviceKind.h"

namespace device {

namespace {

constexpr size_t kMouseCommandRow = 2;
constexpr size_t kMouseEventRow = 3;
constexpr size_t kMouseTypeRow = 0;

std::array<SupportedDeviceEntry, kSupportedInterfaceRows>& InterfaceRows() {
    //   vendor  product  intf col kind           role          conn page    usage  partner
    static std::array<SupportedDeviceEntry, kSupportedInterfaceRows> table = {{
        {0x320F, 0x505B, 1, 4, kKindKeyboard, kRoleCommand, 0, 0xFF1C, 0x0092, 0, 0, {}},
        {0x320F, 0x505B, 1, 3, kKindKeyboard, kRoleEvent, 0, 0x000C, 0x0001, 0, 0, {}},
        {0, 0, 1, 4, kKindMouse, kRoleCommand, 0, 0xFF1C, 0x0092, 0, 0, {}},
        {0, 0, 1, 3, kKindMouse, kRoleEvent, 0, 0x000C, 0x0001, 0, 0, {}},
        {0x320F, 0x1004, 1, 4, kKindMousePad, kRoleCommand, 0, 0xFF1C, 0x0092, 0, 0, {}},
        {0x320F, 0x1004, 1, 3, kKindMousePad, kRoleEvent, 0, 0x000C, 0x0001, 0, 0, {}},
        {0, 0, 3, 0, kKindHeadset, kRoleCommand, 0, 0x000C, 0x0001, 0, 0, {}},
    }};
    return table;
}

std::array<DeviceTypeRow, kDeviceTypeRows>& TypeRows() {
    static const std::string tab = "XML/CustomControlXML/DeviceOption.xml";
    static std::array<DeviceTypeRow, kDeviceTypeRows> table = {{
        {tab, "tab_header_device", "device_power_switch", "mouse", 1, 0, 0, kKindMouse, kRoleCommand},
        {tab, "tab_header_device", "device_power_switch", "keyboard", 0, 0x320F, 0x505B, kKindKeyboard, kRoleCommand},
        {tab, "tab_header_device", "device_power_switch", "MousePad", 2, 0x320F, 0x1004, kKindMousePad, kRoleCommand},
        {tab, "tab_header_device", "device_power_switch", "HD", 3, 0, 0, kKindHeadset, kRoleCommand},
    }};
    return table;
}

}  // namespace

const std::array<SupportedDeviceEntry, kSupportedInterfaceRows>& SupportedInterfaceTable() {
    return InterfaceRows();
}

const std::array<DeviceTypeRow, kDeviceTypeRows>& DeviceTypeTable() {
    return TypeRows();
}

void UseMouseIdentity(uint16_t vendorId, uint16_t productId, uint16_t kind) {
    for (size_t row : {kMouseCommandRow, kMouseEventRow}) {
        SupportedDeviceEntry& entry = InterfaceRows()[row];
        entry.vendorId = vendorId;
        entry.productId = productId;
        entry.kind = kind;
    }
    DeviceTypeRow& type = TypeRows()[kMouseTypeRow];
    type.vendorId = vendorId;
    type.productId = productId;
    type.kind = kind;
}

void SubstituteIdentity(uint16_t kind, uint16_t vendorId, uint16_t productId) {
    auto substitute = [&](auto& row) {
        if (row.kind != kind || row.vendorId != 0 || row.productId != 0) return;
        row.vendorId = vendorId;
        row.productId = productId;
    };
    for (auto& row : InterfaceRows()) substitute(row);
    for (auto& row : TypeRows()) substitute(row);
}

const std::array<DevicePageRow, kDeviceTypeRows>& DevicePageTable() {
    static const std::array<DevicePageRow, kDeviceTypeRows> table = {{
        {6, 7, 0, -1, "XML/DeviceXml/mousedevice.xml", "vexal_light"},
        {126, 126, 0, -1, "XML/DeviceXml/keyboarddevice.xml", "vexal_light"},
        {15, 0, 0, -1, "XML/DeviceXml/mousepaddevice.xml", "vexal_light"},
        {13, 0, 0, -1, "XML/DeviceXml/zo6533device.xml", "vexal_light"},
    }};
    return table;
}

int FindDeviceTypeRow(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role) {
    const auto& table = DeviceTypeTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const auto& r = table[i];
        if (r.vendorId == vendorId && r.productId == productId && r.kind == kind && r.role == role) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int FindInterfaceRow(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role) {
    const auto& table = SupportedInterfaceTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const auto& r = table[i];
        if (r.vendorId == vendorId && r.productId == productId && r.kind == kind && r.role == role) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace device
