// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelShell.h"

#include "app/DeviceHook.h"
#include "app/DeviceList.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IProfilePanel.h"
#include "model/device/PanelLookup.h"
#include "app/MessageBox.h"
#include "ui/CPaintManagerUI.h"
#include "ui/qt/IFileDialog.h"

namespace app {

PanelShell::PanelShell(ui::CPaintManagerUI& manager, std::function<DeviceList*()> devices,
                       std::function<ui::WindowHandle()> window, std::function<int()> dpi)
    : manager_(manager),
      devices_(std::move(devices)),
      window_(std::move(window)),
      dpi_(std::move(dpi)) {}

model::CLumitrekUSBDevice* PanelShell::CurrentDevice() {
    DeviceList* devices = devices_();
    return devices != nullptr ? devices->CurrentDevice() : nullptr;
}

std::vector<model::CLumitrekUSBDevice*> PanelShell::ConnectedDevices() {
    std::vector<model::CLumitrekUSBDevice*> connected;
    DeviceList* devices = devices_();
    if (devices == nullptr) return connected;
    for (int i = 0; i < devices->TabCount(); ++i) {
        model::CLumitrekUSBDevice* device = devices->DeviceAt(i);
        if (device != nullptr && device->IsConnected()) connected.push_back(device);
    }
    return connected;
}

int PanelShell::ShowKeyedMessage(std::string_view key, int mode) {
    return app::ShowKeyedMessage(window_(), key, dpi_(), mode);
}

int PanelShell::ShowFormattedMessage(std::string_view key, long long value) {
    return app::ShowFormattedMessage(window_(), manager_, key, value, dpi_());
}

int PanelShell::ShowDetailedMessage(std::string_view key, std::string_view detail) {
    return app::ShowDetailedMessage(window_(), manager_, key, detail, dpi_());
}

std::optional<std::string> PanelShell::AskOpenFile(std::string_view filter) {
    ui::qt::FileDialogRequest request;
    request.mode = ui::qt::FileDialogRequest::Mode::Open;
    request.owner = window_();
    request.filter = filter;
    return ui::qt::IFileDialog::Ask(request);
}

std::optional<std::string> PanelShell::AskSaveFile(std::string_view filter,
                                                   std::string_view defaultExtension,
                                                   std::string_view proposedName) {
    ui::qt::FileDialogRequest request;
    request.mode = ui::qt::FileDialogRequest::Mode::Save;
    request.owner = window_();
    request.filter = filter;
    request.defaultExtension = defaultExtension;
    request.fileName = proposedName;
    return ui::qt::IFileDialog::Ask(request);
}

PanelShell::~PanelShell() = default;

void PanelShell::ApplyReported(const model::ApplyOutcome& outcome) {
    if (applyObserver_) applyObserver_(outcome);
}

void PanelShell::StartInputHook(int mode, bool mouse) {
    if (!hook_) hook_ = std::make_unique<DeviceHook>(manager_, window_());
    hook_->Start(mode, true, mouse);
}

void PanelShell::StopInputHook() {
    if (hook_) hook_->Stop();
}

void PanelShell::SetDeviceSwitchingEnabled(bool enabled) {
    if (ui::CControlUI* selector = manager_.FindControl("device_select_layout"))
        selector->SetEnabled(enabled);
    model::CLumitrekUSBDevice* device = CurrentDevice();
    if (ui::CControlUI* profile =
            device != nullptr ? model::FindInPage(*device, model::IProfilePanel::kControlName)
                              : nullptr)
        profile->SetEnabled(enabled);
}

}  // namespace app
