// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulated device on the virtual bus: the shared firmware behind the interfaces its
// SimDeviceDefinition declares. It answers every command report on the vendor collection,
// keeps a wire log, sends its own events on the consumer collection, and misbehaves on
// request (FaultPlan).
//
// Requests are 64-byte output reports with id 4 on the configuration interface; anything
// else the host writes is logged and ignored. Replies are 64-byte input reports with id 4;
// events are 3-byte input reports {3, usage low, usage high}.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "device/hid/VirtualBus.h"
#include "device/hid/VirtualHidDevice.h"
#include "sim/DelayedSender.h"
#include "sim/FaultPlan.h"
#include "sim/Firmware.h"
#include "sim/SimDeviceDefinition.h"
#include "sim/WireLog.h"

namespace sim {

class SimDevice : public device::VirtualHidDevice, public std::enable_shared_from_this<SimDevice> {
public:
    // Event usages on the consumer collection.
    static constexpr std::uint16_t kSettingsChanged = 0x0401;
    static constexpr std::uint16_t kProfileChanged = 0x0402;
    static constexpr std::uint16_t kKeyPressedBase = 0x0500;
    static constexpr std::uint16_t kKeyReleasedBase = 0x0600;

    explicit SimDevice(SimDeviceDefinition def);
    ~SimDevice() override;

    const SimDeviceDefinition& Definition() const { return definition_; }

    // Attaches to / detaches from a bus; false when already plugged (or not plugged).
    bool Plug(device::VirtualBus& bus);
    bool Unplug();

    WireLog& Log() { return log_; }
    // The LED reports (SimDeviceDefinition::ledReportId) received since the last take,
    // oldest first; only the newest kLedReportsKept are kept, the count has them all.
    static constexpr std::size_t kLedReportsKept = 4800;
    std::vector<std::vector<std::uint8_t>> TakeLedReports();
    std::uint64_t LedReportCount() const;
    FaultPlan& Faults() { return faults_; }
    // A look at the firmware's memories and state, under the device's lock.
    void Inspect(const std::function<void(const Firmware&)>& look) const;

    // What the user does on the device itself; each sends its event when plugged.
    bool ChangeSettingsOnDevice(std::size_t offset, std::span<const std::uint8_t> bytes);
    void SwitchProfileOnDevice(std::uint8_t index);
    bool PressKey(std::size_t slot);  // false: no such slot, or the device has no key events
    bool ReleaseKey(std::size_t slot);
    bool SendEvent(std::uint16_t usage);  // any usage, for odd reports
    void SetLinkUp(bool up);
    // What the next key table reads answer (the definition gives the first choice).
    void SetKeyTableReadback(KeyTableReadback mode);

    // device::VirtualHidDevice
    device::VirtualDeviceIdentity Identity() const override;
    device::VirtualWriteAck OnOutputReport(int interfaceNumber,
                                           std::span<const std::uint8_t> report) override;
    void OnUnplugged() override;

private:
    bool KeepLedReport(int interfaceNumber, std::span<const std::uint8_t> report);
    // The definition's recorded answer to this request, when it has one: sent (or, for a
    // request the device left unanswered, withheld) and true.
    bool ReplayRecorded(int interfaceNumber, const Frame& request);
    void Reply(const Frame& reply, int delayMs);
    void SendNow(int interfaceNumber, const std::vector<std::uint8_t>& report);
    bool KeyEvent(std::size_t slot, std::uint16_t base);

    const SimDeviceDefinition definition_;
    WireLog log_;
    mutable std::mutex ledMutex_;
    std::deque<std::vector<std::uint8_t>> ledReports_;
    std::uint64_t ledCount_ = 0;
    FaultPlan faults_;
    mutable std::mutex firmwareMutex_;
    Firmware firmware_;
    std::mutex busMutex_;
    device::VirtualBus* bus_ = nullptr;
    DelayedSender later_;  // last: its thread uses the members above
};

}  // namespace sim
