// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/keys/KeySetOperations.h"

#include "app/OperationIds.h"
#include "data/macro/InputTables.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IKeyListOwner.h"
#include "model/device/PanelLookup.h"
#include "panels/ApplyReport.h"
#include "panels/keys/CKeySetControlUI.h"
#include "ui/HookRecords.h"
#include "ui/TNotifyUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace panels {

KeySetOperations::KeySetOperations(IPanelShell& shell)
    : shell_(shell), alive_(std::make_shared<KeySetOperations*>(this)) {}

void KeySetOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Call = app::RouteCall;
    const auto bind = [this](void (KeySetOperations::*handler)()) {
        return [this, handler](const Call&) { (this->*handler)(); };
    };
    // The picture's "key_" buttons are routed to both; each acts on its own kind.
    operations.Register(op::kKeyboardKeyButton, [this](const Call& call) {
        SelectKey(model::CLumitrekKeyboardDevice::Of(shell_.CurrentDevice()),
                  static_cast<int>(call.n));
    });
    operations.Register(op::kMouseKeyButton, [this](const Call& call) {
        SelectKey(model::CLumitrekMouseDevice::Of(shell_.CurrentDevice()),
                  static_cast<int>(call.n));
    });
    operations.Register(op::kKeySetSave, bind(&KeySetOperations::Apply));
    operations.Register(op::kKeySetDefault, bind(&KeySetOperations::RestoreDefault));
    operations.Register(op::kKeySetCancel, bind(&KeySetOperations::Undo));
    operations.Register(op::kKeySetSaveProfile, bind(&KeySetOperations::WriteToKeyboard));
    operations.Register(op::kKeySetFunctionPicked, bind(&KeySetOperations::CategoryPicked));
    operations.Register(op::kKeySetMacroOverPicked, bind(&KeySetOperations::ModePicked));
    operations.Register(op::kKeySetComboCheck,
                        [this](const Call& call) { ModifierPicked(static_cast<int>(call.n)); });
    operations.Register(op::kKeyCaptureStart, bind(&KeySetOperations::StartCapture));
    operations.Register(op::kKeyCaptureStop, bind(&KeySetOperations::StopCapture));
    operations.Register(op::kKeyCaptureKey, [this](const Call& call) { Captured(call); });
}

CKeySetControlUI* KeySetOperations::PanelOf(model::CLumitrekUSBDevice& device) {
    ui::CControlUI* control = model::FindInPage(device, model::IKeySetPanel::kControlName);
    return control != nullptr ? static_cast<CKeySetControlUI*>(control->GetInterface("KeySetControl"))
                              : nullptr;
}

CKeySetControlUI* KeySetOperations::CurrentPanel() {
    model::CLumitrekUSBDevice* device = shell_.CurrentDevice();
    return device != nullptr ? PanelOf(*device) : nullptr;
}

void KeySetOperations::SelectKey(int position) {
    SelectKey(shell_.CurrentDevice(), position);
}

void KeySetOperations::SelectKey(model::CLumitrekUSBDevice* device, int position) {
    if (device == nullptr) return;
    const auto& buttons = device->KeyButtons();
    if (position < 0 || position >= static_cast<int>(buttons.size())) return;
    // One key at a time is the panel's.
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* key = buttons[i] != nullptr ? static_cast<ui::CDeviceKeyButtonUI*>(
                                                buttons[i]->GetInterface("DeviceKeyButton"))
                                          : nullptr;
        if (key != nullptr) key->SetKeySelected(static_cast<int>(i) == position);
    }
    device->SelectKey(position);
}

void KeySetOperations::Apply() {
    CKeySetControlUI* panel = CurrentPanel();
    if (panel == nullptr) return;
    model::CLumitrekUSBDevice* device = panel->Device();
    model::IKeyListOwner* keys = model::IKeyListOwner::Of(device);
    if (keys == nullptr || device->GetSelectedKey() < 0) return;
    keys->SetSelectedKeyMapping(panel->ReadAssignment());
    device->SaveProfile();
    keys->RefreshKeyLabels();
    panel->SetSaveButtonsEnabled(true);
}

void KeySetOperations::RestoreDefault() {
    if (CKeySetControlUI* panel = CurrentPanel()) {
        panel->ShowDefaultAssignment();
        panel->SetSaveButtonsEnabled(true);
    }
}

void KeySetOperations::Undo() {
    if (CKeySetControlUI* panel = CurrentPanel()) {
        panel->ShowCurrentAssignment();
        panel->SetSaveButtonsEnabled(false);
    }
}

void KeySetOperations::WriteToKeyboard() {
    CKeySetControlUI* panel = CurrentPanel();
    model::CLumitrekUSBDevice* device = panel ? panel->Device() : nullptr;
    if (device == nullptr) return;
    std::weak_ptr<KeySetOperations*> alive = alive_;
    device->ApplyKeys([alive, device](const model::Completion<model::ApplyOutcome>& done) {
        const auto self = alive.lock();
        if (!self || done.cancelled) return;
        if (!ReportApply((*self)->shell_, done.value)) return;
        device->SaveProfile();
        if (CKeySetControlUI* current = PanelOf(*device)) current->SetSaveButtonsEnabled(false);
    });
}

void KeySetOperations::CategoryPicked() {
    if (CKeySetControlUI* panel = CurrentPanel()) panel->ShowCategoryPage();
}

void KeySetOperations::ModePicked() {
    if (CKeySetControlUI* panel = CurrentPanel()) panel->ShowRepeatCount();
}

void KeySetOperations::ModifierPicked(int option) {
    CKeySetControlUI* panel = CurrentPanel();
    if (panel == nullptr) return;
    panel->SelectModifier(option);
    Apply();
}

void KeySetOperations::StartCapture() {
    if (capturing_) return;
    capturing_ = true;
    shell_.StartInputHook(1, false);
}

void KeySetOperations::StopCapture() {
    if (!capturing_) return;
    capturing_ = false;
    shell_.StopInputHook();
}

void KeySetOperations::Captured(const app::RouteCall& call) {
    const auto* record = reinterpret_cast<const ui::KeyHookRecord*>(call.msg.lParam);
    CKeySetControlUI* panel = CurrentPanel();
    if (record == nullptr || panel == nullptr) return;
    // A key the table does not have changes nothing: the edit keeps what it showed.
    const int row = input::KeyRowOfScanCode(static_cast<int>(record->scanCode),
                                            (record->flags & 1u) != 0);
    if (row < 0) return;
    panel->CaptureKey(row);
    Apply();
}

}  // namespace panels
