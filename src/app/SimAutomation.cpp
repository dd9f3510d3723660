// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SimAutomation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

#include "app/AutomationJson.h"
#include "app/CaptureSimulation.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/ReportFrame.h"
#include "sim/SimDevice.h"

namespace app {

namespace {

using automation::Hex;
using automation::IntMember;
using automation::IntMemberOr;
using automation::StringMember;

struct FaultName {
    const char* name;
    sim::Fault::Kind kind;
};

constexpr std::array<FaultName, 6> kFaults{{
    {"noreply", sim::Fault::Kind::NoReply},
    {"badecho", sim::Fault::Kind::WrongEchoFirst},
    {"status_ff", sim::Fault::Kind::StatusFF},
    {"status_fe", sim::Fault::Kind::StatusFE},
    {"slow", sim::Fault::Kind::SlowReply},
    {"unplug_mid", sim::Fault::Kind::Unplug},
}};

static_assert(SimAutomation::kSlowReplyMs > device::CommandChannel::TimeLimits{}.normalMs,
              "a slow reply must arrive after the host gave up waiting for it");

Json::Value HexOf(const sim::MemoryArea& area) {
    return Hex(area.Bytes());
}

const char* ReadbackName(sim::KeyTableReadback mode) {
    return mode == sim::KeyTableReadback::Written ? "written" : "layout";
}

}  // namespace

Json::Value SimAutomation::Capture(const std::string& which, const Json::Value& command) {
    const std::string file = StringMember(command, "file");
    const CaptureSimulation simulation = LoadCaptureSimulation(file);
    if (!simulation.error.empty()) throw CommandError(simulation.error);
    const sim::CaptureBuild* build = CapturedKind(simulation, which);
    if (build == nullptr) throw CommandError(file + ": the capture holds no " + which);
    const sim::SimDevice* before = m_host.SimulatedDevice(which);
    if (!m_host.ReplaceSimulatedDevice(which, std::make_shared<sim::SimDevice>(build->definition)))
        throw CommandError("the captured " + which +
                           " cannot take the simulated one's place in this run (a mouse or "
                           "headset of other identifiers needs --simulate=capture:FILE)");
    // The log cursor belonged to the device that went; a later device may get its address.
    m_logCursor.erase(before);
    Json::Value answer = automation::Ok();
    Json::Value notes(Json::arrayValue);
    for (const std::string& note : simulation.notes) notes.append(note);
    answer["notes"] = notes;
    return answer;
}

Json::Value SimAutomation::Run(const Json::Value& command) {
    const std::string which = StringMember(command, "device");
    if (which != "keyboard" && which != "pad" && which != "mouse" && which != "headset")
        throw CommandError(
            "member device must be \"keyboard\", \"pad\", \"mouse\" or \"headset\"");
    const std::string op = StringMember(command, "op");
    sim::SimDevice* device = m_host.SimulatedDevice(which);
    if (device == nullptr) throw CommandError("no simulated " + which + " (see --simulate)");

    if (op == "plug") {
        device::VirtualBus* bus = m_host.Bus();
        if (bus == nullptr) throw CommandError("no simulated bus");
        if (!device->Plug(*bus)) throw CommandError("the " + which + " is already plugged");
        return automation::Ok();
    }
    if (op == "capture") return Capture(which, command);
    if (op == "unplug") {
        if (!device->Unplug()) throw CommandError("the " + which + " is not plugged");
        return automation::Ok();
    }
    if (op == "event") {
        const auto usage = static_cast<std::uint16_t>(IntMember(command, "usage", 0, 0xFFFF));
        if (!device->SendEvent(usage))
            throw CommandError("the " + which + " did not send the event (not plugged?)");
        return automation::Ok();
    }
    if (op == "press" || op == "release") {
        const auto slot = static_cast<std::size_t>(IntMember(command, "slot", 0, 0xFF));
        const bool sent = op == "press" ? device->PressKey(slot) : device->ReleaseKey(slot);
        if (!sent) throw CommandError("the " + which + " has no key slot " + std::to_string(slot));
        return automation::Ok();
    }
    if (op == "profile") {
        device->SwitchProfileOnDevice(
            static_cast<std::uint8_t>(IntMember(command, "index", 0, 0xFF)));
        return automation::Ok();
    }
    if (op == "link") {
        device->SetLinkUp(automation::BoolMember(command, "up"));
        return automation::Ok();
    }
    if (op == "memory") return Memory(*device);
    if (op == "wirelog") return WireLog(*device);
    if (op == "fault") return Fault(*device, command);
    if (op == "readback") return Readback(*device, command);
    if (op == "ledreports") return LedReports(*device);
    if (op == "audiocalls") return AudioCalls();
    throw CommandError("unknown sim op " + op);
}

Json::Value SimAutomation::Memory(sim::SimDevice& device) const {
    Json::Value answer = automation::Ok();
    device.Inspect([&answer](const sim::Firmware& firmware) {
        answer["info"] = HexOf(firmware.InfoBlock());
        answer["keytable"] = HexOf(firmware.KeyTable());
        answer["ledmap"] = HexOf(firmware.LedMap());
        answer["settings"] = HexOf(firmware.Settings());
        answer["macro"] = HexOf(firmware.MacroMemory());
        answer["colours"] = HexOf(firmware.Colours());
        answer["keylayout"] = HexOf(firmware.KeyLayout());
        answer["readback"] = ReadbackName(firmware.Readback());
        answer["recoil"] = HexOf(firmware.Recoil());
        answer["status"] = HexOf(firmware.StatusBlock());
        answer["inconfig"] = firmware.InConfig();
        answer["hostlighting"] = firmware.HostLighting();
    });
    return answer;
}

Json::Value SimAutomation::WireLog(sim::SimDevice& device) {
    const std::vector<sim::WireEntry> entries = device.Log().Entries();
    std::size_t& cursor = m_logCursor[&device];
    // Someone cleared the log since: everything in it now is new.
    if (cursor > entries.size()) cursor = 0;
    Json::Value log(Json::arrayValue);
    for (std::size_t i = cursor; i < entries.size(); ++i) {
        const sim::WireEntry& entry = entries[i];
        // Notes (plug, unplug, faults) are not reports.
        if (entry.kind == sim::WireEntry::Kind::Note) continue;
        Json::Value report(Json::objectValue);
        report["dir"] = entry.kind == sim::WireEntry::Kind::Request ? "out" : "in";
        // Events are shorter than a command report; all come out the same width.
        report["hex"] = Hex(entry.bytes, device::kReportSize);
        log.append(std::move(report));
    }
    cursor = entries.size();
    Json::Value answer = automation::Ok();
    answer["log"] = std::move(log);
    return answer;
}

Json::Value SimAutomation::LedReports(sim::SimDevice& device) {
    Json::Value reports(Json::arrayValue);
    for (const auto& report : device.TakeLedReports()) reports.append(Hex(report, report.size()));
    Json::Value answer = automation::Ok();
    answer["reports"] = std::move(reports);
    answer["total"] = Json::UInt64(device.LedReportCount());
    return answer;
}

Json::Value SimAutomation::AudioCalls() {
    const char* path = std::getenv("TX512_CONFLIB_RECORD");
    if (path == nullptr || *path == '\0') throw CommandError("no audio call record (see --simulate)");
    std::ifstream in(path);
    Json::Value calls(Json::arrayValue);
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        if (number++ >= m_audioCallsSeen) calls.append(line);
    }
    // A record started afresh since: all of it is new.
    if (number < m_audioCallsSeen) {
        m_audioCallsSeen = 0;
        return AudioCalls();
    }
    m_audioCallsSeen = number;
    Json::Value answer = automation::Ok();
    answer["calls"] = std::move(calls);
    return answer;
}

