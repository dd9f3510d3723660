// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --simulate=capture:FILE: the devices of a capture (sim::BuildFromCapture) as a run and
// the command-line tools attach them. The shipped tables name no mouse or headset, so a
// captured one lends its identifiers to their rows, as the simulator's own devices do.
#include <memory>
#include <string>
#include <vector>

#include "app/SimulationChoice.h"
#include "device/hid/VirtualBus.h"
#include "sim/CaptureDevice.h"
#include "sim/SimDevice.h"

namespace app {

struct CaptureSimulation {
    std::vector<sim::CaptureBuild> builds;
    std::vector<std::string> notes;  // every build's, and what the tables will not claim
    std::string error;               // the file cannot stand for any device
};

CaptureSimulation LoadCaptureSimulation(const std::string& file);
// The build of a kind ("keyboard", "pad", "mouse" for either mouse, "headset"), or null.
const sim::CaptureBuild* CapturedKind(const CaptureSimulation& simulation, const std::string& kind);
// Before anything copies the tables: the rows of the captured mouse and headset take
// their identifiers.
void AdoptCapturedIdentities(const CaptureSimulation& simulation);

// A virtual bus with the devices a choice names plugged in, for the tools that run
// without the window (--list-devices, --diagnose --capture).
struct SimulatedBench {
    device::VirtualBus bus;
    std::vector<std::shared_ptr<sim::SimDevice>> devices;
};
std::unique_ptr<SimulatedBench> PlugSimulation(const SimulationChoice& choice, std::string& error);

}  // namespace app
