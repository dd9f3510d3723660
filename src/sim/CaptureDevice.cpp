// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/CaptureDevice.h"

#include <algorithm>
#include <cmath>

#include "device/hid/HidReportDescriptor.h"
#include "sim/CaptureFormat.h"
#include "sim/DeviceCatalog.h"
#include "sim/Firmware.h"

namespace sim {

namespace {

const SimDeviceDefinition& BaseOf(const std::string& kind) {
    if (kind == "pad") return MousePadDefinition();
    if (kind == "mouse") return MouseDefinition();
    if (kind == "mouse6") return LongWaitMouseDefinition();
    if (kind == "headset") return HeadsetDefinition();
    return KeyboardDefinition();
}

Frame FrameOf(const std::vector<std::uint8_t>& bytes) {
    Frame frame{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), frame.size()), frame.begin());
    return frame;
}

// Commands whose answers the capture's tables give: information block, settings, key
// table, status block, LED map.
bool TableBacked(std::uint8_t code) {
    return code == 3 || code == 5 || code == 7 || code == 26 || code == 27;
}

std::string At(const CapturedDevice& captured, const std::string& member) {
    return captured.where + "." + member;
}

void TakeKeyTables(const CapturedDevice& captured, SimDeviceDefinition& def,
                   std::vector<std::string>& notes) {
    const std::vector<std::uint8_t> none;
    const std::vector<std::uint8_t>& table = captured.keyTable ? *captured.keyTable : none;
    if (captured.keyTable) def.keySlots.clear();
    for (std::size_t i = 0; i + 2 < table.size(); i += 3) {
        SimKeySlot slot{table[i], table[i + 1], table[i + 2], kNoLed};
        const std::size_t index = i / 3;
        if (captured.ledMap && index < captured.ledMap->size())
            slot.led = (*captured.ledMap)[index];
        def.keySlots.push_back(slot);
    }
    if (captured.ledMap && captured.ledMap->size() != def.keySlots.size())
        notes.push_back(At(captured, "tables.led_map") + ": " +
                        std::to_string(captured.ledMap->size()) + " entries for " +
                        std::to_string(def.keySlots.size()) +
                        " key slots; the simulator's LED map has one per slot");
    // A device without keys (the pad) says 0 and has no table to read.
    if (def.infoBlock[5] != def.keySlots.size() && (captured.keyTable || !def.keySlots.empty()))
        notes.push_back(
            At(captured, "tables.key_table") + ": " + std::to_string(def.keySlots.size()) +
            " key slots, the information block says " + std::to_string(def.infoBlock[5]) +
            (captured.keyTable ? "; the simulator answers with the table as captured"
                               : "; no key table was captured, the simulator's "
                                 "own stands in"));
}

void TakeSettings(const CapturedDevice& captured, SimDeviceDefinition& def,
                  std::vector<std::string>& notes) {
    if (captured.status) {
        const std::size_t n = std::min(captured.status->size(), def.statusBlock.size());
        std::copy_n(captured.status->begin(), n, def.statusBlock.begin());
    }
    if (captured.settings.empty()) return;
    if (captured.settingsOffset + captured.settings.size() > def.settingsSize) {
        notes.push_back(At(captured, "tables.settings") + ": runs past the " +
                        std::to_string(def.settingsSize) +
                        " bytes of the simulated settings memory; the rest is dropped");
    }
    def.settingsDefaults.resize(def.settingsSize, 0);
    for (std::size_t i = 0; i < captured.settings.size(); ++i) {
        const std::size_t at = captured.settingsOffset + i;
        if (at < def.settingsDefaults.size()) def.settingsDefaults[at] = captured.settings[i];
    }
}

bool TakeInterfaces(const CapturedDevice& captured, SimDeviceDefinition& def,
                    std::vector<std::string>& notes, std::string& error) {
    if (captured.commandInterface >= 0) def.configInterface = captured.commandInterface;
    if (captured.interfaces.empty()) {
        notes.push_back(captured.where +
                        ".descriptors: none captured; the simulator's own descriptors stand in");
        if (std::none_of(def.interfaces.begin(), def.interfaces.end(), [&](const SimInterface& i) {
                return i.number == def.configInterface;
            })) {
            error = captured.where + ".identity.interface: " +
                    std::to_string(def.configInterface) +
                    " carries the commands, but no descriptor was captured and the simulator's "
                    "own device has no such interface";
            return false;
        }
        return true;
    }
    def.interfaces.clear();
    for (const CapturedInterface& i : captured.interfaces) {
        if (!device::HidReportDescriptor::Parse(i.descriptor))
            notes.push_back(captured.where + ".descriptors: interface " + std::to_string(i.number) +
                            ": the descriptor does not parse; the host will not use it");
        def.interfaces.push_back({i.number, i.descriptor});
    }
    const bool found =
        std::any_of(def.interfaces.begin(), def.interfaces.end(),
                    [&](const SimInterface& i) { return i.number == def.configInterface; });
    if (!found) {
        error = captured.where + ".descriptors: no descriptor of interface " +
                std::to_string(def.configInterface) + ", which carries the commands";
        return false;
    }
    return true;
}

