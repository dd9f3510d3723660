// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --diagnose --capture FILE: a file a user can read and then attach to a report of a
// device that misbehaves. Per supported device it holds the identity, every report
// descriptor with how the program reads it, the connection routine's exchange as it ran
// (each report with its time, each step with its result), and the tables that exchange
// and a few more reads brought back. It sends only reads (and the begin and end of
// configuration around them, as the connection does); it never holds key presses.
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

#include "device/hid/HidBackend.h"

namespace app {

struct CaptureContext {
    std::string programVersion;
    std::string kernel;
    std::string desktop;
};

// The program's version, the kernel release and the desktop session of this machine.
CaptureContext ThisMachine();

// The capture document of every supported device `backend` shows.
std::string CaptureDevices(const std::shared_ptr<device::HidBackend>& backend,
                           const CaptureContext& context);

// A capture stays below this, whatever the devices answer.
inline constexpr std::size_t kCaptureLimitBytes = 256u << 10;

// Writes the capture to `file` (never over a file that is not a capture) and tells
// `out` what it holds; 0 done, 1 failed or no supported device found (the file, with only
// the program's side, is still written).
int WriteCapture(const std::shared_ptr<device::HidBackend>& backend, const std::string& file,
                 std::ostream& out, std::ostream& err);

}  // namespace app
