// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/CaptureReader.h"

#include <json/json.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "data/JsonInputGuard.h"
#include "sim/CaptureFormat.h"

namespace sim {

namespace {

using capture::BytesOfHex;

// Thrown inside the reader only, to leave at the first broken rule with its place.
struct Refusal {
    std::string text;
};

[[noreturn]] void Refuse(const std::string& where, const std::string& what) {
    throw Refusal{where + ": " + what};
}

const Json::Value& Member(const Json::Value& object, const char* name, const std::string& where) {
    if (!object.isObject()) Refuse(where, "must be an object");
    if (!object.isMember(name)) Refuse(where + "." + name, "is missing");
    return object[name];
}

std::string Text(const Json::Value& value, const std::string& where) {
    if (!value.isString()) Refuse(where, "must be a text");
    return value.asString();
}

int Integer(const Json::Value& value, int low, int high, const std::string& where) {
    if (!value.isInt() || value.asInt() < low || value.asInt() > high)
        Refuse(where, "must be a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high));
    return value.asInt();
}

std::vector<std::uint8_t> Hex(const Json::Value& value, std::size_t maxBytes,
                              const std::string& where) {
    auto bytes = BytesOfHex(Text(value, where), maxBytes);
    if (!bytes)
        Refuse(where, "must be hex bytes (two digits each), at most " + std::to_string(maxBytes));
    return *bytes;
}

std::uint16_t Hex16(const Json::Value& value, const std::string& where) {
    auto number = capture::Hex16Of(Text(value, where));
    if (!number) Refuse(where, "must be four hex digits");
    return *number;
}

const Json::Value& Array(const Json::Value& value, std::size_t maxItems, const std::string& where) {
    if (!value.isArray()) Refuse(where, "must be a list");
    if (value.size() > maxItems)
        Refuse(where, "holds " + std::to_string(value.size()) + " entries, at most " +
                          std::to_string(maxItems) + " are taken");
    return value;
}

std::optional<std::vector<std::uint8_t>> OptionalHex(const Json::Value& tables, const char* name,
                                                     std::size_t maxBytes,
                                                     const std::string& where) {
    if (!tables.isMember(name) || tables[name].isNull()) return std::nullopt;
    return Hex(tables[name], maxBytes, where + "." + name);
}

void ReadIdentity(const Json::Value& identity, const std::string& where, CapturedDevice& device) {
    device.vendorId = Hex16(Member(identity, "vendor", where), where + ".vendor");
    device.productId = Hex16(Member(identity, "product", where), where + ".product");
    if (identity.isMember("release"))
        device.releaseNumber = Hex16(identity["release"], where + ".release");
    if (identity.isMember("interface"))
        device.commandInterface = Integer(identity["interface"], 0, 255, where + ".interface");
}

void ReadDescriptors(const Json::Value& list, const std::string& where, CapturedDevice& device) {
    std::set<int> seen;
    for (Json::ArrayIndex i = 0; i < Array(list, capture::kMaxInterfaces, where).size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        CapturedInterface entry;
        entry.number = Integer(Member(list[i], "interface", at), 0, 255, at + ".interface");
        if (!seen.insert(entry.number).second) Refuse(at + ".interface", "appears twice");
        entry.descriptor =
            Hex(Member(list[i], "hex", at), capture::kMaxDescriptorBytes, at + ".hex");
        if (entry.descriptor.empty()) Refuse(at + ".hex", "is empty");
        device.interfaces.push_back(std::move(entry));
    }
}

void ReadExchange(const Json::Value& list, const std::string& where, CapturedDevice& device) {
    double last = 0;
    for (Json::ArrayIndex i = 0; i < Array(list, capture::kMaxExchangeEntries, where).size(); ++i) {
        const std::string at = where + "[" + std::to_string(i) + "]";
        CapturedReport report;
        const Json::Value& ms = Member(list[i], "ms", at);
        // A day is far more than any connection takes; it keeps the replay's delays sane.
        if (!ms.isNumeric() || !std::isfinite(ms.asDouble()) || ms.asDouble() < last ||
            ms.asDouble() > 86400000.0)
            Refuse(at + ".ms", "must be a time in ms, not before the entry above");
        report.ms = last = ms.asDouble();
        const std::string dir = Text(Member(list[i], "dir", at), at + ".dir");
        if (dir != "out" && dir != "in") Refuse(at + ".dir", "must be \"out\" or \"in\"");
        report.out = dir == "out";
        report.bytes = Hex(Member(list[i], "hex", at), capture::kMaxReportBytes, at + ".hex");
        if (report.bytes.empty()) Refuse(at + ".hex", "is empty");
        device.exchange.push_back(std::move(report));
    }
}

void ReadTables(const Json::Value& tables, const std::string& where, CapturedDevice& device) {
    if (!tables.isObject()) Refuse(where, "must be an object");
    device.info = OptionalHex(tables, "info", capture::kInfoBytes, where);
    if (device.info && device.info->size() != capture::kInfoBytes)
        Refuse(where + ".info", "must hold " + std::to_string(capture::kInfoBytes) + " bytes");
    device.keyTable = OptionalHex(tables, "key_table", capture::kMaxTableBytes, where);
    if (device.keyTable && device.keyTable->size() % 3 != 0)
        Refuse(where + ".key_table", "must hold three bytes per key slot");
    device.ledMap = OptionalHex(tables, "led_map", capture::kMaxTableBytes / 3, where);
    device.status = OptionalHex(tables, "status", capture::kMaxStatusBytes, where);
    if (tables.isMember("settings")) {
        const std::string at = where + ".settings";
        const Json::Value& settings = tables["settings"];
        device.settingsOffset = static_cast<std::size_t>(Integer(
            Member(settings, "offset", at), 0, int(capture::kMaxSettingsBytes), at + ".offset"));
        device.settings = Hex(Member(settings, "hex", at), capture::kMaxSettingsBytes, at + ".hex");
        if (device.settingsOffset + device.settings.size() > capture::kMaxSettingsBytes)
            Refuse(at, "runs past the " + std::to_string(capture::kMaxSettingsBytes) +
                           " bytes of settings memory");
    }
}

CapturedDevice ReadDevice(const Json::Value& value, const std::string& where) {
    CapturedDevice device;
    device.where = where;
    device.kind = Text(Member(value, "kind", where), where + ".kind");
    if (!capture::IsKindName(device.kind))
        Refuse(where + ".kind", "must be keyboard, pad, mouse, mouse6 or headset");
    ReadIdentity(Member(value, "identity", where), where + ".identity", device);
    if (value.isMember("descriptors"))
        ReadDescriptors(value["descriptors"], where + ".descriptors", device);
    if (value.isMember("exchange")) ReadExchange(value["exchange"], where + ".exchange", device);
    if (value.isMember("tables")) ReadTables(value["tables"], where + ".tables", device);
    return device;
}

}  // namespace

CaptureReadResult ReadCapture(std::string_view text) {
    CaptureReadResult result;
    if (text.size() > capture::kMaxFileBytes) {
        result.error = "the file is larger than " + std::to_string(capture::kMaxFileBytes >> 10) +
                       " KiB; a capture is far smaller";
        return result;
    }
    if (const char* reason = JsonInputGuard::CheckText(text)) {
        result.error = std::string("the file is not a capture: ") + reason;
        return result;
    }
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = JsonInputGuard::kMaxDepth;
    builder["rejectDupKeys"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string parseError;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &parseError)) {
        result.error = "the file is not JSON: " + parseError;
        return result;
    }
    try {
        if (!root.isObject()) Refuse("the file", "must hold one JSON object");
        if (Text(Member(root, "format", "the file"), "format") != capture::kFormatName)
            Refuse("format", std::string("must be \"") + capture::kFormatName + "\"");
        const Json::Value& version = Member(root, "version", "the file");
        Integer(version, 1, capture::kFormatVersion, "version");
        const Json::Value& devices =
            Array(Member(root, "devices", "the file"), capture::kMaxDevices, "devices");
        for (Json::ArrayIndex i = 0; i < devices.size(); ++i)
            result.devices.push_back(ReadDevice(devices[i], "devices[" + std::to_string(i) + "]"));
    } catch (const Refusal& refusal) {
        result.devices.clear();
        result.error = refusal.text;
    } catch (const Json::Exception& e) {
        result.devices.clear();
        result.error = std::string("the file cannot be read: ") + e.what();
    }
    return result;
}

CaptureReadResult ReadCaptureFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {{}, "cannot open " + file.string()};
    std::string text(capture::kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    CaptureReadResult result = ReadCapture(text);
    if (!result.Ok()) result.error = file.string() + ": " + result.error;
    return result;
}

}  // namespace sim
