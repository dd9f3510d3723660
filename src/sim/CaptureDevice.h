// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulated device made from a capture: the catalogue's device of the captured kind
// stands in for everything the capture does not show (memories it did not read, commands
// the connection never sent), and the capture overrides the rest: identity, interfaces
// and descriptors, information block, key table, LED map, settings and status bytes.
// Replaying the captured exchange against that firmware finds the answers the model would
// give otherwise; those are recorded as the device gave them and said in the notes,
// with the place in the capture.
#include <optional>
#include <string>
#include <vector>

#include "sim/CaptureReader.h"
#include "sim/SimDeviceDefinition.h"

namespace sim {

struct CaptureBuild {
    std::string kind;
    SimDeviceDefinition definition;
    std::vector<std::string> notes;  // where the simulator does not follow the capture exactly
};

// A reply that comes this much after its request is replayed as late; below it the time
// is the host's and the machine's, not the device's.
inline constexpr double kLateReplyMs = 100.0;

// Nothing, with `error` saying where, when the capture cannot stand for a device at all
// (no descriptor of the interface that carries the commands).
std::optional<CaptureBuild> BuildFromCapture(const CapturedDevice& captured, std::string& error);

}  // namespace sim
