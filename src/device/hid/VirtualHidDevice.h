// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device side of the virtual bus: a firmware emulator derives from this class,
// describes itself with Identity(), receives what the host writes, and sends input
// reports whenever it likes, from any thread (the host's writing thread inside
// OnOutputReport, or a thread of its own for slow replies).
//
// Byte contract as on the host side: byte 0 of every report is the report id, 0 for a
// device that does not number its reports; lengths count that byte.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace device {

class VirtualNode;

struct VirtualInterface {
    int number = 0;                         // bInterfaceNumber
    std::vector<uint8_t> reportDescriptor;  // parsed by the bus when the device is plugged
};

struct VirtualDeviceIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t releaseNumber = 0;
    std::string name;
    std::vector<VirtualInterface> interfaces;  // "&mi_" appears in paths when there are two or more
    // The USB device has interfaces besides these HID ones (a headset's audio): "&mi_"
    // appears even with one HID interface.
    bool composite = false;
};

// How an output transfer ends, as the device decides it.
struct VirtualWriteAck {
    bool accepted = true;  // false: the host's write fails (a stalled or refused transfer)
    // How long the host's write stays blocked before it completes, like a device that is
    // slow to take the transfer. Negative: it never completes until the device is unplugged.
    int completeAfterMs = 0;
};

class VirtualHidDevice {
public:
    VirtualHidDevice() = default;
    virtual ~VirtualHidDevice();
    VirtualHidDevice(const VirtualHidDevice&) = delete;
    VirtualHidDevice& operator=(const VirtualHidDevice&) = delete;

    // Read once, when the device is plugged.
    virtual VirtualDeviceIdentity Identity() const = 0;

    // A report the host wrote to interface `interfaceNumber`. Called on the host's
    // writing thread, never with a bus lock held, so SendInputReport may be called from
    // here. Calls for one device may come from several host threads at once.
    virtual VirtualWriteAck OnOutputReport(int interfaceNumber, std::span<const uint8_t> report) = 0;

    // An output report sent over the control pipe (SetOutputReport on the host). The
    // default takes it as one written to the interrupt pipe.
    virtual bool OnSetOutputReport(int interfaceNumber, std::span<const uint8_t> report);

    // Feature reports; the defaults refuse them.
    virtual bool OnSetFeatureReport(int interfaceNumber, std::span<const uint8_t> report);
    // Fill `report` (report[0] holds the wanted id) and return the length, or 0 to refuse.
    virtual size_t OnGetFeatureReport(int interfaceNumber, std::span<uint8_t> report);

    // Told after the device was attached to, or removed from, a bus (on the thread that
    // called Plug or Unplug, with no bus lock held).
    virtual void OnPlugged() {}
    virtual void OnUnplugged() {}

    // Queues one input report for every host reader of the interface; each reader keeps
    // at most 64 and drops what comes while its queue is full. False when the device is
    // not plugged or the report id belongs to no input report of the interface.
    bool SendInputReport(int interfaceNumber, std::span<const uint8_t> report);

    bool IsPlugged() const;

private:
    friend class VirtualBus;
    void Attach(std::shared_ptr<VirtualNode> node);
    void Detach();

    mutable std::mutex linkMutex_;
    std::shared_ptr<VirtualNode> node_;
};

}  // namespace device
