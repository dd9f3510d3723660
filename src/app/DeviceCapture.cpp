// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceCapture.h"

#include <json/json.h>
#include <sys/utsname.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "Version.h"
#include "device/hid/HidPath.h"
#include "device/hid/HidReportDescriptor.h"
#include "device/hid/RecordingBackend.h"
#include "device/protocol/CommandSet.h"
#include "device/protocol/ReportFrame.h"
#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "device/scanner/DeviceScanner.h"
#include "device/scanner/SlotList.h"
#include "model/device/KeyboardSettingsBlock.h"
#include "model/device/MouseSettingsBlock.h"
#include "model/device/PadSettingsBlock.h"
#include "sim/CaptureFormat.h"
#include "sim/CaptureReader.h"

namespace app {

namespace {

using sim::capture::Hex16;
using sim::capture::HexOf;

class SilentClient : public device::ScannerClient {
public:
    void SendScannerMessage(uint32_t, size_t) override {}
    void PostFirstScanDone() override {}
};

constexpr std::size_t kExchangeEntries = 1024;  // per device; a connection needs some 40
constexpr std::uint8_t kCommandReportId = 4;

const char* KindName(uint16_t kind) {
    switch (kind) {
        case device::kKindKeyboard:
            return "keyboard";
        case device::kKindMousePad:
            return "pad";
        case device::kKindMouse:
            return "mouse";
        case device::kKindMouseLongWait:
            return "mouse6";
        case device::kKindHeadset:
            return "headset";
        default:
            return nullptr;
    }
}

// The bytes of settings memory the program ever reads or writes on a kind: every stored
// profile's block (the keyboard keeps five, the others four).
std::size_t SettingsSpan(uint16_t kind) {
    switch (kind) {
        case device::kKindKeyboard:
            return 4 * model::KeyboardSettingsBlock::kStride + model::KeyboardSettingsBlock::kSize;
        case device::kKindMouse:
        case device::kKindMouseLongWait:
            return 3 * model::MouseSettingsBlock::kStride + model::MouseSettingsBlock::kReadSize;
        default:
            return 3 * model::PadSettingsBlock::kWriteStride + model::PadSettingsBlock::kReadSize;
    }
}

Json::Value Reading(const std::vector<uint8_t>& bytes) {
    Json::Value reading(Json::arrayValue);
    std::string error;
    const auto descriptor = device::HidReportDescriptor::Parse(bytes, &error);
    if (!descriptor) {
        Json::Value refused;
        refused["error"] = error.empty() ? "not a usable descriptor" : error;
        reading.append(refused);
        return reading;
    }
    for (const auto& c : descriptor->Collections()) {
        Json::Value entry;
        entry["collection"] = c.Number();
        entry["usage_page"] = Hex16(c.UsagePage());
        entry["usage"] = Hex16(c.Usage());
        const struct {
            const char* name;
            device::HidReportType type;
        } types[] = {{"input", device::HidReportType::Input},
                     {"output", device::HidReportType::Output},
                     {"feature", device::HidReportType::Feature}};
        for (const auto& t : types) {
            const uint16_t length = c.ReportByteLength(t.type);
            if (length == 0) continue;
            Json::Value report;
            report["bytes"] = length;
            Json::Value ids(Json::arrayValue);
            for (uint8_t id : c.ReportIds(t.type)) ids.append(id);
            report["report_ids"] = ids;
            entry[t.name] = report;
        }
        reading.append(entry);
    }
    return reading;
}

// One descriptor per interface of the device, found through the listed paths (a path
// per collection, so an interface shows up as often as it has collections).
Json::Value Descriptors(device::HidBackend& backend, uint16_t vendor, uint16_t product) {
    Json::Value list(Json::arrayValue);
    std::vector<std::string> paths;
    if (!backend.Enumerate(paths)) return list;
    std::set<int> interfaces;
    for (const std::string& path : paths) {
        if (device::HidPath::VendorId(path) != vendor ||
            device::HidPath::ProductId(path) != product)
            continue;
        // Neither read nor write: the attributes and the descriptor, nothing sent.
        const auto connection = backend.Open(path, {});
        if (!connection) continue;
        const auto& info = connection->Info();
        if (!interfaces.insert(info.interfaceNumber).second) continue;
        if (list.size() == sim::capture::kMaxInterfaces) break;
        Json::Value entry;
        entry["interface"] = info.interfaceNumber;
        std::vector<uint8_t> bytes = info.reportDescriptor;
        if (bytes.size() > sim::capture::kMaxDescriptorBytes) {
            bytes.resize(sim::capture::kMaxDescriptorBytes);
            entry["cut"] = "only the first 4096 bytes are kept";
        }
        entry["hex"] = HexOf(bytes);
        entry["reading"] = Reading(bytes);
        list.append(entry);
    }
    return list;
}

// The steps of one run, each with the result code the program would have acted on.
class StepLog {
public:
    explicit StepLog(const device::ExchangeRecord& record) : record_(record) {}
    int Add(const char* name, int result) {
        Json::Value step;
        step["step"] = name;
        step["result"] = result;
        const std::size_t now = record_.Entries().size();
        step["reports"] = static_cast<Json::UInt64>(now - seen_);
        seen_ = now;
        steps_.append(step);
        return result;
    }
    const Json::Value& Steps() const { return steps_; }

private:
    const device::ExchangeRecord& record_;
    std::size_t seen_ = 0;
    Json::Value steps_{Json::arrayValue};
};

// The connection routine of the kind, read for read, then the tables it leaves unread.
void RunConnection(uint16_t kind, device::CommandChannel& channel, device::CommandSet& commands,
                   StepLog& log, Json::Value& tables) {
    device::CommandSet::DeviceInfo info{};
    const bool keys = kind == device::kKindKeyboard || kind == device::kKindMouse ||
                      kind == device::kKindMouseLongWait;
    if (kind != device::kKindHeadset) {
        log.Add("begin configuration", commands.BeginConfig());
        if (log.Add("read information block", commands.ReadDeviceInfo(info)) ==
            device::kResultSuccess) {
            tables["info"] = HexOf(info);
            const unsigned slots = info[5];
            if (keys && slots > 0 &&
                log.Add("set transfer length", channel.SetTransferLength(slots * 3u)) == 1) {
                std::vector<uint8_t> table(slots * 3u);
                if (log.Add("read key table", commands.ReadKeyTable(table)) ==
                    device::kResultSuccess)
                    tables["key_table"] = HexOf(table);
                if (kind == device::kKindKeyboard) {
                    std::vector<uint8_t> map(slots);
                    if (log.Add("read LED map", commands.ReadLedMap(map)) == device::kResultSuccess)
                        tables["led_map"] = HexOf(map);
                }
            }
        }
        log.Add("end configuration", commands.EndConfig());
    } else if (log.Add("read information block", commands.ReadDeviceInfo(info)) ==
               device::kResultSuccess) {
        // The headset's connection reads nothing; the block is read for the record only.
        tables["info"] = HexOf(info);
    }
    if (kind == device::kKindKeyboard) {
        std::array<uint8_t, 1> active{};
        std::array<uint8_t, model::KeyboardSettingsBlock::kSize> block{};
        if (log.Add("read active profile", commands.ReadSettingsMemory(active, 0)) ==
            device::kResultSuccess)
            log.Add("read settings block",
                    commands.ReadSettingsMemory(
                        block,
                        static_cast<uint16_t>(active[0] * model::KeyboardSettingsBlock::kStride)));
    }
    std::vector<uint8_t> settings(SettingsSpan(kind));
    if (log.Add("read stored settings", commands.ReadSettingsMemory(settings, 0)) ==
        device::kResultSuccess) {
        Json::Value entry;
        entry["offset"] = 0;
        entry["hex"] = HexOf(settings);
        tables["settings"] = entry;
    }
    std::array<uint8_t, 6> status{};
    if (log.Add("read status block", commands.ReadStatusBlock(status, 0)) == device::kResultSuccess)
        tables["status"] = HexOf(status);
}

Json::Value CaptureOne(const std::shared_ptr<device::HidBackend>& backend,
                       const device::SupportedDeviceEntry& slot, const char* kind) {
    Json::Value entry;
    entry["kind"] = kind;
    Json::Value identity;
    identity["vendor"] = Hex16(slot.vendorId);
    identity["product"] = Hex16(slot.productId);
    identity["interface"] = slot.interfaceNumber;
    identity["collection"] = slot.collectionNumber;
    identity["usage_page"] = Hex16(slot.usagePage);
    identity["usage"] = Hex16(slot.usage);
    identity["path"] = slot.path;
    if (const auto connection = backend->Open(slot.path, {}))
        identity["release"] = Hex16(connection->Info().attributes.versionNumber);
    entry["identity"] = identity;
    entry["descriptors"] = Descriptors(*backend, slot.vendorId, slot.productId);

    auto record = std::make_shared<device::ExchangeRecord>(kCommandReportId, kExchangeEntries);
    Json::Value tables(Json::objectValue);
    StepLog log(*record);
    {
        device::CommandChannel channel(
            std::make_shared<device::RecordingBackend>(backend, slot.path, record));
        const bool longWait = slot.kind == device::kKindMouseLongWait;
        channel.SetLongTimeLimit(longWait);
        channel.SetLinkChecked(longWait);
        if (channel.Open(slot.path)) {
            device::CommandSet commands(channel, channel.Connection());
            RunConnection(slot.kind, channel, commands, log, tables);
            channel.Close();
        } else {
            entry["error"] = "the command collection could not be opened for reading and writing";
        }
    }
    entry["steps"] = log.Steps();
    Json::Value exchange(Json::arrayValue);
    for (const auto& e : record->Entries()) {
        Json::Value report;
        report["ms"] = std::round(e.ms * 1000.0) / 1000.0;
        report["dir"] = e.out ? "out" : "in";
        report["hex"] = HexOf(e.bytes);
        exchange.append(report);
    }
    entry["exchange"] = exchange;
    entry["reports_left_out"] = static_cast<Json::UInt64>(record->LeftOut());
    if (record->Overflow() > 0)
        entry["reports_not_kept"] = static_cast<Json::UInt64>(record->Overflow());
    entry["tables"] = tables;
    return entry;
}

Json::Value About() {
    Json::Value about(Json::arrayValue);
    for (const char* line : {
             "A capture of the TELIX devices attached to this machine, made by telix-tx512 "
             "--diagnose --capture, for a report of a device that misbehaves.",
             "Per device it holds: the USB identity (vendor, product, release, interface, "
             "collection, usage), every HID report descriptor in hex with how the program "
             "reads it, the reports of the program's connection routine with their times and "
             "result codes, and the tables read (information block, key table, LED map, "
             "settings memory, status block).",
             "It also holds the program's version, the kernel release and the desktop session.",
             "It holds no key presses: input reports other than command replies are left out "
             "unread and only counted (reports_left_out). Nothing was written to the devices "
             "but the read commands and the begin and end of configuration around them.",
             "The settings memory holds the light and key settings of the stored profiles; "
             "no names, files or other personal data.",
         })
        about.append(line);
    return about;
}

}  // namespace

CaptureContext ThisMachine() {
    CaptureContext context;
    context.programVersion = TX512_VERSION;
    utsname name{};
    if (::uname(&name) == 0) context.kernel = std::string(name.sysname) + " " + name.release;
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    context.desktop = std::string(session && *session ? session : "no session type") + ", " +
                      (desktop && *desktop ? desktop : "no desktop named");
    return context;
}

std::string CaptureDevices(const std::shared_ptr<device::HidBackend>& backend,
                           const CaptureContext& context) {
    Json::Value root;
    root["format"] = sim::capture::kFormatName;
    root["version"] = sim::capture::kFormatVersion;
    root["about"] = About();
    Json::Value program;
    program["version"] = context.programVersion;
    program["kernel"] = context.kernel;
    program["desktop"] = context.desktop;
    root["program"] = program;

    device::SlotList slots;
    SilentClient client;
    {
        device::DeviceScanner scanner(slots, client, backend);
        scanner.RunPass();
    }
    Json::Value devices(Json::arrayValue);
    for (const auto& slot : slots.Snapshot()) {
        if (!slot.connected || slot.role != device::kRoleCommand) continue;
        const char* kind = KindName(slot.kind);
        if (!kind || devices.size() == sim::capture::kMaxDevices) continue;
        devices.append(CaptureOne(backend, slot, kind));
    }
    root["devices"] = devices;

    Json::StreamWriterBuilder writer;
    writer["indentation"] = " ";
    std::string text = Json::writeString(writer, root) + "\n";
    // Each device is bounded; four of them at their bounds would still pass, but a
    // writer that let a file grow past what the reader takes would make it useless.
    if (text.size() > kCaptureLimitBytes) {
        for (auto& device : root["devices"]) {
            device["exchange"] = Json::Value(Json::arrayValue);
            device["exchange_dropped"] = "the exchange made the file too large";
        }
        text = Json::writeString(writer, root) + "\n";
    }
    return text;
}

int WriteCapture(const std::shared_ptr<device::HidBackend>& backend, const std::string& file,
                 std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec) && !sim::ReadCaptureFile(file).Ok()) {
        err << "telix-tx512: " << file
            << " exists and is not a capture; name a new file (it is not overwritten)\n";
        return 1;
    }
    const std::string text = CaptureDevices(backend, ThisMachine());
    const std::string partial = file + ".part";
    {
        std::ofstream stream(partial, std::ios::binary | std::ios::trunc);
        stream << text;
        stream.flush();
        if (!stream) {
            err << "telix-tx512: cannot write " << partial << "\n";
            std::filesystem::remove(partial, ec);
            return 1;
        }
    }
    std::filesystem::rename(partial, file, ec);
    if (ec) {
        err << "telix-tx512: cannot write " << file << ": " << ec.message() << "\n";
        std::filesystem::remove(partial, ec);
        return 1;
    }
    const auto devices = sim::ReadCapture(text).devices.size();
    out << "Capture written to " << file << " (" << text.size() << " bytes, " << devices
        << " device" << (devices == 1 ? "" : "s") << ").\n"
        << "It holds the devices' identities, report descriptors, the connection's reports and\n"
        << "the tables read; no key presses. Read it, then attach it to your report.\n";
    if (devices > 0) return 0;
    err << "telix-tx512: no supported device answered: plug it in, check 'telix-tx512 --diagnose',\n"
        << "and make the capture again\n";
    return 1;
}

}  // namespace app
