// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Report descriptors of the simulated devices, byte for byte as a device returns them.
#include <cstdint>
#include <vector>

namespace sim {

// Interface 0 of the keyboard: the boot keyboard, no report ids.
std::vector<std::uint8_t> BootKeyboardDescriptor();
// The configuration interface: 1 keyboard (id 1), 2 system control (id 2), 3 consumer
// control as one 16-bit usage (id 3, carries the device's events), 4 the vendor command
// collection 0xFF1C/0x0092 (id 4, 63 data bytes in and out).
std::vector<std::uint8_t> ConfigInterfaceDescriptor();
// Interface 0 of the mouse pad: one vendor collection 0xFF00/0x0001, 8 bytes in and out,
// no report ids.
std::vector<std::uint8_t> PadAuxDescriptor();

// Interface 3 of the headset: one consumer collection 0x000C/0x0001 carrying the vendor
// commands (id 4, 63 bytes in and out) and the host-driven LED report (id 0xFF, 16 bytes
// out).
std::vector<std::uint8_t> HeadsetControlDescriptor();

}  // namespace sim
