// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of the lighting engine's host that every device kind answers the same way:
// the command channel's state, the LED count and the device's two lighting locks.
#include <mutex>

#include "model/device/CLumitrekUSBDevice.h"

namespace model {

template <class HostInterface>
class DeviceLightingHost : public HostInterface {
public:
    explicit DeviceLightingHost(CLumitrekUSBDevice& device) : device_(device) {}

    bool IsCommandChannelOpen() const override { return device_.IsConnected(); }
    bool IsSynchronised() const override { return device_.Channel().SyncFlag() != 0; }
    int LedCount() const override { return device_.GetLedCount(); }
    bool HostDrivesLeds() const override { return device_.HostDrivesLeds(); }
    void OnLightThreadWakes() override { device_.OnLightThreadWakes(); }
    std::mutex& LightStepLock() override { return device_.LightStepLock(); }
    std::mutex& LightListLock() override { return device_.LightListLock(); }

protected:
    CLumitrekUSBDevice& device_;
};

}  // namespace model
