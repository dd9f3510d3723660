// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the scanner tells the main window. The main window implements this; the scanner
// calls it from its own thread.
#include <cstddef>
#include <cstdint>

namespace device {

inline constexpr uint32_t kDeviceArrivedMessage = 0x0C12;  // wParam = slot, already claimed
inline constexpr uint32_t kDeviceRemovedMessage = 0x0C13;  // wParam = slot, already free

class ScannerClient {
public:
    virtual ~ScannerClient() = default;

    // A synchronous send: returns once the receiver has handled the message (opened or
    // closed the slot's channels). It must also return, unhandled, once the receiver is
    // shutting down, or a scanner being stopped by that receiver would wait on it.
    virtual void SendScannerMessage(uint32_t message, size_t slot) = 0;

    // Posted (not waited for) once, after the first pass: the registered message named
    // "TELIX TX512 keyboard Driver".
    virtual void PostFirstScanDone() = 0;
};

}  // namespace device
