// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One plugged virtual device as the bus holds it: its identity, parsed descriptors,
// node number, and the host-side readers and writers of each of its interfaces.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/hid/HidReportDescriptor.h"
#include "device/hid/VirtualHidDevice.h"
#include "device/hid/VirtualReader.h"
#include "platform/Event.h"

namespace device {

class VirtualNode {
public:
    VirtualNode(int number, std::shared_ptr<VirtualHidDevice> device, VirtualDeviceIdentity identity,
                std::map<int, HidReportDescriptor> descriptors);

    int Number() const { return number_; }
    std::string NodeName() const;
    const VirtualDeviceIdentity& Identity() const { return identity_; }
    VirtualHidDevice& Device() const { return *device_; }
    const HidReportDescriptor* Descriptor(int interfaceNumber) const;
    bool Composite() const { return descriptors_.size() > 1 || identity_.composite; }
    std::vector<std::string> Paths() const;

    bool Deliver(int interfaceNumber, std::span<const uint8_t> report);
    std::shared_ptr<VirtualReader> AddReader(int interfaceNumber);
    void RemoveReader(int interfaceNumber, const VirtualReader* reader);

    // Writers of one interface; an exclusive writer keeps every other writer out.
    bool AddWriter(int interfaceNumber, bool exclusive);
    void RemoveWriter(int interfaceNumber, bool exclusive);

    void MarkUnplugged();
    bool Unplugged() const { return unplugged_.IsSet(); }
    // Set once the device is unplugged; ends stalled writes.
    platform::Event& UnpluggedEvent() { return unplugged_; }

private:
    struct InterfaceState {
        std::vector<std::shared_ptr<VirtualReader>> readers;
        int writers = 0;
        bool exclusive = false;
    };

    const int number_;
    const std::shared_ptr<VirtualHidDevice> device_;
    const VirtualDeviceIdentity identity_;
    const std::map<int, HidReportDescriptor> descriptors_;
    mutable std::mutex mutex_;
    std::map<int, InterfaceState> interfaces_;
    platform::Event unplugged_{platform::Event::Mode::ManualReset};
};

}  // namespace device
