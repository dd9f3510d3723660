// SPDX-License-Identifier: GPL-3.0-or-later
// A device capture from a stranger: the reader must refuse it or hand over only what the
// format's limits allow, and a device built from what it took must keep the firmware's
// own rules (tables that fit their areas, replies only for requests the capture made).
#include "fuzz/FuzzSupport.h"
#include "sim/CaptureDevice.h"
#include "sim/CaptureFormat.h"
#include "sim/CaptureReader.h"
#include "sim/Firmware.h"

using namespace sim;

namespace {

void CheckDevice(const CapturedDevice& device) {
    FUZZ_CHECK(capture::IsKindName(device.kind));
    FUZZ_CHECK(device.interfaces.size() <= capture::kMaxInterfaces);
    for (const auto& i : device.interfaces)
        FUZZ_CHECK(!i.descriptor.empty() && i.descriptor.size() <= capture::kMaxDescriptorBytes);
    FUZZ_CHECK(device.exchange.size() <= capture::kMaxExchangeEntries);
    double last = 0;
    for (const auto& e : device.exchange) {
        FUZZ_CHECK(!e.bytes.empty() && e.bytes.size() <= capture::kMaxReportBytes);
        FUZZ_CHECK(e.ms >= last);
        last = e.ms;
    }
    FUZZ_CHECK(!device.info || device.info->size() == capture::kInfoBytes);
    FUZZ_CHECK(!device.keyTable || device.keyTable->size() % 3 == 0);
    FUZZ_CHECK(device.settingsOffset + device.settings.size() <= capture::kMaxSettingsBytes);

    std::string error;
    const auto build = BuildFromCapture(device, error);
    if (!build) {
        FUZZ_CHECK(error.rfind(device.where, 0) == 0);
        return;
    }
    const SimDeviceDefinition& def = build->definition;
    FUZZ_CHECK(def.keySlots.size() * 3 <= capture::kMaxTableBytes);
    FUZZ_CHECK(def.settingsDefaults.size() <= def.settingsSize);
    FUZZ_CHECK(def.recordedReplies.size() <= device.exchange.size());
    bool found = false;
    for (const auto& i : def.interfaces) found |= i.number == def.configInterface;
    FUZZ_CHECK(found);
    for (const std::string& note : build->notes) FUZZ_CHECK(note.rfind(device.where, 0) == 0);
    // The firmware takes the tables as they are: one read of each must answer.
    Firmware firmware(def);
    for (std::uint8_t code : {3, 5, 7, 26, 27}) {
        Frame request{};
        request[0] = 4;
        request[3] = code;
        request[4] = 56;
        const std::uint16_t sum = Firmware::Checksum(request);
        request[1] = static_cast<std::uint8_t>(sum & 0xFF);
        request[2] = static_cast<std::uint8_t>(sum >> 8);
        const Frame reply = firmware.Handle(request);
        FUZZ_CHECK(reply[3] == code);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CaptureReadResult read = ReadCapture(fuzz::AsText(data, size));
    if (!read.Ok()) {
        FUZZ_CHECK(read.devices.empty());
        return 0;
    }
    FUZZ_CHECK(read.devices.size() <= capture::kMaxDevices);
    for (const CapturedDevice& device : read.devices) CheckDevice(device);
    return 0;
}
