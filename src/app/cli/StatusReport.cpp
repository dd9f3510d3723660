// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/StatusReport.h"

#include <json/json.h>

#include <cstdio>
#include <sstream>

#include "app/DeviceList.h"
#include "data/LightSetting.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "panels/profile/CDeviceProfileUI.h"
#include "panels/profile/ProfileOperations.h"
#include "platform/TerminalText.h"
#include "ui/CResourceManager.h"

namespace app::cli {

namespace {

std::string Compact(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return platform::EscapedForJson(Json::writeString(builder, value)) + "\n";
}

// Names come from files a user may edit: nothing in them reaches a terminal as a control.
std::string Printable(const std::string& text) { return platform::EscapedForTerminal(text); }

std::string Hex6(unsigned rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFFu);
    return text;
}

Json::Value DeviceStatus(const char* word, model::CLumitrekUSBDevice* device) {
    Json::Value status(Json::objectValue);
    status["device"] = word;
    status["connected"] = device != nullptr && device->IsConnected();
    if (device == nullptr || !device->IsConnected()) return status;
    const auto attributes = device->OpenedAttributes();
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", attributes.vendorId, attributes.productId);
    status["usb_id"] = ids;
    status["firmware"] = ReleaseText(attributes.versionNumber);
    if (auto* panel = panels::ProfileOperations::PanelOf(*device)) {
        const auto names = panel->ProfileNames();
        const int index = panel->GetSelectedIndex();
        Json::Value profile(Json::objectValue);
        profile["index"] = index;
        profile["name"] = index >= 0 && index < static_cast<int>(names.size()) ? names[index] : "";
        status["profile"] = profile;
    }
    const auto words = device->GetLightSetting();
    const LightSetting setting = LightSetting::FromWords(words[0], words[1], words[2], words[3]);
    const auto modes = ModeNamesOf(*device);
    Json::Value lighting(Json::objectValue);
    lighting["mode"] = setting.mode;
    lighting["mode_name"] = setting.mode < modes.size() ? modes[setting.mode].translated : "";
    lighting["brightness"] = setting.brightness;
    lighting["speed"] = setting.speed;
    lighting["colour"] =
        Hex6(unsigned{setting.red} << 16 | unsigned{setting.green} << 8 | setting.blue);
    lighting["multi_colour"] = setting.multiColour != 0;
    status["lighting"] = lighting;
    return status;
}

}  // namespace

std::string ReleaseText(unsigned bcd) {
    char text[16];
    std::snprintf(text, sizeof text, "%x.%02x", (bcd >> 8) & 0xFF, bcd & 0xFF);
    return text;
}

const std::vector<model::CLumitrekUSBDevice*>& DevicesOf(DeviceList& devices,
                                                         CliRequest::Device kind) {
    switch (kind) {
        case CliRequest::Device::Pad:
            return devices.MousePads();
        case CliRequest::Device::Mouse:
            return devices.Mice();
        case CliRequest::Device::Headset:
            return devices.Headsets();
        default:
            return devices.Keyboards();
    }
}

std::vector<ModeName> ModeNamesOf(const model::CLumitrekUSBDevice& device) {
    const LightNameLists& lists = device.LightNames();
    std::vector<ModeName> modes;
    const auto& texts = ui::CResourceManager::GetInstance();
    for (std::size_t i = 0; i < lists.defaultNames.size(); ++i) {
        ModeName mode;
        mode.key = lists.defaultNames[i];
        mode.translated = texts.GetText(mode.key);
        mode.offered = i < lists.defaultVisible.size() ? lists.defaultVisible[i] : true;
        modes.push_back(std::move(mode));
    }
    return modes;
}

std::string StatusReport(DeviceList& devices, bool json) {
    const auto first = [](const std::vector<model::CLumitrekUSBDevice*>& list) {
        for (auto* device : list)
            if (device->IsConnected()) return device;
        return list.empty() ? nullptr : list.front();
    };
    Json::Value all(Json::arrayValue);
    for (CliRequest::Device kind : kEveryDevice)
        all.append(DeviceStatus(DeviceWord(kind), first(DevicesOf(devices, kind))));
    if (json) {
        Json::Value root(Json::objectValue);
        root["devices"] = all;
        return Compact(root);
    }
    std::ostringstream out;
    for (const Json::Value& device : all) {
        out << device["device"].asString() << ": ";
        if (!device["connected"].asBool()) {
            out << "not connected\n";
            continue;
        }
        const Json::Value& light = device["lighting"];
        out << "connected (USB " << device["usb_id"].asString() << ", firmware "
            << device["firmware"].asString() << ")\n";
        if (device.isMember("profile"))
            out << "  profile:  " << device["profile"]["index"].asInt() << " '"
                << Printable(device["profile"]["name"].asString()) << "'\n";
        out << "  lighting: mode " << light["mode"].asInt() << " (" << light["mode_name"].asString()
            << "), brightness " << light["brightness"].asInt() << ", speed "
            << light["speed"].asInt() << ", colour "
            << (light["multi_colour"].asBool() ? "many" : light["colour"].asString()) << "\n";
    }
    return out.str();
}

std::string ProfileListReport(model::CLumitrekUSBDevice& device, const char* word, bool json) {
    auto* panel = panels::ProfileOperations::PanelOf(device);
    const std::vector<std::string> names =
        panel ? panel->ProfileNames() : std::vector<std::string>{};
    const int selected = panel ? panel->GetSelectedIndex() : -1;
    if (json) {
        Json::Value root(Json::objectValue);
        root["device"] = word;
        Json::Value profiles(Json::arrayValue);
        for (std::size_t i = 0; i < names.size(); ++i) {
            Json::Value profile(Json::objectValue);
            profile["index"] = static_cast<int>(i);
            profile["name"] = names[i];
            profile["applied"] = static_cast<int>(i) == selected;
            profiles.append(profile);
        }
        root["profiles"] = profiles;
        return Compact(root);
    }
    std::ostringstream out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out << (static_cast<int>(i) == selected ? "* " : "  ") << i << "  " << Printable(names[i])
            << "\n";
    return out.str();
}

}  // namespace app::cli
