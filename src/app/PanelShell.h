// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window as the panels see it (panels::IPanelShell): the current device of its
// device list, its message boxes and its file dialogs.
//
// UI thread only.
#include <functional>
#include <memory>

#include "panels/IPanelShell.h"
#include "ui/UIDefs.h"

namespace ui {
class CPaintManagerUI;
}

namespace app {

class DeviceHook;
class DeviceList;

class PanelShell : public panels::IPanelShell {
public:
    // `window` and `dpi` are asked at each use: the window exists only once it is created
    // and its DPI follows the screen.
    PanelShell(ui::CPaintManagerUI& manager, std::function<DeviceList*()> devices,
               std::function<ui::WindowHandle()> window, std::function<int()> dpi);
    ~PanelShell() override;

    model::CLumitrekUSBDevice* CurrentDevice() override;
    std::vector<model::CLumitrekUSBDevice*> ConnectedDevices() override;
    int ShowKeyedMessage(std::string_view key, int mode) override;
    int ShowFormattedMessage(std::string_view key, long long value) override;
    int ShowDetailedMessage(std::string_view key, std::string_view detail) override;
    std::optional<std::string> AskOpenFile(std::string_view filter) override;
    std::optional<std::string> AskSaveFile(std::string_view filter,
                                           std::string_view defaultExtension,
                                           std::string_view proposedName) override;
    void StartInputHook(int mode, bool mouse) override;
    void StopInputHook() override;
    void SetDeviceSwitchingEnabled(bool enabled) override;
    void ApplyReported(const model::ApplyOutcome& outcome) override;
    // Who hears of the next outcomes (empty: nobody).
    using ApplyObserver = std::function<void(const model::ApplyOutcome&)>;
    void SetApplyObserver(ApplyObserver observer) { applyObserver_ = std::move(observer); }

private:
    ui::CPaintManagerUI& manager_;
    std::function<DeviceList*()> devices_;
    std::function<ui::WindowHandle()> window_;
    std::function<int()> dpi_;
    std::unique_ptr<DeviceHook> hook_;
    ApplyObserver applyObserver_;
};

}  // namespace app
