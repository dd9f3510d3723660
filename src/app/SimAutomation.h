// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "sim" automation command: plugging, unplugging and misleading the simulated
// keyboard and mouse pad, sending their events, choosing what the keyboard's key table
// reads answer, and reading their memories and wire logs.
// UI thread only, like every command.
#include <json/json.h>

#include <cstddef>
#include <map>
#include <string>

#include "app/AutomationHost.h"

namespace app {

class SimAutomation {
public:
    // The delay of a "slow" fault: longer than the host's 1000 ms wait for a reply, so the
    // command fails and the late reply arrives behind it.
    static constexpr int kSlowReplyMs = 1500;

    explicit SimAutomation(AutomationHost& host) : m_host(host) {}

    // {"cmd":"sim","device":"keyboard"|"pad","op":OP, ...}; see docs/automation.md.
    Json::Value Run(const Json::Value& command);

private:
    // A device from a capture file takes the place of `which` (op "capture").
    Json::Value Capture(const std::string& which, const Json::Value& command);
    Json::Value Memory(sim::SimDevice& device) const;
    Json::Value WireLog(sim::SimDevice& device);
    Json::Value Fault(sim::SimDevice& device, const Json::Value& command);
    Json::Value Readback(sim::SimDevice& device, const Json::Value& command);
    // The LED reports the device received since the last call, and their count overall.
    static Json::Value LedReports(sim::SimDevice& device);
    // The calls the stand-in audio library recorded since the last call.
    Json::Value AudioCalls();

    AutomationHost& m_host;
    // Per device: how many wire log entries earlier "wirelog" answers covered.
    std::map<const sim::SimDevice*, std::size_t> m_logCursor;
    std::size_t m_audioCallsSeen = 0;  // lines of the audio call record answered so far
};

}  // namespace app
