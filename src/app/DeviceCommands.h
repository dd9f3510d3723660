#pragma once
// The command-line device tools: --list-devices [--simulate] and --diagnose.
#include <ostream>

namespace app {

// Runs one scanner pass and prints one JSON object per claimed slot, one per line.
// Returns 0. `simulateKeyboard`/`simulatePad`/`simulateHeadset` plug the simulated
// devices onto a virtual bus scanned instead of the USB bus; with none, the real bus is
// scanned.
int RunListDevices(bool simulateKeyboard, bool simulatePad, bool simulateHeadset,
                   std::ostream& out);

// Prints every hidraw node, what this program makes of it, whether this user may open
// it, and whether the udev rule is installed. Returns 0.
int RunDiagnose(std::ostream& out);

}  // namespace app
