// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimDevice.h"

#include <algorithm>

namespace sim {

namespace {

std::vector<std::uint8_t> Bytes(std::span<const std::uint8_t> s) {
    return {s.begin(), s.end()};
}

}  // namespace

SimDevice::SimDevice(SimDeviceDefinition def)
    : definition_(std::move(def)),
      firmware_(definition_),
      later_(
          [this](int iface, const std::vector<std::uint8_t>& report) { SendNow(iface, report); }) {}

SimDevice::~SimDevice() = default;

bool SimDevice::Plug(device::VirtualBus& bus) {
    {
        std::lock_guard lock(busMutex_);
        if (bus_) return false;
        bus_ = &bus;
    }
    if (bus.Plug(shared_from_this()) < 0) {
        std::lock_guard lock(busMutex_);
        bus_ = nullptr;
        return false;
    }
    log_.Add(WireEntry::Kind::Note, 0, {}, "plugged");
    return true;
}

bool SimDevice::Unplug() {
    device::VirtualBus* bus = nullptr;
    {
        std::lock_guard lock(busMutex_);
        bus = bus_;
    }
    return bus && bus->Unplug(*this);
}

void SimDevice::OnUnplugged() {
    later_.Cancel();
    {
        std::lock_guard lock(busMutex_);
        bus_ = nullptr;
    }
    log_.Add(WireEntry::Kind::Note, 0, {}, "unplugged");
}

void SimDevice::Inspect(const std::function<void(const Firmware&)>& look) const {
    std::lock_guard lock(firmwareMutex_);
    look(firmware_);
}

device::VirtualDeviceIdentity SimDevice::Identity() const {
    device::VirtualDeviceIdentity id;
    id.vendorId = definition_.vendorId;
    id.productId = definition_.productId;
    id.releaseNumber = definition_.releaseNumber;
    id.name = definition_.name;
    id.composite = definition_.composite;
    for (const SimInterface& i : definition_.interfaces)
        id.interfaces.push_back({i.number, i.reportDescriptor});
    return id;
}

bool SimDevice::KeepLedReport(int interfaceNumber, std::span<const std::uint8_t> report) {
    if (definition_.ledReportId == 0 || interfaceNumber != definition_.configInterface ||
        report.empty() || report[0] != definition_.ledReportId)
        return false;
    // Twelve of them go out with every preview frame: the wire log would grow without end.
    std::lock_guard lock(ledMutex_);
    if (ledReports_.size() == kLedReportsKept) ledReports_.pop_front();
    ledReports_.push_back(Bytes(report));
    ++ledCount_;
    return true;
}

std::vector<std::vector<std::uint8_t>> SimDevice::TakeLedReports() {
    std::lock_guard lock(ledMutex_);
    std::vector<std::vector<std::uint8_t>> taken(ledReports_.begin(), ledReports_.end());
    ledReports_.clear();
    return taken;
}

std::uint64_t SimDevice::LedReportCount() const {
    std::lock_guard lock(ledMutex_);
    return ledCount_;
}

device::VirtualWriteAck SimDevice::OnOutputReport(int interfaceNumber,
                                                  std::span<const std::uint8_t> report) {
    if (KeepLedReport(interfaceNumber, report)) return {};
    log_.Add(WireEntry::Kind::Request, interfaceNumber, Bytes(report));
    const bool command = interfaceNumber == definition_.configInterface && report.size() == 64 &&
                         report[0] == definition_.commandReportId;
    if (!command) return {};

    Frame request{};
    std::copy(report.begin(), report.end(), request.begin());
    const auto fault = faults_.Take(request[3]);
    if (!fault && ReplayRecorded(interfaceNumber, request)) return {};
    if (!fault) {
        Frame reply;
        {
            std::lock_guard lock(firmwareMutex_);
            reply = firmware_.Handle(request);
        }
        Reply(reply, 0);
        return {};
    }

    switch (fault->kind) {
        case Fault::Kind::NoReply:
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "fault: no reply");
            break;
        case Fault::Kind::StatusFF:
        case Fault::Kind::StatusFE: {
            const std::uint8_t status = fault->kind == Fault::Kind::StatusFF ? 0xFF : 0xFE;
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "fault: error status");
            Reply(Firmware::StatusReply(request, status), 0);
            break;
        }
        case Fault::Kind::WrongEchoFirst: {
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "fault: wrong echo first");
            Frame stray = request;
            stray[3] = static_cast<std::uint8_t>(request[3] ^ 0x80);
            for (int i = 0; i < std::max(fault->strays, 1); ++i) {
                Reply(Firmware::StatusReply(stray, Firmware::kStatusOk), 0);
            }
            Frame reply;
            {
                std::lock_guard lock(firmwareMutex_);
                reply = firmware_.Handle(request);
            }
            Reply(reply, 0);
            break;
        }
        case Fault::Kind::SlowReply: {
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "fault: slow reply");
            Frame reply;
            {
                std::lock_guard lock(firmwareMutex_);
                reply = firmware_.Handle(request);
            }
            Reply(reply, fault->delayMs);
            break;
        }
        case Fault::Kind::Unplug:
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "fault: unplug");
            Unplug();
            break;
        case Fault::Kind::StallWrite: {
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "fault: stalled write");
            if (fault->delayMs < 0) return {true, -1};  // never taken: nothing to answer
            Frame reply;
            {
                std::lock_guard lock(firmwareMutex_);
                reply = firmware_.Handle(request);
            }
            // The reply follows the transfer: a host that gave up on the write finds it
            // queued behind, as a late answer.
            Reply(reply, fault->delayMs);
            return {true, fault->delayMs};
        }
    }
    return {};
}

