// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/profile/ProfileOperations.h"

#include "app/OperationIds.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IKeySetPanel.h"
#include "model/device/PanelLookup.h"
#include "panels/ApplyReport.h"
#include "panels/profile/CDeviceProfileUI.h"

namespace panels {

namespace {

constexpr const char* kConfirmReset = "message_text_22";
constexpr const char* kNameTaken = "message_text_5";
constexpr const char* kNameEmpty = "message_text_25";
constexpr const char* kNotSaved = "message_profile_not_saved";
constexpr const char* kImportFailed = "message_profile_import_failed";
constexpr const char* kExportFailed = "message_profile_export_failed";

// A file name proposed for an export: the profile's name, without what a file name
// cannot hold.
std::string ExportFileName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name.empty() || name == "." || name == "..") name = "profile";
    return name + ".json";
}

}  // namespace

ProfileOperations::ProfileOperations(IPanelShell& shell)
    : shell_(shell), alive_(std::make_shared<ProfileOperations*>(this)) {}

void ProfileOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    const auto bind = [this](void (ProfileOperations::*handler)()) {
        return [this, handler](const app::RouteCall&) { (this->*handler)(); };
    };
    operations.Register(op::kProfileAdd, bind(&ProfileOperations::Add));
    operations.Register(op::kProfileDelete, bind(&ProfileOperations::Delete));
    operations.Register(op::kProfileCopy, bind(&ProfileOperations::Copy));
    operations.Register(op::kProfileImport, bind(&ProfileOperations::Import));
    operations.Register(op::kProfileExport, bind(&ProfileOperations::Export));
    operations.Register(op::kProfileReset, bind(&ProfileOperations::Reset));
    operations.Register(op::kProfileSaveEdit, bind(&ProfileOperations::Rename));
    operations.Register(op::kProfileToggleMenu, bind(&ProfileOperations::ToggleMenu));
    operations.Register(op::kProfilePicked, bind(&ProfileOperations::NotePick));
    operations.Register(op::kProfileSwitch, bind(&ProfileOperations::Switch));
    operations.Register(op::kDeviceRestoreDefaults, bind(&ProfileOperations::RestoreDefaults));
}

CDeviceProfileUI* ProfileOperations::PanelOf(model::CLumitrekUSBDevice& device) {
    ui::CControlUI* control = model::FindInPage(device, model::IProfilePanel::kControlName);
    return control != nullptr
               ? static_cast<CDeviceProfileUI*>(control->GetInterface("DeviceProfile"))
               : nullptr;
}

void ProfileOperations::SelectPage(model::CLumitrekUSBDevice& device, int page) {
    if (CDeviceProfileUI* panel = PanelOf(device)) panel->SelectTab(page - 1);
}

CDeviceProfileUI* ProfileOperations::CurrentPanel() {
    model::CLumitrekUSBDevice* device = shell_.CurrentDevice();
    return device != nullptr ? PanelOf(*device) : nullptr;
}

void ProfileOperations::SaidNotSaved(bool saved) {
    if (!saved) shell_.ShowKeyedMessage(kNotSaved, 0);
}

// ---- the panel's buttons

void ProfileOperations::Add() {
    if (CDeviceProfileUI* panel = CurrentPanel()) SaidNotSaved(panel->AddProfile());
}

void ProfileOperations::Delete() {
    if (CDeviceProfileUI* panel = CurrentPanel()) SaidNotSaved(panel->DeleteProfile());
}

void ProfileOperations::Copy() {
    if (CDeviceProfileUI* panel = CurrentPanel()) SaidNotSaved(panel->CopyProfile());
}

void ProfileOperations::Import() {
    CDeviceProfileUI* panel = CurrentPanel();
    if (panel == nullptr || panel->GetSelectedIndex() < 0) return;
    const std::optional<std::string> path = shell_.AskOpenFile(kFileFilter);
    if (!path || path->empty()) return;
    // A file that is not a profile is passed over without a word; one that could not be
    // read, or a profile that could not be stored, is not.
    if (panel->ImportProfile(*path) == CDeviceProfileUI::Transfer::Failed)
        shell_.ShowKeyedMessage(kImportFailed, 0);
}

