// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One opened top-level collection as a backend serves it. HidDevice holds it through a
// shared_ptr so that a thread still inside a read or write keeps it alive while another
// thread closes the HidDevice.
//
// Byte contract, both directions: byte 0 is the report id, 0 when the device does not
// number its reports; lengths count that byte.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/hid/HidTypes.h"

namespace device {

struct HidConnectionInfo {
    HidAttributes attributes;
    int interfaceNumber = -1;  // -1 when the device is not a USB interface
    std::vector<uint8_t> reportDescriptor;
};

enum class HidReadStatus {
    GotReport,   // one report was copied out
    WouldBlock,  // nothing queued; poll ReadableFd() and try again
    Gone,        // the device went away (queued reports were handed out first)
};

class HidConnection {
public:
    virtual ~HidConnection() = default;

    virtual const HidConnectionInfo& Info() const = 0;

    // Readable (POLLIN, or POLLHUP/POLLERR) while TryRead would not answer WouldBlock;
    // -1 when the connection was opened without read access.
    virtual int ReadableFd() const = 0;

    // Takes the oldest queued input report of the whole interface (every collection of
    // it: the caller filters). A report longer than the buffer is cut to its size.
    virtual HidReadStatus TryRead(std::span<uint8_t> buffer, size_t& length) = 0;

    // Sends one output report and blocks until the transfer is done, failed, or the
    // device went away. The caller bounds this wait itself (see WritePump).
    virtual bool Write(std::span<const uint8_t> report) = 0;

    virtual bool SetFeature(std::span<const uint8_t> report) = 0;
    // One output report over the control pipe (a SET_REPORT request) rather than the
    // interrupt pipe, for devices that take some reports only that way. Blocks like
    // Write; a backend without a control path sends it as Write does.
    virtual bool SetOutput(std::span<const uint8_t> report) { return Write(report); }
    // `report[0]` holds the wanted report id on entry.
    virtual bool GetFeature(std::span<uint8_t> report, size_t& length) = 0;
};

}  // namespace device
