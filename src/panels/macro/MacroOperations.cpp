// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/macro/MacroOperations.h"

#include "app/OperationIds.h"
#include "data/macro/MacroKeyRepair.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/IKeyListOwner.h"
#include "model/device/IKeySetPanel.h"
#include "model/device/PanelLookup.h"
#include "panels/ApplyReport.h"
#include "panels/macro/CMacroControlUI.h"
#include "ui/HookRecords.h"
#include "ui/TNotifyUI.h"

namespace panels {

namespace {

constexpr const char* kConfirmDelete = "message_text_4";
constexpr const char* kConfirmKeysLoseMacro = "message_text_2";
constexpr const char* kMacroNameTakenText = "message_text_5";
constexpr const char* kMacroNotSavedText = "message_macro_not_saved";
constexpr const char* kNotAMacro = "message_macro_not_a_macro";
constexpr const char* kImportFailed = "message_macro_import_failed";
constexpr const char* kExportFailed = "message_macro_export_failed";
constexpr const char* kNothingToExport = "message_macro_nothing_to_export";
constexpr const char* kIsEmptyAttribute = "IsEmpty";

using Panel = CMacroControlUI;

// The mouse messages of a row-menu button: press, release, and the extra-button variant.
struct ButtonMessages {
    int press;
    int release;
    int variant;
};

ButtonMessages MessagesOf(int button) {
    namespace op = app::ops;
    switch (button) {
        case op::kMacroButtonRight: return {Panel::kRightDown, Panel::kRightUp, 0};
        case op::kMacroButtonMiddle: return {Panel::kMiddleDown, Panel::kMiddleUp, 0};
        case op::kMacroButtonForward: return {Panel::kExtraDown, Panel::kExtraUp, Panel::kForward};
        case op::kMacroButtonBack: return {Panel::kExtraDown, Panel::kExtraUp, Panel::kBack};
        default: return {Panel::kLeftDown, Panel::kLeftUp, 0};
    }
}

// Hook modes of the recording variants.
constexpr int kHookAppend = 4;
constexpr int kHookBefore = 8;
constexpr int kHookAfter = 16;
constexpr int kHookReplace = 32;

// A file name proposed for an export: the macro's name, without what a file name cannot
// hold.
std::string ExportFileName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name.empty() || name == "." || name == "..") name = "macro";
    return name + ".mac";
}

}  // namespace

MacroOperations::MacroOperations(IPanelShell& shell)
    : shell_(shell), alive_(std::make_shared<MacroOperations*>(this)) {}

void MacroOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Call = app::RouteCall;
    const auto bind = [this](void (MacroOperations::*handler)()) {
        return [this, handler](const Call&) { (this->*handler)(); };
    };
    const auto rows = [this](void (Panel::*change)()) {
        return [this, change](const Call&) { ChangeRows(change); };
    };
    operations.Register(op::kMacroAdd, bind(&MacroOperations::Add));
    operations.Register(op::kMacroDelete, bind(&MacroOperations::Delete));
    operations.Register(op::kMacroRename, bind(&MacroOperations::Rename));
    operations.Register(op::kMacroSave, bind(&MacroOperations::Save));
    operations.Register(op::kMacroCancel, bind(&MacroOperations::Cancel));
    operations.Register(op::kMacroImport, bind(&MacroOperations::Import));
    operations.Register(op::kMacroExport, bind(&MacroOperations::Export));
    operations.Register(op::kMacroSelect, bind(&MacroOperations::Select));
    operations.Register(op::kMacroRowUp, rows(&Panel::MoveRowUp));
    operations.Register(op::kMacroRowDown, rows(&Panel::MoveRowDown));
    operations.Register(op::kMacroRowTop, rows(&Panel::MoveRowToTop));
    operations.Register(op::kMacroRowBottom, rows(&Panel::MoveRowToBottom));
    operations.Register(op::kMacroRowDelete, rows(&Panel::DeleteRow));
    operations.Register(op::kMacroRowDeleteAll, rows(&Panel::DeleteAllRows));
    operations.Register(op::kMacroInsertHorizontalMove,
                        [this](const Call& call) { InsertMove(true, call.arg); });
    operations.Register(op::kMacroInsertVerticalMove,
                        [this](const Call& call) { InsertMove(false, call.arg); });
    operations.Register(op::kMacroInsertButtonDown,
                        [this](const Call& call) { InsertButton(call.arg, true, false); });
    operations.Register(op::kMacroInsertButtonUp,
                        [this](const Call& call) { InsertButton(call.arg, false, true); });
    operations.Register(op::kMacroInsertButtonClick,
                        [this](const Call& call) { InsertButton(call.arg, true, true); });
    // Recording: the button and the row menu's items start it, the hook's messages feed it.
    operations.Register(op::kRecorderStart, [this](const Call&) {
        StartRecording(kHookAppend, op::kRecordTimingRecorded);
    });
    operations.Register(op::kRecorderRecordBefore,
                        [this](const Call& call) { StartRecording(kHookBefore, call.arg); });
    operations.Register(op::kRecorderRecordAfter,
                        [this](const Call& call) { StartRecording(kHookAfter, call.arg); });
    operations.Register(op::kRecorderReplaceKey, [this](const Call&) {
        StartRecording(kHookReplace, op::kRecordTimingIgnored);
    });
    operations.Register(op::kRecorderStop, [this](const Call&) { StopRecording(); });
    operations.Register(op::kRecorderKey, [this](const Call& call) { RecordedKey(call); });
    operations.Register(op::kRecorderMouse, [this](const Call& call) { RecordedMouse(call); });
}

