// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/shoot/ShootOperations.h"

#include "app/OperationIds.h"
#include "device/protocol/ResultCode.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/PanelLookup.h"
#include "panels/shoot/CShootControlUI.h"

namespace panels {

namespace {

constexpr const char* kNotAPattern = "shoot_file_bad_text";
constexpr const char* kFileFailed = "shoot_file_failed_text";
constexpr const char* kWriteFailed = "shoot_write_failed_text";
constexpr const char* kPatternRefused = "shoot_pattern_bad_text";

}  // namespace

void ShootOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Call = const app::RouteCall&;
    operations.Register(op::kRecoilWeapon, [this](Call call) { Weapon(call.n); });
    operations.Register(op::kRecoilShot, [this](Call call) { Shot(call.n); });
    operations.Register(op::kRecoilStepShot, [this](Call call) { StepShot(call.arg); });
    operations.Register(op::kRecoilDirection, [this](Call call) { Direction(call.arg); });
    operations.Register(op::kRecoilShotEdited, [this](Call) { ShotEdited(); });
    operations.Register(op::kRecoilReset, [this](Call) { Reset(); });
    operations.Register(op::kRecoilImport, [this](Call) { Import(); });
    operations.Register(op::kRecoilExport, [this](Call) { Export(); });
    operations.Register(op::kRecoilSave, [this](Call) { Save(); });
}

CShootControlUI* ShootOperations::Panel() {
    auto* mouse = model::CLumitrekMouseDevice::Of(shell_.CurrentDevice());
    if (mouse == nullptr) return nullptr;
    ui::CControlUI* control = model::FindInPage(*mouse, model::IShootPanel::kControlName);
    return control
               ? static_cast<CShootControlUI*>(control->GetInterface(CShootControlUI::kClassName))
               : nullptr;
}

void ShootOperations::Weapon(long n) {
    if (CShootControlUI* panel = Panel()) {
        panel->SelectWeapon(static_cast<int>(n));
        panel->ShowShot();
    }
}

void ShootOperations::Shot(long n) {
    if (CShootControlUI* panel = Panel()) panel->SelectShot(static_cast<int>(n));
}

void ShootOperations::StepShot(int forward) {
    CShootControlUI* panel = Panel();
    if (panel == nullptr) return;
    if (forward != 0)
        panel->NextShot();
    else
        panel->PreviousShot();
}

void ShootOperations::Direction(int vertical) {
    CShootControlUI* panel = Panel();
    if (panel == nullptr) return;
    if (vertical != 0)
        panel->SetDirectionTextY();
    else
        panel->SetDirectionTextX();
}

void ShootOperations::ShotEdited() {
    CShootControlUI* panel = Panel();
    // Nothing selected yet: the edits show nothing of a shot to save.
    if (panel == nullptr || panel->SelectedShot() < 0) return;
    if (!panel->SaveShot()) shell_.ShowKeyedMessage(kFileFailed, 0);
}

void ShootOperations::Reset() {
    CShootControlUI* panel = Panel();
    if (panel != nullptr && !panel->ResetWeapon(panel->SelectedWeapon()))
        shell_.ShowKeyedMessage(kFileFailed, 0);
}

void ShootOperations::Import() {
    CShootControlUI* panel = Panel();
    if (panel == nullptr) return;
    const std::optional<std::string> path = shell_.AskOpenFile(kFileFilter);
    if (!path || path->empty()) return;
    switch (panel->ImportWeapon(*path)) {
        case CShootControlUI::Transfer::Done:
            break;
        case CShootControlUI::Transfer::NotAPattern:
            shell_.ShowKeyedMessage(kNotAPattern, 0);
            break;
        default:
            shell_.ShowKeyedMessage(kFileFailed, 0);
            break;
    }
}

void ShootOperations::Export() {
    CShootControlUI* panel = Panel();
    if (panel == nullptr) return;
    const std::string proposed = "ShootData_" + std::to_string(panel->SelectedWeapon()) + ".Shoot";
    const std::optional<std::string> path = shell_.AskSaveFile(kFileFilter, "Shoot", proposed);
    if (!path || path->empty()) return;
    if (panel->ExportWeapon(*path) != CShootControlUI::Transfer::Done)
        shell_.ShowKeyedMessage(kFileFailed, 0);
}

void ShootOperations::Save() {
    auto* mouse = model::CLumitrekMouseDevice::Of(shell_.CurrentDevice());
    if (mouse == nullptr) return;
    IPanelShell* shell = &shell_;
    mouse->WriteRecoilPatterns([shell](const model::Completion<int>& written) {
        if (written.cancelled) return;
        // A write that did not reach the mouse is not passed over in silence.
        if (written.value == model::CLumitrekMouseDevice::kRecoilRefused)
            shell->ShowKeyedMessage(kPatternRefused, 0);
        else if (written.value != device::kResultSuccess)
            shell->ShowKeyedMessage(kWriteFailed, 0);
    });
}

}  // namespace panels