bool SimDevice::ReplayRecorded(int interfaceNumber, const Frame& request) {
    for (const SimRecordedReply& recorded : definition_.recordedReplies) {
        if (recorded.request != request) continue;
        if (!recorded.answered) {
            log_.Add(WireEntry::Kind::Note, interfaceNumber, {}, "recorded: no reply");
        } else {
            Reply(recorded.reply, recorded.delayMs);
        }
        return true;
    }
    return false;
}

void SimDevice::Reply(const Frame& reply, int delayMs) {
    std::vector<std::uint8_t> bytes(reply.begin(), reply.end());
    if (delayMs > 0) {
        later_.SendAfter(delayMs, definition_.configInterface, std::move(bytes));
    } else {
        SendNow(definition_.configInterface, bytes);
    }
}

void SimDevice::SendNow(int interfaceNumber, const std::vector<std::uint8_t>& report) {
    const bool event = !report.empty() && report[0] == definition_.eventReportId;
    if (SendInputReport(interfaceNumber, report)) {
        log_.Add(event ? WireEntry::Kind::Event : WireEntry::Kind::Reply, interfaceNumber, report);
    } else {
        log_.Add(WireEntry::Kind::Note, interfaceNumber, report, "not delivered");
    }
}

bool SimDevice::ChangeSettingsOnDevice(std::size_t offset, std::span<const std::uint8_t> bytes) {
    {
        std::lock_guard lock(firmwareMutex_);
        if (!firmware_.WriteSettingsOnDevice(offset, bytes)) return false;
    }
    SendEvent(kSettingsChanged);
    return true;
}

void SimDevice::SwitchProfileOnDevice(std::uint8_t index) {
    {
        std::lock_guard lock(firmwareMutex_);
        firmware_.SetActiveProfile(index);
    }
    SendEvent(kProfileChanged);
}

void SimDevice::SetLinkUp(bool up) {
    std::lock_guard lock(firmwareMutex_);
    firmware_.SetLinkUp(up);
}

void SimDevice::SetKeyTableReadback(KeyTableReadback mode) {
    std::lock_guard lock(firmwareMutex_);
    firmware_.SetReadback(mode);
}

bool SimDevice::PressKey(std::size_t slot) {
    return KeyEvent(slot, kKeyPressedBase);
}
bool SimDevice::ReleaseKey(std::size_t slot) {
    return KeyEvent(slot, kKeyReleasedBase);
}

bool SimDevice::KeyEvent(std::size_t slot, std::uint16_t base) {
    if (!definition_.sendsKeyEvents || slot >= definition_.keySlots.size() || slot > 0xFF)
        return false;
    return SendEvent(static_cast<std::uint16_t>(base + slot));
}

bool SimDevice::SendEvent(std::uint16_t usage) {
    const std::vector<std::uint8_t> report = {definition_.eventReportId,
                                              static_cast<std::uint8_t>(usage & 0xFF),
                                              static_cast<std::uint8_t>(usage >> 8)};
    if (!IsPlugged()) return false;
    SendNow(definition_.configInterface, report);
    return true;
}

}  // namespace sim
