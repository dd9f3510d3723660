#include "app/DeviceCommands.h"

#include <json/json.h>

#include <cstdio>
#include <memory>

#include "app/DesktopDiagnosis.h"
#include "device/hid/HidBackend.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/DeviceDiagnosis.h"
#include "device/scanner/DeviceKind.h"
#include "device/scanner/DeviceScanner.h"
#include "device/scanner/SupportedDevices.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimulatedDevices.h"

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
    device::VirtualBus bus;
    sim::SimulatedDevices devices;
    std::shared_ptr<sim::SimDevice> mouse;
    std::shared_ptr<sim::SimDevice> headset;
    std::shared_ptr<device::HidBackend> backend;
    if (simulate && simulate->Any()) {
        devices = sim::PlugSimulatedDevices(bus);
        if (!simulate->keyboard) devices.keyboard->Unplug();
        if (!simulate->pad) devices.pad->Unplug();
        if (simulate->mouse) {
            // As a --simulate run does: the shipped mouse rows name no device.
            const sim::SimDeviceDefinition& definition = simulate->mouseLongWait
                                                             ? sim::LongWaitMouseDefinition()
                                                             : sim::MouseDefinition();
            device::UseMouseIdentity(
                definition.vendorId, definition.productId,
                simulate->mouseLongWait ? device::kKindMouseLongWait : device::kKindMouse);
            mouse = std::make_shared<sim::SimDevice>(definition);
            mouse->Plug(bus);
        }
        if (simulate->headset) {
            // As a --simulate run does: the shipped headset rows name no device.
            device::SubstituteIdentity(device::kKindHeadset, sim::kSimHeadsetVendor,
                                       sim::kSimHeadsetProduct);
            headset = std::make_shared<sim::SimDevice>(sim::HeadsetDefinition());
            headset->Plug(bus);
        }
        backend = bus.Backend();
    } else {
        backend = device::HidBackend::Default();
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
    out << device::DeviceDiagnosis().Report() << "\n" << DesktopReport(qt);
    return 0;
}

}  // namespace app
