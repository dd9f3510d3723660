// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command-line device tools: --list-devices [--simulate], --diagnose and
// --diagnose --capture FILE.
#include <optional>
#include <ostream>
#include <string>

#include "app/DesktopDiagnosis.h"
#include "app/SimulationChoice.h"

namespace app {

// Runs one scanner pass and prints one JSON object per claimed slot, one per line.
// Returns 0. A simulation plugs the chosen simulated devices onto a virtual bus scanned
// instead of the USB bus; without one, the real bus is scanned.
int RunListDevices(const std::optional<SimulationChoice>& simulate, std::ostream& out);

// Prints every hidraw node, what this program makes of it, whether this user may open
// it, and whether the udev rule is installed, then the desktop: start at login, the session,
// and the Qt platform `qt` found. Returns 0.
int RunDiagnose(std::ostream& out, const QtPlatformFinding& qt);

// Writes a capture of the attached devices (or, with a simulation, the simulated ones)
// to `file` (see DeviceCapture.h). 0 done, 1 failed, 2 a simulation that cannot be set up.
int RunCapture(const std::optional<SimulationChoice>& simulate, const std::string& file,
               std::ostream& out, std::ostream& err);

}  // namespace app