CMacroControlUI* MacroOperations::PanelOf(model::CLumitrekUSBDevice& device) {
    ui::CControlUI* control = model::FindInPage(device, model::IMacroPanel::kControlName);
    return control != nullptr ? static_cast<Panel*>(control->GetInterface("MacroControl"))
                              : nullptr;
}

model::IKeySetPanel* MacroOperations::KeyPanelOf(model::CLumitrekUSBDevice& device) {
    return model::PanelOf<model::IKeySetPanel>(
        model::FindInPage(device, model::IKeySetPanel::kControlName));
}

CMacroControlUI* MacroOperations::CurrentPanel() {
    model::CLumitrekUSBDevice* device = shell_.CurrentDevice();
    return device != nullptr ? PanelOf(*device) : nullptr;
}

void MacroOperations::SayFailure(CMacroControlUI& panel) {
    switch (panel.LastFailure()) {
        case Panel::Failure::NotSaved: shell_.ShowKeyedMessage(kMacroNotSavedText, 0); break;
        case Panel::Failure::NotAMacro: shell_.ShowKeyedMessage(kNotAMacro, 0); break;
        case Panel::Failure::Unreadable: shell_.ShowKeyedMessage(kImportFailed, 0); break;
        // A full library refuses without a word, as adding to a full profile list does.
        default: break;
    }
}

void MacroOperations::SaveOrSay(CMacroControlUI& panel) {
    if (!panel.SaveMacro()) SayFailure(panel);
}

void MacroOperations::Added(CMacroControlUI& panel, const std::string& name) {
    model::CLumitrekUSBDevice* device = panel.Device();
    if (device == nullptr) return;
    if (model::IKeySetPanel* keys = KeyPanelOf(*device)) keys->AddMacroName(name);
    device->LoadLightNameLists();
}

// ---- the library

void MacroOperations::Add() {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    const std::string name = panel->AddMacro();
    if (name.empty()) SayFailure(*panel);
    else Added(*panel, name);
}

void MacroOperations::Delete() {
    Panel* panel = CurrentPanel();
    model::CLumitrekUSBDevice* device = panel ? panel->Device() : nullptr;
    if (device == nullptr) return;
    const int index = panel->GetSelectedMacro();
    if (index < 0) return;
    if (shell_.ShowKeyedMessage(kConfirmDelete, 1) != 1) return;

    // Keys play macros by number: every kind with keys is renumbered the same way.
    model::IKeyListOwner* keys = model::IKeyListOwner::Of(device);
    MacroKeyRepair::Result repair;
    if (keys != nullptr) {
        repair = MacroKeyRepair::AfterDelete(keys->GetKeyList(), index);
        if (repair.playedDeleted && shell_.ShowKeyedMessage(kConfirmKeysLoseMacro, 1) != 1)
            return;
    }
    if (panel->DeleteMacro() < 0) {
        SayFailure(*panel);
        return;
    }
    if (model::IKeySetPanel* keyPanel = KeyPanelOf(*device)) keyPanel->RemoveMacroName(index);
    device->LoadLightNameLists();
    if (keys == nullptr) return;
    if (repair.changed) {
        keys->SetKeyList(repair.keys);
        device->SaveProfile();
    }
    // The labels name macros by their place in the library, which moved.
    keys->RefreshKeyLabels();
    if (repair.changed) WriteKeys(*device);
}

void MacroOperations::WriteKeys(model::CLumitrekUSBDevice& device) {
    std::weak_ptr<MacroOperations*> alive = alive_;
    model::CLumitrekUSBDevice* target = &device;
    device.ApplyKeys([alive, target](const model::Completion<model::ApplyOutcome>& done) {
        const auto self = alive.lock();
        if (!self || done.cancelled) return;
        if (!ReportApply((*self)->shell_, done.value)) return;
        if (model::IKeyListOwner* keys = model::IKeyListOwner::Of(target))
            keys->RefreshKeyLabels();
    });
}

void MacroOperations::Rename() {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    int index = -1;
    const std::string name = panel->RenameMacro(index);
    if (name == kIsEmptyAttribute) return;
    if (name.empty()) {
        if (index >= 0) shell_.ShowKeyedMessage(kMacroNameTakenText, 0);
        else SayFailure(*panel);
        return;
    }
    model::CLumitrekUSBDevice* device = panel->Device();
    if (device == nullptr) return;
    if (model::IKeySetPanel* keyPanel = KeyPanelOf(*device)) keyPanel->RenameMacroName(index, name);
    device->LoadLightNameLists();
    if (model::IKeyListOwner* keys = model::IKeyListOwner::Of(device)) keys->RefreshKeyLabels();
}

