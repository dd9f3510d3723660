// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-process HID bus for simulated devices. A plugged VirtualHidDevice appears to
// HidDevice exactly as a hidraw device would: one path per top-level collection, e.g.
// "vhid3#vid_320f&pid_505b&mi_01&col04", attributes from its identity, reads of a
// collection that see only its own reports, a 64-report queue per open reader, and an
// unplug that ends every wait at once and makes later reads and writes fail.
//
//   device::VirtualBus bus;
//   auto keyboard = std::make_shared<MyKeyboard>();
//   bus.Plug(keyboard);
//   device::HidDevice hid(bus.Backend());          // or HidBackend::SetDefault(bus.Backend())
//   hid.EnumerateHidPaths(); ...
//   bus.Unplug(*keyboard);
#include <memory>
#include <string>
#include <vector>

#include "device/hid/HidBackend.h"
#include "device/hid/VirtualHidDevice.h"

namespace device {

class VirtualBusState;

class VirtualBus {
public:
    VirtualBus();
    ~VirtualBus();  // unplugs every device
    VirtualBus(const VirtualBus&) = delete;
    VirtualBus& operator=(const VirtualBus&) = delete;

    // Attaches the device under a new node number (a replug gets a new one, as hidraw
    // nodes do). Returns the node number, or -1 when the device is already plugged
    // somewhere or one of its report descriptors does not parse.
    int Plug(std::shared_ptr<VirtualHidDevice> device);
    // Detaches the device: pending host reads and writes on it fail at once.
    bool Unplug(VirtualHidDevice& device);
    void UnplugAll();

    // The host-side paths of a plugged device, in enumeration order; empty when unplugged.
    std::vector<std::string> PathsOf(const VirtualHidDevice& device) const;

    // The backend that HidDevice uses to reach this bus. It stays valid after the bus is
    // destroyed (it then lists nothing).
    std::shared_ptr<HidBackend> Backend() const;

private:
    std::shared_ptr<VirtualBusState> state_;
};

}  // namespace device
