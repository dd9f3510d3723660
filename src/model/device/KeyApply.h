// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The apply order of the device kinds with a key table (the keyboard and the mouse), as
// the worker runs it: the settings block when the apply carries one, then the macros the
// keys play, then, unless they do not fit, the key table. The key table goes out only
// over a table this connection read in full: a table never read would turn into zeros or
// wrong slots on the device, so it is read again first, and when that fails nothing at
// all is written (ApplyOutcome::Keys::TableUnknown).
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "data/KeyMapping.h"
#include "device/protocol/CommandSet.h"
#include "model/device/ApplyOutcome.h"
#include "model/device/DeviceWorker.h"

namespace model {

class CLumitrekUSBDevice;

// What a kind with a key table tells the apply about its tables (worker thread).
class IKeyTableSource {
public:
    static constexpr std::size_t kTableBytes = 512;

    virtual ~IKeyTableSource() = default;
    // The connection `connection` read the information block and the whole key table.
    virtual bool TablesReadOn(uint64_t connection) const = 0;
    // Reads them (and the kind's position maps); true when all were read.
    virtual bool ReadTablesOn(device::CommandSet& commands) = 0;
    // The key table as last read.
    virtual std::array<uint8_t, kTableBytes> KeyTable() const = 0;
};

class KeyApply {
public:
    KeyApply(CLumitrekUSBDevice& device, IKeyTableSource& tables)
        : device_(device), tables_(tables) {}

    // UI thread: queues Run on the device's worker. Each apply writes everything from its
    // own snapshot, so a newer one waiting makes an older one pointless; keys-only and
    // whole-profile applies carry different areas.
    void Queue(std::vector<KeyMapping> keys, std::vector<uint8_t> settings,
               std::function<void(const Completion<ApplyOutcome>&)> done);

    // Worker thread. `settings` empty: the keys only.
    ApplyOutcome Run(DeviceWorker::Session& session, const std::vector<KeyMapping>& keys,
                     std::span<const uint8_t> settings);

    // A key playing a macro the library (of `macroCount` macros) no longer has gets its
    // default assignment back; true when one did.
    static bool RepairMacroKeys(std::vector<KeyMapping>& keys, int macroCount);

private:
    int WriteMacros(device::CommandSet& commands, const std::vector<int>& macros);
    bool WriteKeys(device::CommandSet& commands, const std::vector<KeyMapping>& keys,
                   int macroCount);

    CLumitrekUSBDevice& device_;
    IKeyTableSource& tables_;
};

}  // namespace model
