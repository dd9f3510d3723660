// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceCommands.h"

#include <json/json.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "app/CaptureSimulation.h"
#include "app/DesktopDiagnosis.h"
#include "app/DeviceCapture.h"
#include "device/hid/HidBackend.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/DeviceDiagnosis.h"
#include "device/scanner/DeviceKind.h"
#include "device/scanner/DeviceScanner.h"
#include "device/scanner/SupportedDevices.h"
#include "platform/LocalClient.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

namespace app {

namespace {

// Arrivals need no handling here: the slot list is read after the pass.
class SilentClient : public device::ScannerClient {
public:
    void SendScannerMessage(uint32_t, size_t) override {}
    void PostFirstScanDone() override {}
};

constexpr int kRunningCopyProbeMs = 500;

std::string Hex4(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", v);
    return text;
}

}  // namespace

int RunListDevices(const std::optional<SimulationChoice>& simulate, std::ostream& out) {
    std::unique_ptr<SimulatedBench> bench;
    std::shared_ptr<device::HidBackend> backend = device::HidBackend::Default();
    if (simulate && simulate->Any()) {
        std::string error;
        bench = PlugSimulation(*simulate, error);
        if (!bench) {
            std::cerr << "telix-tx512: " << error << "\n";
            return 2;
        }
        backend = bench->bus.Backend();
    }
    device::SlotList slots;
    SilentClient client;
    device::DeviceScanner scanner(slots, client, backend);
    scanner.RunPass();

    // Written by hand so that the members keep the order a reader expects.
    const auto snapshot = slots.Snapshot();
    for (size_t i = 0; i < snapshot.size(); ++i) {
        const auto& slot = snapshot[i];
        if (!slot.connected) continue;
        out << "{\"slot\":" << i << ",\"vendor\":\"" << Hex4(slot.vendorId) << "\",\"product\":\""
            << Hex4(slot.productId) << "\",\"interface\":" << slot.interfaceNumber
            << ",\"collection\":" << slot.collectionNumber << ",\"kind\":" << slot.kind
            << ",\"role\":" << slot.role << ",\"usage_page\":\"" << Hex4(slot.usagePage)
            << "\",\"usage\":\"" << Hex4(slot.usage) << "\",\"path\":"
            << Json::valueToQuotedString(slot.path.c_str()) << "}\n";
    }
    return 0;
}

int RunDiagnose(std::ostream& out, const QtPlatformFinding& qt) {
    out << device::DeviceDiagnosis().Report() << "\n" << DesktopReport(qt)
        << "\nIf a device misbehaves, make a capture to attach to your report (see the README):\n"
        << "    telix-tx512 --diagnose --capture telix-capture.json\n";
    return 0;
}

int RunCapture(const std::optional<SimulationChoice>& simulate, const std::string& file,
               std::ostream& out, std::ostream& err) {
    std::unique_ptr<SimulatedBench> bench;
    std::shared_ptr<device::HidBackend> backend = device::HidBackend::Default();
    if (!simulate) {
        // Two programs taking turns on one command collection would each take the other's
        // replies: the capture would be wrong and the running copy could misread its device.
        platform::LocalClient client;
        if (client.Connect(platform::SingleInstance::SocketPathFor(platform::RuntimeDir()),
                           kRunningCopyProbeMs)) {
            err << "telix-tx512: the program is running and talks to the devices; quit it (the "
                   "tray's Exit) and make the capture again\n";
            return 1;
        }
    }
    if (simulate) {
        std::string error;
        bench = PlugSimulation(*simulate, error);
        if (!bench) {
            err << "telix-tx512: " << error << "\n";
            return 2;
        }
        backend = bench->bus.Backend();
    }
    return WriteCapture(backend, file, out, err);
}

}  // namespace app