// Plays the captured requests into the firmware model in order and keeps, as recorded
// replies, every answer the device gave that the model would not.
void RecordDifferences(const CapturedDevice& captured, SimDeviceDefinition& def,
                       std::vector<std::string>& notes) {
    Firmware model(def);
    const auto& exchange = captured.exchange;
    for (std::size_t i = 0; i < exchange.size(); ++i) {
        const CapturedReport& out = exchange[i];
        if (!out.out || out.bytes.size() != 64 || out.bytes[0] != def.commandReportId) continue;
        const Frame request = FrameOf(out.bytes);
        const Frame modelled = model.Handle(request);
        const CapturedReport* reply = nullptr;
        for (std::size_t j = i + 1; j < exchange.size() && !exchange[j].out; ++j) {
            if (exchange[j].bytes.size() > 3 && exchange[j].bytes[3] == request[3]) {
                reply = &exchange[j];
                break;
            }
        }
        const std::string where = captured.where + ".exchange[" + std::to_string(i) + "]";
        const std::string command = "command " + std::to_string(request[3]);
        const bool known =
            std::any_of(def.recordedReplies.begin(), def.recordedReplies.end(),
                        [&](const SimRecordedReply& r) { return r.request == request; });
        if (known) continue;  // the first answer to a request is the one replayed
        SimRecordedReply recorded;
        recorded.request = request;
        if (!reply) {
            recorded.answered = false;
            notes.push_back(where + ": " + command +
                            " got no reply; the simulator does not answer it either");
            def.recordedReplies.push_back(recorded);
            continue;
        }
        recorded.reply = FrameOf(reply->bytes);
        const double late = reply->ms - out.ms;
        const bool statusDiffers = recorded.reply[7] != modelled[7];
        const bool dataDiffers = recorded.reply != modelled;
        // The tables are what the capture says the device holds (and what a user edits);
        // an answer that disagrees with them in data only gives way to them.
        const bool fromTables = TableBacked(request[3]);
        if (!statusDiffers && !dataDiffers && late < kLateReplyMs) continue;
        if (!statusDiffers && dataDiffers && fromTables) {
            notes.push_back(where + ": the answer to " + command +
                            " is not what the tables hold; the simulator answers from the tables");
            if (late < kLateReplyMs) continue;
            recorded.reply = modelled;
        } else if (dataDiffers) {
            notes.push_back(where + ": the device's answer to " + command +
                            " is not the firmware model's (status " +
                            std::to_string(recorded.reply[7]) +
                            "); the simulator repeats the device's");
        } else {
            recorded.reply = modelled;
        }
        if (late >= kLateReplyMs) {
            recorded.delayMs = static_cast<int>(std::lround(std::min(late, 60000.0)));
            notes.push_back(where + ": " + command + " was answered after " +
                            std::to_string(recorded.delayMs) +
                            " ms; the simulator answers as late");
        }
        def.recordedReplies.push_back(recorded);
    }
}

}  // namespace

std::optional<CaptureBuild> BuildFromCapture(const CapturedDevice& captured, std::string& error) {
    CaptureBuild build;
    build.kind = captured.kind;
    SimDeviceDefinition& def = build.definition;
    def = BaseOf(captured.kind);
    def.name = def.name + " (from a capture)";
    def.vendorId = captured.vendorId;
    def.productId = captured.productId;
    def.releaseNumber = captured.releaseNumber;
    if (!TakeInterfaces(captured, def, build.notes, error)) return std::nullopt;
    if (captured.info)
        std::copy(captured.info->begin(), captured.info->end(), def.infoBlock.begin());
    TakeKeyTables(captured, def, build.notes);
    TakeSettings(captured, def, build.notes);
    RecordDifferences(captured, def, build.notes);
    return build;
}

}  // namespace sim
