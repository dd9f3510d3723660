// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/KeyApply.h"

#include <algorithm>

#include "device/protocol/ResultCode.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/KeyTableBuilder.h"
#include "model/device/MacroDownload.h"

namespace model {

void KeyApply::Queue(std::vector<KeyMapping> keys, std::vector<uint8_t> settings,
                     std::function<void(const Completion<ApplyOutcome>&)> done) {
    std::string area = settings.empty() ? "apply-keys" : "apply-profile";
    device_.Queue<ApplyOutcome>(
        std::move(area),
        [this, keys = std::move(keys), settings = std::move(settings)](DeviceWorker::Session& s) {
            return Run(s, keys, settings);
        },
        std::move(done));
}

ApplyOutcome KeyApply::Run(DeviceWorker::Session& session, const std::vector<KeyMapping>& keys,
                           std::span<const uint8_t> settings) {
    device::CommandSet& commands = session.commands;
    ApplyOutcome outcome;
    if (!settings.empty())
        outcome.settings = CLumitrekUSBDevice::WriteSettingsOn(commands, settings, 0);
    // A device behind a link that went down is as gone as an unplugged one.
    const auto gone = [&] { return !session.Current() || commands.LinkLost(); };
    if (gone()) return outcome;  // Keys::NotConnected

    if (!tables_.TablesReadOn(commands.BoundConnection()) && !tables_.ReadTablesOn(commands)) {
        if (!gone()) outcome.keys = ApplyOutcome::Keys::TableUnknown;
        return outcome;
    }
    const int macroCount = device_.LibraryMacroCount();
    const std::vector<int> used =
        KeyTableBuilder::UsedMacros(keys, device_.GetPositionMaps(), macroCount);
    outcome.macros = WriteMacros(commands, used);
    if (outcome.macros != 0 && outcome.macros != MacroDownload::kNoMemory) {
        outcome.keys = ApplyOutcome::Keys::NotAttempted;
        return outcome;
    }
    if (gone()) return outcome;
    outcome.keys = WriteKeys(commands, keys, macroCount) ? ApplyOutcome::Keys::Written
                                                         : ApplyOutcome::Keys::Failed;
    return outcome;
}

int KeyApply::WriteMacros(device::CommandSet& commands, const std::vector<int>& macros) {
    const bool connected = commands.Usable();
    if (connected) {
        device::CommandSet::DeviceInfo info{};
        if (commands.ReadDeviceInfo(info) == device::kResultSuccess) device_.SetDeviceInfo(info);
    }
    const std::size_t capacity = std::size_t{device_.GetDeviceInfo()[6]} * 128;
    const JsonDataFile files;
    return MacroDownload::Write(commands, connected && !commands.LinkLost(), capacity,
                                device_.GetUserFolder(), macros, files);
}

bool KeyApply::WriteKeys(device::CommandSet& commands, const std::vector<KeyMapping>& keys,
                         int macroCount) {
    device::CommandSet::DeviceInfo info{};
    if (commands.ReadDeviceInfo(info) == device::kResultSuccess) device_.SetDeviceInfo(info);

    // The table goes out at the channel's transfer length, set from the slots read with
    // the table, so it is built on that table.
    const std::size_t length =
        std::min<std::size_t>(device_.Channel().TransferLength(), IKeyTableSource::kTableBytes);
    const std::array<uint8_t, IKeyTableSource::kTableBytes> base = tables_.KeyTable();
    const std::vector<uint8_t> table = KeyTableBuilder::Build(
        std::span(base.data(), length), keys, device_.GetPositionMaps(), macroCount);

    commands.BeginConfig();
    const int written = commands.WriteKeyTable(table, 0);
    commands.EndConfig();
    return written == device::kResultSuccess;
}

bool KeyApply::RepairMacroKeys(std::vector<KeyMapping>& keys, int macroCount) {
    bool changed = false;
    for (KeyMapping& mapping : keys) {
        if (KeyTableBuilder::PlaysMacro(mapping.current) && mapping.current.byte1 >= macroCount) {
            mapping.current = mapping.defaults;
            changed = true;
        }
    }
    return changed;
}

}  // namespace model
