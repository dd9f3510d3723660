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

namespace app {

namespace {

// Arrivals need no handling here: the slot list is read after the pass.
class SilentClient : public device::ScannerClient {
public:
    void SendScannerMessage(uint32_t, size_t) override {}
    void PostFirstScanDone() override {}
};

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

int RunDiagnose(std::ostream& out) {
    out << device::DeviceDiagnosis().Report() << "\n" << DesktopReport()
        << "\nIf a device misbehaves, make a capture to attach to your report (see the README):\n"
        << "    telix-tx512 --diagnose --capture telix-capture.json\n";
    return 0;
}

int RunCapture(const std::optional<SimulationChoice>& simulate, const std::string& file,
               std::ostream& out, std::ostream& err) {
    std::unique_ptr<SimulatedBench> bench;
    std::shared_ptr<device::HidBackend> backend = device::HidBackend::Default();
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
