// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's macro handlers: the library buttons of the macro page (add, delete
// with the repair of the keys that play macros, rename, import, export), save and reload,
// the row moves and deletes, and the inserts of buttons and pointer moves from the
// buttons and the row menu. Each works on the current device's macro panel and does
// nothing without one. After each library change the device reads its name lists again
// and the key panel's macro names follow, so that the keyboard's macro image and key
// table refer to the library as it is on disk.
//
// UI thread only.
#include <memory>

#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace model {
class CLumitrekUSBDevice;
class IKeySetPanel;
}  // namespace model

namespace panels {

class CMacroControlUI;

class MacroOperations {
public:
    // The macro file filter of the open and save dialogs.
    static constexpr const char* kFileFilter = "Macro Files(*.mac)|*.mac;||";

    explicit MacroOperations(IPanelShell& shell);
    MacroOperations(const MacroOperations&) = delete;
    MacroOperations& operator=(const MacroOperations&) = delete;

    void Register(app::ShellOperations& operations);

    static CMacroControlUI* PanelOf(model::CLumitrekUSBDevice& device);

    void Add();
    void Delete();
    void Rename();
    void Save();
    void Cancel();
    void Import();
    void Export();
    void Select();
    // `change` changes the event rows (a move, a delete); the macro is saved after.
    void ChangeRows(void (CMacroControlUI::*change)());
    // A pointer move: `towardsNegative` 1 left or up, 0 right or down.
    void InsertMove(bool horizontal, int towardsNegative);
    // A button of the row menu (app::ops::kMacroButton*): press, release or both.
    void InsertButton(int button, bool press, bool release);

    // ---- recording
    // Starts recording on the current device's macro panel: `hookMode` 4 append, 8 before,
    // 16 after the selected row, 32 replace its key; `timing` app::ops::kRecordTiming*
    // (recorded: the fixed delay when "macro_check_time" is ticked).
    void StartRecording(int hookMode, int timing);
    // Ends a recording (the panel unlocked, the input hook released, the macro saved);
    // nothing when none runs. Whatever ends it: Stop, an unplug, another device, the
    // window hidden, the program quitting.
    void StopRecording();
    bool Recording() const { return recordingDevice_ != nullptr; }
    void RecordedKey(const app::RouteCall& call);
    void RecordedMouse(const app::RouteCall& call);

private:
    CMacroControlUI* CurrentPanel();
    CMacroControlUI* RecordingPanel();
    void SetKeySaveButtons(model::CLumitrekUSBDevice& device, bool enabled);
    static model::IKeySetPanel* KeyPanelOf(model::CLumitrekUSBDevice& device);
    void SaveOrSay(CMacroControlUI& panel);
    // What the failed library change of `panel` tells the user.
    void SayFailure(CMacroControlUI& panel);
    // A macro came into the library (add, import).
    void Added(CMacroControlUI& panel, const std::string& name);
    // The keys were repaired after a delete: they go to the device as a key save does.
    void WriteKeys(model::CLumitrekUSBDevice& device);

    IPanelShell& shell_;
    model::CLumitrekUSBDevice* recordingDevice_ = nullptr;
    std::shared_ptr<MacroOperations*> alive_;
};

}  // namespace panels
