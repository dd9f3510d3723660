// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a panel's handlers need of the window that routes to them: the device they act on
// and a way to ask and tell the user. The main window provides it; panels never reach
// the window, its dialogs or its message boxes any other way.
//
// UI thread only.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace model {
class CLumitrekUSBDevice;
struct ApplyOutcome;
}

namespace panels {

class IPanelShell {
public:
    virtual ~IPanelShell() = default;

    // The device of the selected tab, or null.
    virtual model::CLumitrekUSBDevice* CurrentDevice() = 0;
    // Every device whose command channel is open, in the device list's order.
    virtual std::vector<model::CLumitrekUSBDevice*> ConnectedDevices() = 0;

    // A message given by its language key; 1 confirmed, 0 cancelled. `mode` 0 offers
    // only the confirm button, 1 confirm and cancel.
    virtual int ShowKeyedMessage(std::string_view key, int mode) = 0;
    // The translation of `key` used as a format taking one number.
    virtual int ShowFormattedMessage(std::string_view key, long long value) = 0;
    // The translation of `key`, then `detail` (names, paths) shown as it is.
    virtual int ShowDetailedMessage(std::string_view key, std::string_view detail) = 0;

    // A file to read or to write, chosen by the user; nothing when they cancelled.
    // `filter` is in the dialog's form ("Profile Files(*.json)|*.json;||").
    virtual std::optional<std::string> AskOpenFile(std::string_view filter) = 0;
    virtual std::optional<std::string> AskSaveFile(std::string_view filter,
                                                   std::string_view defaultExtension,
                                                   std::string_view proposedName) = 0;

    // The input hook of key capture (mode 1) and recording (4 append, 8 before, 16 after,
    // 32 replace): until StopInputHook, the keys (and with `mouse` the mouse buttons) of
    // the window are reported to it as the hook messages of the mode, and keys reach no
    // control. The window has the whole keyboard meanwhile, where the desktop allows it.
    virtual void StartInputHook(int mode, bool mouse) = 0;
    virtual void StopInputHook() = 0;
    // The device selector and the current device's profile panel, which a recording locks.
    virtual void SetDeviceSwitchingEnabled(bool enabled) = 0;
    // Every write of a profile or its keys reports its outcome here when it completes,
    // before the user is told about it: for whoever asked for the write without a window
    // (the command line), which needs to know how it went.
    virtual void ApplyReported(const model::ApplyOutcome& /*outcome*/) {}
};

}  // namespace panels
