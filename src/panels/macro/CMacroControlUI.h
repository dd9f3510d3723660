// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro page of a device ("MacroControlItem"): the kind's macro library on the left
// ("macro_name_list", the name edit, add, delete, rename, import, export), the selected
// macro's events in the middle ("macro_action_list", one MacroEventRow each, with the row
// moves and deletes), and the tools that insert pointer moves on the right. Recording
// fills the same rows.
//
// The list control is the working copy of the library: row i is entry i of
// "macro.config", its text the macro's name, its user data the identifier. Every change
// is written at once through MacroLibrary, and every change of the event rows is saved to
// the macro file by the handlers (SaveMacro), so there is nothing to lose but a delay
// that is still being typed.
//
// UI thread only.
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "data/macro/MacroLibrary.h"
#include "model/device/IMacroPanel.h"
#include "panels/macro/MacroRecorder.h"
#include "platform/TickCount.h"
#include "ui/CHorizontalLayoutUI.h"

namespace ui {
class CEditUI;
class CListUI;
}  // namespace ui

namespace panels {

class CMacroControlUI : public ui::CHorizontalLayoutUI, public model::IMacroPanel {
public:
    static constexpr unsigned kTimerScroll = 4101;
    static constexpr int kRowHeight = 30;
    static constexpr uint16_t kDefaultFixedDelay = 50;
    // A pointer move travels at most this far: the keyboard keeps the distance in a byte.
    static constexpr int kMaxMoveDistance = 255;

    // Windows mouse messages, as the inserts and the recorder name the events.
    enum MouseMessage {
        kMouseMove = 512,
        kLeftDown = 513,
        kLeftUp = 514,
        kRightDown = 516,
        kRightUp = 517,
        kMiddleDown = 519,
        kMiddleUp = 520,
        kExtraDown = 523,
        kExtraUp = 524,
    };
    // Variants of InsertMouseEvent: the extra button (forward, back) or the move.
    enum Variant { kForward = 0, kBack = 1, kMoveLeft = 0, kMoveRight = 1, kMoveUp = 2, kMoveDown = 3 };

    // Why the last library change did nothing.
    enum class Failure {
        None,
        Full,        // the library holds MacroLibrary::kMaxMacros
        NotSaved,    // "macro.config" or the macro file could not be written
        NotAMacro,   // import: the file is not a macro file
        Unreadable,  // import: the file could not be read
    };

    std::string GetClass() const override;
    // "MacroControl" gives this panel, model::IMacroPanel::kInterfaceName its interface.
    void* GetInterface(std::string_view name) override;
    void DoEvent(ui::TEventUI& event) override;

    // ---- model::IMacroPanel
    void AttachDevice(model::CLumitrekUSBDevice* device) override { device_ = device; }
    void SetLibraryFolder(const std::filesystem::path& folder) override { folder_ = folder; }
    void LoadMacroList() override;
    std::vector<std::string> GetMacroNames() const override { return startupNames_; }
    // Where the damaged list file was kept when LoadMacroList rebuilt the list from the
    // macro files; empty otherwise, and after it was taken once (the user is told once).
    std::filesystem::path TakeRebuiltListCopy() { return std::exchange(rebuiltListCopy_, {}); }

    model::CLumitrekUSBDevice* Device() const { return device_; }
    const std::filesystem::path& LibraryFolder() const { return folder_; }

    // ---- the library
    // The selected macro's index, -1 when none.
    int GetSelectedMacro();
    int MacroCount();
    std::string MacroNameAt(int index);
    // The new macro's name, selected and shown empty; empty when nothing was added
    // (LastFailure says why).
    std::string AddMacro();
    // Removes the selected macro and its file and selects the first one; its index, or
    // -1 when nothing was removed.
    int DeleteMacro();
    // Renames the selected macro to the name edit's text: the new name; "IsEmpty" for a
    // blank name; empty when refused, with `index` the selected macro when the name is
    // taken (any letter case, the macro's own name too) and -1 otherwise.
    std::string RenameMacro(int& index);
    // Writes the selected macro's file from the rows; false (LastFailure NotSaved) when
    // it could not be written. Without a selected macro there is nothing to write.
    bool SaveMacro();
    // Shows the selected macro's events and name (again, dropping what was not saved).
    void SelectMacro();
    // A copy of a macro file as a new macro, selected: its name, or empty (LastFailure).
    std::string ImportMacro(const std::filesystem::path& source);
    // Copies the selected macro's file to `target`.
    MacroLibrary::Transfer ExportMacro(const std::filesystem::path& target);
    Failure LastFailure() const { return failure_; }

