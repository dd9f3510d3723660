// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the input listener needs from the device object that owns it. The device object
// opens its event channel before it starts the listener and stops the listener before
// it closes the channel.
#include "device/hid/HidDevice.h"

namespace device {

class ListenerOwner {
public:
    virtual ~ListenerOwner() = default;

    virtual bool EventChannelOpen() const = 0;
    virtual HidDevice& EventDevice() = 0;
    // Timer 1002 on the device tab; its handler runs OnSyncRequest on the UI thread.
    virtual void ArmSyncTimer(int intervalMs) = 0;
    // A key slot pressed (action 1) or released (action 2), for reactive lighting.
    virtual void OnKeyEvent(int keySlot, int action) = 0;
};

}  // namespace device