void MacroOperations::Save() {
    if (Panel* panel = CurrentPanel()) SaveOrSay(*panel);
}

void MacroOperations::Cancel() {
    if (Panel* panel = CurrentPanel()) panel->SelectMacro();
}

void MacroOperations::Select() {
    if (Panel* panel = CurrentPanel()) panel->SelectMacro();
}

void MacroOperations::Import() {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    const std::optional<std::string> path = shell_.AskOpenFile(kFileFilter);
    if (!path || path->empty()) return;
    const std::string name = panel->ImportMacro(*path);
    if (name.empty()) SayFailure(*panel);
    else Added(*panel, name);
}

void MacroOperations::Export() {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    const int selected = panel->GetSelectedMacro();
    if (selected < 0) return;
    const std::optional<std::string> path =
        shell_.AskSaveFile(kFileFilter, "mac", ExportFileName(panel->MacroNameAt(selected)));
    if (!path || path->empty()) return;
    switch (panel->ExportMacro(*path)) {
        case MacroLibrary::Transfer::Done: break;
        case MacroLibrary::Transfer::NotSaved: shell_.ShowKeyedMessage(kNothingToExport, 0); break;
        default: shell_.ShowKeyedMessage(kExportFailed, 0); break;
    }
}

// ---- the event rows

void MacroOperations::ChangeRows(void (Panel::*change)()) {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    (panel->*change)();
    SaveOrSay(*panel);
}

void MacroOperations::InsertMove(bool horizontal, int towardsNegative) {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    // The buttons say the direction per axis; the inserts number the four moves.
    const int variant = horizontal ? (towardsNegative != 0 ? Panel::kMoveLeft : Panel::kMoveRight)
                                   : (towardsNegative != 0 ? Panel::kMoveUp : Panel::kMoveDown);
    panel->InsertMouseEvent(Panel::kMouseMove, variant);
    SaveOrSay(*panel);
}

void MacroOperations::InsertButton(int button, bool press, bool release) {
    Panel* panel = CurrentPanel();
    if (panel == nullptr) return;
    const ButtonMessages messages = MessagesOf(button);
    if (press) panel->InsertMouseEvent(messages.press, messages.variant);
    if (release) panel->InsertMouseEvent(messages.release, messages.variant);
    SaveOrSay(*panel);
}

// ---- recording

CMacroControlUI* MacroOperations::RecordingPanel() {
    return recordingDevice_ != nullptr ? PanelOf(*recordingDevice_) : nullptr;
}

void MacroOperations::SetKeySaveButtons(model::CLumitrekUSBDevice& device, bool enabled) {
    if (model::IKeySetPanel* keys = KeyPanelOf(device)) keys->SetSaveButtonsEnabled(enabled);
}

void MacroOperations::StartRecording(int hookMode, int timing) {
    namespace op = app::ops;
    Panel* panel = CurrentPanel();
    model::CLumitrekUSBDevice* device = panel ? panel->Device() : nullptr;
    if (device == nullptr) return;
    if (Recording() && recordingDevice_ != device) StopRecording();
    int mode = MacroRecorder::kRecordedDelay;
    if (timing == op::kRecordTimingConstant) mode = MacroRecorder::kFixedDelay;
    if (timing == op::kRecordTimingIgnored) mode = MacroRecorder::kNoDelay;
    if (timing == op::kRecordTimingRecorded && panel->FixedDelayChosen())
        mode = MacroRecorder::kFixedDelay;
    recordingDevice_ = device;
    panel->StartRecording(mode);
    shell_.StartInputHook(hookMode, true);
    shell_.SetDeviceSwitchingEnabled(false);
    SetKeySaveButtons(*device, true);
}

void MacroOperations::StopRecording() {
    model::CLumitrekUSBDevice* device = recordingDevice_;
    if (device == nullptr) return;
    recordingDevice_ = nullptr;
    shell_.StopInputHook();
    shell_.SetDeviceSwitchingEnabled(true);
    SetKeySaveButtons(*device, false);
    if (Panel* panel = PanelOf(*device)) {
        panel->StopRecording();
        SaveOrSay(*panel);
    }
}

void MacroOperations::RecordedKey(const app::RouteCall& call) {
    const auto* record = reinterpret_cast<const ui::KeyHookRecord*>(call.msg.lParam);
    Panel* panel = RecordingPanel();
    if (record != nullptr && panel != nullptr)
        panel->RecordKey(call.arg, static_cast<unsigned>(call.msg.wParam), *record);
}

void MacroOperations::RecordedMouse(const app::RouteCall& call) {
    const auto* record = reinterpret_cast<const ui::MouseHookRecord*>(call.msg.lParam);
    Panel* panel = RecordingPanel();
    if (record != nullptr && panel != nullptr)
        panel->RecordMouse(call.arg, static_cast<unsigned>(call.msg.wParam), *record);
}

}  // namespace panels