    std::string GetNameEditText();

    // ---- the event rows
    int RowCount();
    int SelectedRow();
    void SelectRow(int row);
    // The same without scrolling to it (recording scrolls on timer kTimerScroll).
    void SelectRowInPlace(int row);
    // The row's event with the delay its edit shows; null when the row holds none.
    Json::Value RowEvent(int row);
    void SetEditingEnabled(bool enabled);
    void MoveRowUp();
    void MoveRowDown();
    void MoveRowToTop();
    void MoveRowToBottom();
    void DeleteRow();
    void DeleteAllRows();
    // Inserts one button or pointer-move event after the selected row (at 1 when none is
    // selected, at 0 into an empty list), with the fixed delay. Nothing without a macro.
    void InsertMouseEvent(int message, int variant);
    void ScrollToSelection();
    // Makes the selected row visible `delayMs` from now (timer kTimerScroll).
    void ScrollToSelectionLater(unsigned delayMs);

    uint16_t FixedDelay() const { return fixedDelay_; }
    void SetFixedDelay(uint16_t delay) { fixedDelay_ = delay; }

    // ---- recording (MacroRecorder)
    // `timing`: MacroRecorder::Timing.
    void StartRecording(int timing) { recorder_.Start(timing); }
    void StopRecording() { recorder_.Stop(); }
    bool IsRecording() const { return recorder_.Recording(); }
    void RecordKey(int variant, unsigned message, const ui::KeyHookRecord& record) {
        recorder_.RecordKey(variant, message, record);
    }
    void RecordMouse(int variant, unsigned message, const ui::MouseHookRecord& record) {
        recorder_.RecordMouse(variant, message, record);
    }
    // "macro_check_time": record with the fixed delay.
    bool FixedDelayChosen();
    // What the recorder works with.
    ui::CEditUI* FixedDelayEdit();
    ui::CControlUI* StopButton();
    void InsertRow(int at, const Json::Value& event);
    void SetRowDelay(int row, uint16_t delay);
    // Row `row` shows `event` from now on; its delay stays as its edit shows it.
    void ReplaceRow(int row, const Json::Value& event);
    // For tests: the recorder's clock.
    void SetRecorderClock(MacroRecorder::Clock clock) { recorder_.SetClock(std::move(clock)); }

private:
    ui::CListUI* NameList();
    ui::CListUI* ActionList();
    ui::CEditUI* NameEdit();
    ui::CControlUI* Find(std::string_view name);
    MacroLibrary Library() const { return MacroLibrary(folder_); }
    std::vector<std::string> RowNames();
    void AppendMacroRow(const MacroInfo& entry);
    void SelectNewMacro(int index);
    // Editing containers, delete, rename and export follow whether a macro is selected.
    void EnableMacroTools(bool enabled);
    // Fills the rows from the macro file of `guid`.
    void LoadMacro(const std::string& guid);
    // Rebuilds row `from` from its stored event at `to` and selects it.
    void MoveRow(int from, int to);
    std::string SelectedGuid();

    model::CLumitrekUSBDevice* device_ = nullptr;
    std::filesystem::path folder_;
    std::vector<std::string> startupNames_;
    std::filesystem::path rebuiltListCopy_;
    uint16_t fixedDelay_ = kDefaultFixedDelay;
    Failure failure_ = Failure::None;
    // The macro whose file holds more events than the rows show (MacroLibrary::
    // kMaxLoadedEvents): its file is copied aside before the first save replaces it.
    std::string cutGuid_;
    MacroRecorder recorder_{*this, [] { return platform::TickCount(); }};
    ui::CListUI* nameList_ = nullptr;
    ui::CListUI* actionList_ = nullptr;
    ui::CEditUI* nameEdit_ = nullptr;
};

}  // namespace panels
