// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard and the mouse pad as --simulate and the tests attach them.
//
//   device::VirtualBus bus;
//   sim::SimulatedDevices devices = sim::PlugSimulatedDevices(bus);
//   device::HidBackend::SetDefault(bus.Backend());
//   ... devices.keyboard->Log(), devices.pad->Unplug(), ...
#include <memory>

#include "device/hid/VirtualBus.h"
#include "sim/SimDevice.h"

namespace sim {

struct SimulatedDevices {
    std::shared_ptr<SimDevice> keyboard;  // 320f:505b
    std::shared_ptr<SimDevice> pad;       // 320f:1004
};

// Builds both devices from the catalogue and plugs them onto `bus`, keyboard first.
// The bus must outlive the devices' time on it (destroying the bus unplugs them).
SimulatedDevices PlugSimulatedDevices(device::VirtualBus& bus);

}  // namespace sim
