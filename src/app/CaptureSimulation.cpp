// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CaptureSimulation.h"

#include "device/scanner/DeviceKind.h"
#include "device/scanner/SupportedDevices.h"
#include "sim/CaptureFormat.h"
#include "sim/DeviceCatalog.h"

namespace app {

namespace {

// The kind of the rows a captured device would be claimed by.
uint16_t RowKind(const std::string& kind) {
    if (kind == "keyboard") return device::kKindKeyboard;
    if (kind == "pad") return device::kKindMousePad;
    if (kind == "mouse") return device::kKindMouse;
    if (kind == "mouse6") return device::kKindMouseLongWait;
    return device::kKindHeadset;
}

bool Shipped(const sim::CaptureBuild& build) {
    return build.kind == "keyboard" || build.kind == "pad";
}

}  // namespace

CaptureSimulation LoadCaptureSimulation(const std::string& file) {
    CaptureSimulation simulation;
    const sim::CaptureReadResult read = sim::ReadCaptureFile(file);
    if (!read.Ok()) {
        simulation.error = read.error;
        return simulation;
    }
    for (const sim::CapturedDevice& captured : read.devices) {
        std::string error;
        auto build = sim::BuildFromCapture(captured, error);
        if (!build) {
            simulation.error = file + ": " + error;
            return simulation;
        }
        if (CapturedKind(simulation, build->kind == "mouse6" ? "mouse" : build->kind)) {
            simulation.notes.push_back(captured.where + ": a second " + build->kind +
                                       "; only the first one of a kind is simulated");
            continue;
        }
        const auto& def = build->definition;
        if (Shipped(*build) &&
            device::FindDeviceTypeRow(def.vendorId, def.productId, RowKind(build->kind),
                                      device::kRoleCommand) < 0)
            simulation.notes.push_back(captured.where +
                                       ".identity: " + sim::capture::Hex16(def.vendorId) + ":" +
                                       sim::capture::Hex16(def.productId) +
                                       " is not a device this program serves; it stays unclaimed");
        simulation.notes.insert(simulation.notes.end(), build->notes.begin(), build->notes.end());
        simulation.builds.push_back(std::move(*build));
    }
    if (simulation.builds.empty()) simulation.error = file + ": the capture holds no device";
    return simulation;
}

const sim::CaptureBuild* CapturedKind(const CaptureSimulation& simulation,
                                      const std::string& kind) {
    for (const sim::CaptureBuild& build : simulation.builds) {
        const std::string own = build.kind == "mouse6" ? "mouse" : build.kind;
        if (own == kind) return &build;
    }
    return nullptr;
}

void AdoptCapturedIdentities(const CaptureSimulation& simulation) {
    for (const sim::CaptureBuild& build : simulation.builds) {
        const auto& def = build.definition;
        if (build.kind == "mouse" || build.kind == "mouse6")
            device::UseMouseIdentity(def.vendorId, def.productId, RowKind(build.kind));
        else if (build.kind == "headset")
            device::SubstituteIdentity(device::kKindHeadset, def.vendorId, def.productId);
    }
}

std::unique_ptr<SimulatedBench> PlugSimulation(const SimulationChoice& choice, std::string& error) {
    auto bench = std::make_unique<SimulatedBench>();
    std::vector<sim::SimDeviceDefinition> definitions;
    if (!choice.captureFile.empty()) {
        const CaptureSimulation simulation = LoadCaptureSimulation(choice.captureFile);
        if (!simulation.error.empty()) {
            error = simulation.error;
            return nullptr;
        }
        AdoptCapturedIdentities(simulation);
        for (const auto& build : simulation.builds) definitions.push_back(build.definition);
    } else {
        if (choice.keyboard) definitions.push_back(sim::KeyboardDefinition());
        if (choice.pad) definitions.push_back(sim::MousePadDefinition());
        if (choice.mouse) {
            // As a --simulate run does: the shipped mouse rows name no device.
            const auto& mouse =
                choice.mouseLongWait ? sim::LongWaitMouseDefinition() : sim::MouseDefinition();
            device::UseMouseIdentity(
                mouse.vendorId, mouse.productId,
                choice.mouseLongWait ? device::kKindMouseLongWait : device::kKindMouse);
            definitions.push_back(mouse);
        }
        if (choice.headset) {
            device::SubstituteIdentity(device::kKindHeadset, sim::kSimHeadsetVendor,
                                       sim::kSimHeadsetProduct);
            definitions.push_back(sim::HeadsetDefinition());
        }
    }
    for (auto& definition : definitions) {
        bench->devices.push_back(std::make_shared<sim::SimDevice>(std::move(definition)));
        bench->devices.back()->Plug(bench->bus);
    }
    return bench;
}

}  // namespace app
