// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceAutomation.h"

#include <algorithm>
#include <iterator>

#include "app/AutomationHost.h"
#include "app/AutomationJson.h"
#include "app/MessageBox.h"
#include "model/device/ApplyOutcome.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IKeyListOwner.h"
#include "ui/CPaintManagerUI.h"

namespace app {

namespace {

using automation::IntMember;
using automation::StringMember;

const char* KeysName(model::ApplyOutcome::Keys keys) {
    switch (keys) {
        case model::ApplyOutcome::Keys::Written:
            return "written";
        case model::ApplyOutcome::Keys::NotConnected:
            return "notconnected";
        case model::ApplyOutcome::Keys::TableUnknown:
            return "tableunknown";
        case model::ApplyOutcome::Keys::Failed:
            return "failed";
        case model::ApplyOutcome::Keys::NotAttempted:
            return "notattempted";
    }
    return "";
}

}  // namespace

DeviceAutomation::DeviceAutomation(AutomationHost& host)
    : m_host(host), m_records(std::make_shared<Records>()) {}

DeviceAutomation::~DeviceAutomation() = default;

model::CLumitrekUSBDevice& DeviceAutomation::Find(const Json::Value& command) {
    const std::string which =
        automation::Has(command, "device") ? StringMember(command, "device") : "current";
    static constexpr const char* kKnown[] = {"current", "keyboard", "pad", "mouse", "headset"};
    if (std::find(std::begin(kKnown), std::end(kKnown), which) == std::end(kKnown))
        throw CommandError("member device must be \"current\", \"keyboard\", \"pad\", "
                           "\"mouse\" or \"headset\"");
    model::CLumitrekUSBDevice* device = m_host.DeviceObject(which);
    if (device == nullptr) throw CommandError("no " + which + " device");
    return *device;
}

Json::Value DeviceAutomation::Run(const Json::Value& command) {
    model::CLumitrekUSBDevice& device = Find(command);
    const std::string op = StringMember(command, "op");
    if (op == "status") return Status(device);
    if (op == "setkey") return SetKey(device, command);

    std::weak_ptr<Records> records = m_records;
    model::CLumitrekUSBDevice* target = &device;
    if (op == "writesettings") {
        const int index = static_cast<int>(automation::IntMemberOr(command, "index", 0, 0, 9));
        if (device.WriteSettings(index, 0,
                                 [this, records, target](const model::Completion<int>& c) {
                                     if (records.expired()) return;
                                     Json::Value last;
                                     last["op"] = "writesettings";
                                     last["cancelled"] = c.cancelled;
                                     last["result"] = c.value;
                                     Finished(*target, last);
                                 }) == 0)
            throw CommandError("the device has no settings block");
        ++m_records->byDevice[target].queued;
        return automation::Ok();
    }
    if (op == "applykeys" || op == "applyprofile") {
        auto done = [this, records, target, op](const model::Completion<model::ApplyOutcome>& c) {
            if (records.expired()) return;
            Json::Value last;
            last["op"] = op;
            last["cancelled"] = c.cancelled;
            last["settings"] = c.value.settings;
            last["macros"] = c.value.macros;
            last["keys"] = KeysName(c.value.keys);
            last["message"] = c.cancelled ? "" : c.value.MessageKey();
            Finished(*target, last);
            if (!c.cancelled) Tell(c.value);
        };
        ++m_records->byDevice[target].queued;
        if (op == "applykeys")
            device.ApplyKeys(std::move(done));
        else
            device.ApplyProfile(std::move(done));
        return automation::Ok();
    }
    throw CommandError("unknown device op " + op);
}

void DeviceAutomation::Finished(model::CLumitrekUSBDevice& device, Json::Value last) {
    Record& record = m_records->byDevice[&device];
    ++record.finished;
    record.last = std::move(last);
}

Json::Value DeviceAutomation::Status(model::CLumitrekUSBDevice& device) {
    Json::Value answer = automation::Ok();
    answer["type"] = device.GetTypeName();
    answer["connected"] = device.IsConnected();
    answer["idle"] = device.OperationsIdle();
    const Record& record = m_records->byDevice[&device];
    answer["queued"] = record.queued;
    answer["finished"] = record.finished;
    answer["last"] = record.last.isNull() ? Json::Value(Json::objectValue) : record.last;
    if (auto* keyboard = model::CLumitrekKeyboardDevice::Of(&device)) {
        answer["tablesread"] = keyboard->TablesRead();
        Json::Value slots(Json::arrayValue);
        for (uint8_t slot : keyboard->GetPositionMaps().slot) slots.append(slot);
        answer["slots"] = slots;
    }
    if (auto* mouse = model::CLumitrekMouseDevice::Of(&device)) {
        answer["tablesread"] = mouse->TablesRead();
        Json::Value slots(Json::arrayValue);
        for (int p = 0; p < model::CLumitrekMouseDevice::kKeyPositions; ++p)
            slots.append(mouse->GetPositionMaps().slot[static_cast<std::size_t>(p)]);
        answer["slots"] = slots;
    }
    return answer;
}

Json::Value DeviceAutomation::SetKey(model::CLumitrekUSBDevice& device,
                                     const Json::Value& command) {
    model::IKeyListOwner* owner = model::IKeyListOwner::Of(&device);
    if (owner == nullptr) throw CommandError("only a keyboard or a mouse has keys");
    std::vector<KeyMapping> keys = owner->GetKeyList();
    const int positions = static_cast<int>(owner->FactoryKeys().size());
    const int position = static_cast<int>(IntMember(command, "position", 0, positions - 1));
    if (position >= static_cast<int>(keys.size())) throw CommandError("no such key in the profile");
    KeyMapping& mapping = keys[static_cast<std::size_t>(position)];
    if (automation::Has(command, "assignment")) {
        const auto packed = static_cast<uint32_t>(IntMember(command, "assignment", 0, 0xFFFFFF));
        mapping.current = KeyAssignment::FromPacked(static_cast<uint16_t>(position), packed);
    } else {
        mapping.current = mapping.defaults;  // no assignment: the key's own function
    }
    owner->SetKeyList(keys);
    device.SaveProfile();
    // What the page shows of the keys follows, as after a key saved in the panel.
    owner->RefreshKeyLabels();
    return automation::Ok();
}

void DeviceAutomation::Tell(const model::ApplyOutcome& outcome) {
    const std::string key = outcome.MessageKey();
    if (key.empty()) return;
    ui::CPaintManagerUI* manager = nullptr;
    if (m_host.FindControl("text_test", &manager) == nullptr || manager == nullptr) return;
    const int dpi = m_host.MainWindowState() ? m_host.MainWindowState()->dpi : 96;
    ShowFormattedMessage(manager->GetPaintWindow(), *manager, key, outcome.MessageNumber(), dpi);
}

}  // namespace app
