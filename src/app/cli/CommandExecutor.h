// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carries out a command line (CliRequest) in the program's own window, as the user would
// with the mouse: the device's tab is chosen, the profile picked or the lighting page set,
// and the operation the panel registered for that action is called. What the device was
// sent is waited for (the device's worker runs it; nothing here blocks the UI thread), and
// the command's exit code and texts are handed to `done`.
//
// One command at a time: another one that comes while a command still runs is refused
// with a message saying so, so that two commands never write to a device interleaved.
//
// UI thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/CliRequest.h"
#include "model/device/ApplyOutcome.h"

namespace model {
class CLumitrekUSBDevice;
}
namespace ui {
class CMessageLoop;
}
namespace panels {
class CDeviceProfileUI;
}

namespace app {

class CMainWnd;

namespace cli {

struct CommandResult {
    int code = kDone;
    std::string out;
    std::string err;
};

class CommandExecutor {
public:
    using Done = std::function<void(const CommandResult&)>;

    struct Limits {
        int readyMs = 2000;     // for the device to be connected and done with its start-up
        int writtenMs = 30000;  // for the device to take what it was sent
    };

    CommandExecutor(CMainWnd& window, ui::CMessageLoop& loop);
    ~CommandExecutor();
    CommandExecutor(const CommandExecutor&) = delete;
    CommandExecutor& operator=(const CommandExecutor&) = delete;

    bool Busy() const { return static_cast<bool>(done_); }
    // Parses `words` (untrusted) and runs them; `done` runs exactly once, possibly before
    // Run returns (bad usage, busy). Relative file names are taken in `workingDir`, the
    // folder the command was typed in.
    void Run(const std::vector<std::string>& words, const std::string& workingDir, Limits limits,
             Done done);

private:
    enum class Phase { Ready, Written };
    void Poll();
    void Act();
    void Finish(int code, std::string out, std::string err);
    // Refused (exit code 1), with what to do about it.
    void Refuse(const std::string& why);
    model::CLumitrekUSBDevice* Target() const;
    bool Ready(model::CLumitrekUSBDevice& device) const;
    bool AllReady() const;
    // The device's tab becomes the selected one, as a click on it does.
    void MakeCurrent(model::CLumitrekUSBDevice& device);
    // The device's profile panel; refuses the command when it has none.
    panels::CDeviceProfileUI* ProfilePanel(model::CLumitrekUSBDevice& device);
    void ApplyProfile(model::CLumitrekUSBDevice& device);
    void SetLighting(model::CLumitrekUSBDevice& device);
    void TransferProfile(model::CLumitrekUSBDevice& device);
    const char* DeviceWord() const;

    CMainWnd& window_;
    ui::CMessageLoop& loop_;
    CliRequest request_;
    std::string workingDir_;
    Limits limits_;
    Done done_;
    Phase phase_ = Phase::Ready;
    std::int64_t deadline_ = 0;
    std::optional<model::ApplyOutcome> outcome_;
    std::string doneText_;
    std::shared_ptr<CommandExecutor*> alive_ = std::make_shared<CommandExecutor*>(this);
};

}  // namespace cli
}  // namespace app
