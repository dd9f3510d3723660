// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimulatedDevices.h"

#include "sim/DeviceCatalog.h"

namespace sim {

SimulatedDevices PlugSimulatedDevices(device::VirtualBus& bus) {
    SimulatedDevices devices{std::make_shared<SimDevice>(KeyboardDefinition()),
                             std::make_shared<SimDevice>(MousePadDefinition())};
    devices.keyboard->Plug(bus);
    devices.pad->Plug(bus);
    return devices;
}

}  // namespace sim