Json::Value SimAutomation::Readback(sim::SimDevice& device, const Json::Value& command) {
    if (device.Definition().keySlots.empty()) throw CommandError("the device has no key table");
    const std::string mode = StringMember(command, "mode");
    if (mode != "layout" && mode != "written")
        throw CommandError("member mode must be \"layout\" or \"written\"");
    device.SetKeyTableReadback(mode == "written" ? sim::KeyTableReadback::Written
                                                 : sim::KeyTableReadback::Layout);
    return automation::Ok();
}

Json::Value SimAutomation::Fault(sim::SimDevice& device, const Json::Value& command) {
    const std::string name = StringMember(command, "fault");
    if (name == "clear") {
        device.Faults().Clear();
        return automation::Ok();
    }
    const auto known = std::find_if(kFaults.begin(), kFaults.end(),
                                    [&name](const FaultName& entry) { return name == entry.name; });
    if (known == kFaults.end()) throw CommandError("unknown fault " + name);
    sim::Fault fault;
    fault.kind = known->kind;
    fault.times = static_cast<int>(IntMemberOr(command, "count", 1, 1, 1000000));
    fault.command = static_cast<int>(IntMemberOr(command, "command", -1, -1, 0xFF));
    if (fault.kind == sim::Fault::Kind::SlowReply)
        fault.delayMs = static_cast<int>(IntMemberOr(command, "delay", kSlowReplyMs, 0, 60000));
    device.Faults().Arm(fault);
    return automation::Ok();
}

}  // namespace app
