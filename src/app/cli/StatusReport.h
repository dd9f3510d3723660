// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What "status" and "profile list" print, as text for a person or as one JSON object.
//
// UI thread only.
#include <string>
#include <vector>

#include "app/cli/CliRequest.h"
#include "app/cli/CommandLookup.h"

namespace model {
class CLumitrekUSBDevice;
}

namespace app {

class DeviceList;

namespace cli {

// One entry per device kind, in the order of kEveryDevice, connected or not.
std::string StatusReport(DeviceList& devices, bool json);
// The window's devices of one kind.
const std::vector<model::CLumitrekUSBDevice*>& DevicesOf(DeviceList& devices,
                                                         CliRequest::Device kind);
std::string ProfileListReport(model::CLumitrekUSBDevice& device, const char* word, bool json);
// The lighting modes the device's page lists, by number.
std::vector<ModeName> ModeNamesOf(const model::CLumitrekUSBDevice& device);
// A release number as the device reports it (binary-coded decimal): 0x0102 is "1.02".
std::string ReleaseText(unsigned bcd);

}  // namespace cli
}  // namespace app