void ProfileOperations::Export() {
    CDeviceProfileUI* panel = CurrentPanel();
    model::CLumitrekUSBDevice* device = panel ? panel->Device() : nullptr;
    if (device == nullptr || panel->GetSelectedIndex() < 0) return;
    // The file holds what the device last saved: save what it shows first.
    device->SaveProfile();
    const std::optional<std::string> path =
        shell_.AskSaveFile(kFileFilter, "json", ExportFileName(panel->GetNameEditText()));
    if (!path || path->empty()) return;
    if (panel->ExportProfile(*path) == CDeviceProfileUI::Transfer::Failed)
        shell_.ShowKeyedMessage(kExportFailed, 0);
}

void ProfileOperations::Rename() {
    CDeviceProfileUI* panel = CurrentPanel();
    if (panel == nullptr) return;
    const std::string name = panel->GetNameEditText();
    if (name.empty()) return;
    switch (panel->RenameProfile(name)) {
        case CDeviceProfileUI::kNameTaken:
            shell_.ShowKeyedMessage(kNameTaken, 0);
            break;
        case CDeviceProfileUI::kNameEmpty:
            shell_.ShowKeyedMessage(kNameEmpty, 0);
            break;
        case CDeviceProfileUI::kNotSaved:
            shell_.ShowKeyedMessage(kNotSaved, 0);
            break;
        default:
            break;
    }
}

void ProfileOperations::ToggleMenu() {
    if (CDeviceProfileUI* panel = CurrentPanel())
        panel->ShowProfileMenu(!panel->IsProfileMenuVisible());
}

// ---- what changes the device's profile

void ProfileOperations::Reset() {
    CDeviceProfileUI* panel = CurrentPanel();
    model::CLumitrekUSBDevice* device = panel ? panel->Device() : nullptr;
    if (device == nullptr || panel->GetSelectedIndex() < 0) return;
    if (shell_.ShowKeyedMessage(kConfirmReset, 1) != 1) return;
    if (!panel->ResetProfile()) {
        shell_.ShowKeyedMessage(kNotSaved, 0);
        return;
    }
    device->LoadProfile();
    device->RefreshPanels();
    WriteProfileToDevice(*device);
}

void ProfileOperations::NotePick() {
    switchTarget_ = shell_.CurrentDevice();
}

void ProfileOperations::Switch() {
    // The pick belongs to the device whose combo it was made in, current or not by now;
    // the devices live as long as the window.
    model::CLumitrekUSBDevice* const target =
        switchTarget_ != nullptr ? switchTarget_ : shell_.CurrentDevice();
    switchTarget_ = nullptr;
    CDeviceProfileUI* panel = target != nullptr ? PanelOf(*target) : nullptr;
    model::CLumitrekUSBDevice* device = panel ? panel->Device() : nullptr;
    if (device == nullptr) return;
    const int index = panel->GetSelectedIndex();
    if (index < 0) return;
    panel->SelectProfile(index, false);
    device->SetProfileFileName(panel->GetSelectedUUID());
    device->LoadProfile();
    device->ValidateMacroKeys();
    device->RefreshPanels();
    // The switch writes the whole profile: no key change is left to write.
    if (auto* keys = model::PanelOf<model::IKeySetPanel>(
            model::FindInPage(*device, model::IKeySetPanel::kControlName)))
        keys->SetSaveButtonsEnabled(false);
    WriteProfileToDevice(*device);
}

void ProfileOperations::RestoreDefaults() {
    model::CLumitrekUSBDevice* device = shell_.CurrentDevice();
    if (device == nullptr) return;
    if (shell_.ShowKeyedMessage(kConfirmReset, 1) != 1) return;
    device->ResetToDefaults();
    // The keyboard keeps what it was last sent: the defaults go to it as a profile does.
    WriteProfileToDevice(*device);
}

void ProfileOperations::WriteProfileToDevice(model::CLumitrekUSBDevice& device) {
    std::weak_ptr<ProfileOperations*> alive = alive_;
    model::CLumitrekUSBDevice* target = &device;
    device.ApplyProfile([alive, target](const model::Completion<model::ApplyOutcome>& done) {
        const auto self = alive.lock();
        if (!self || done.cancelled) return;
        ProfileOperations& operations = **self;
        if (!ReportApply(operations.shell_, done.value)) return;
        target->RefreshPanels();
        auto* keyboard = model::CLumitrekKeyboardDevice::Of(target);
        if (keyboard != nullptr && keyboard->GetCurrentLightSetting().mode ==
                                       model::CLumitrekKeyboardDevice::kCustomColourMode)
            keyboard->LoadCustomColours();
    });
}

}  // namespace panels
