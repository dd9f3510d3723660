// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small device for the HID-layer tests: a configuration interface (1) with the
// descriptor of TestDescriptors.h and, optionally, a boot keyboard on interface 0.
// It answers each vendor report (id 4) with the same bytes as an input report, and
// completes writes the way `ack` says.
#include <atomic>
#include <mutex>
#include <vector>

#include "device/hid/TestDescriptors.h"
#include "device/hid/VirtualHidDevice.h"

class EchoDevice : public device::VirtualHidDevice {
public:
    explicit EchoDevice(uint16_t product = 0x505B, bool withBootInterface = true)
        : product_(product), boot_(withBootInterface) {}

    device::VirtualDeviceIdentity Identity() const override {
        device::VirtualDeviceIdentity id;
        id.vendorId = 0x320F;
        id.productId = product_;
        id.releaseNumber = 0x0105;
        id.name = "echo";
        if (boot_) id.interfaces.push_back({0, testdesc::BootKeyboard()});
        id.interfaces.push_back({1, testdesc::ConfigInterface()});
        return id;
    }

    device::VirtualWriteAck OnOutputReport(int interfaceNumber, std::span<const uint8_t> report) override {
        device::VirtualWriteAck ack;
        {
            std::lock_guard lock(mutex_);
            written_.emplace_back(report.begin(), report.end());
            ack = ack_;
        }
        if (echo_ && interfaceNumber == 1 && !report.empty() && report[0] == 4) {
            SendInputReport(1, report);
        }
        return ack;
    }

    void SetAck(device::VirtualWriteAck ack) {
        std::lock_guard lock(mutex_);
        ack_ = ack;
    }
    void SetEcho(bool echo) { echo_ = echo; }
    std::vector<std::vector<uint8_t>> Written() const {
        std::lock_guard lock(mutex_);
        return written_;
    }

private:
    uint16_t product_;
    bool boot_;
    std::atomic<bool> echo_{true};
    device::VirtualWriteAck ack_;
    mutable std::mutex mutex_;
    std::vector<std::vector<uint8_t>> written_;
};
