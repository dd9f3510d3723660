// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells the scanner that HID devices may have come or gone, so that it enumerates only
// then. fd() becomes readable when there is news; TakeChanges() drains it.
namespace device {

class HidChangeMonitor {
public:
    virtual ~HidChangeMonitor() = default;
    virtual int fd() const = 0;
    // True when something changed since the last call (and forgets it).
    virtual bool TakeChanges() = 0;
};

}  // namespace device
