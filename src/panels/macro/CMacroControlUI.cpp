// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/macro/CMacroControlUI.h"

#include <algorithm>
#include <cstdlib>

#include "data/ProfileNames.h"
#include "data/macro/MacroInfo.h"
#include "panels/macro/MacroEventRow.h"
#include "platform/TerminalText.h"
#include "ui/CEditUI.h"
#include "ui/CListContainerElementUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CListUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"

namespace panels {

namespace {

constexpr const char* kNameList = "macro_name_list";
constexpr const char* kActionList = "macro_action_list";
constexpr const char* kNameEdit = "macro_edit_macroname";
constexpr const char* kIsEmpty = "IsEmpty";

// What follows whether a macro is selected.
constexpr const char* kMacroTools[] = {"macro_action_layout", "mouse_move_layout",
                                       "macro_btn_export", "macro_btn_name_sub",
                                       "macro_btn_name_edit"};

// The distance a move edit asks for, read as the C library reads a number, within what
// the keyboard can play.
int MoveDistance(ui::CControlUI* edit) {
    if (edit == nullptr) return 0;
    const long value = std::strtol(edit->GetText().c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, 0, CMacroControlUI::kMaxMoveDistance));
}

}  // namespace

std::string CMacroControlUI::GetClass() const {
    return "MacroControlUI";
}

void* CMacroControlUI::GetInterface(std::string_view name) {
    if (name == "MacroControl") return this;
    if (name == model::IMacroPanel::kInterfaceName) return static_cast<model::IMacroPanel*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

void CMacroControlUI::DoEvent(ui::TEventUI& event) {
    if (event.Type == ui::EventType::Timer && event.wParam == kTimerScroll) {
        ScrollToSelection();
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

// ---- controls

ui::CControlUI* CMacroControlUI::Find(std::string_view name) {
    return FindSubControl(name);
}

ui::CListUI* CMacroControlUI::NameList() {
    if (nameList_ == nullptr)
        if (ui::CControlUI* control = Find(kNameList))
            nameList_ = static_cast<ui::CListUI*>(control->GetInterface("List"));
    return nameList_;
}

ui::CListUI* CMacroControlUI::ActionList() {
    if (actionList_ == nullptr)
        if (ui::CControlUI* control = Find(kActionList))
            actionList_ = static_cast<ui::CListUI*>(control->GetInterface("List"));
    return actionList_;
}

ui::CEditUI* CMacroControlUI::NameEdit() {
    if (nameEdit_ == nullptr)
        if (ui::CControlUI* control = Find(kNameEdit))
            nameEdit_ = static_cast<ui::CEditUI*>(control->GetInterface("Edit"));
    return nameEdit_;
}

std::string CMacroControlUI::GetNameEditText() {
    ui::CEditUI* edit = NameEdit();
    return edit != nullptr ? edit->GetText() : std::string();
}

void CMacroControlUI::EnableMacroTools(bool enabled) {
    for (const char* name : kMacroTools)
        if (ui::CControlUI* control = Find(name)) control->SetEnabled(enabled);
}

// ---- the library

void CMacroControlUI::LoadMacroList() {
    if (folder_.empty()) return;
    ui::CListUI* list = NameList();
    if (list != nullptr) list->RemoveAll();
    const MacroLibrary library = Library();
    if (std::filesystem::path copy = library.RebuildDamagedList(); !copy.empty())
        rebuiltListCopy_ = std::move(copy);
    const std::vector<MacroInfo> entries = library.Entries();
    startupNames_ = MacroLibrary::Names(entries);
    for (const MacroInfo& entry : entries) AppendMacroRow(entry);
}

void CMacroControlUI::AppendMacroRow(const MacroInfo& entry) {
    ui::CListUI* list = NameList();
    if (list == nullptr) return;
    auto* row = new ui::CListLabelElementUI();
    row->SetFixedHeight(kRowHeight);
    // A macro's name is the user's text, never a language key.
    row->SetResourceText(false);
    row->SetText(entry.name);
    row->SetUserData(entry.guid);
    list->Add(row);
}

int CMacroControlUI::MacroCount() {
    ui::CListUI* list = NameList();
    return list != nullptr ? list->GetCount() : 0;
}

int CMacroControlUI::GetSelectedMacro() {
    ui::CListUI* list = NameList();
    if (list == nullptr || list->GetCount() == 0) return -1;
    return list->GetCurSel();
}

std::string CMacroControlUI::MacroNameAt(int index) {
    ui::CListUI* list = NameList();
    ui::CControlUI* row = list != nullptr ? list->GetItemAt(index) : nullptr;
    return row != nullptr ? row->GetText() : std::string();
}

std::string CMacroControlUI::SelectedGuid() {
    const int selected = GetSelectedMacro();
    if (selected < 0) return {};
    ui::CControlUI* row = NameList()->GetItemAt(selected);
    return row != nullptr ? row->GetUserData() : std::string();
}

std::vector<std::string> CMacroControlUI::RowNames() {
    std::vector<std::string> names;
    for (int i = 0; i < MacroCount(); ++i) names.push_back(MacroNameAt(i));
    return names;
}

void CMacroControlUI::SelectNewMacro(int index) {
    // Selected quietly and shown here: the list's own notification would show it again.
    if (ui::CListUI* list = NameList()) list->SelectItem(index, false, false);
    SelectMacro();
}

std::string CMacroControlUI::AddMacro() {
    failure_ = Failure::None;
    if (NameList() == nullptr) return {};
    if (MacroCount() >= MacroLibrary::kMaxMacros) {
        failure_ = Failure::Full;
        return {};
    }
    MacroLibrary library = Library();
    const std::string name = MacroLibrary::NewName(RowNames());
    const std::optional<MacroInfo> entry = library.Add(name);
    if (!entry) {
        // The file may hold more macros than the list shows (edited meanwhile).
        failure_ = library.Entries().size() >= static_cast<std::size_t>(MacroLibrary::kMaxMacros)
                       ? Failure::Full
                       : Failure::NotSaved;
        return {};
    }
    AppendMacroRow(*entry);
    SelectNewMacro(MacroCount() - 1);
    return name;
}

int CMacroControlUI::DeleteMacro() {
    failure_ = Failure::None;
    const int index = GetSelectedMacro();
    if (index < 0) return -1;
    if (!Library().Remove(index)) {
        failure_ = Failure::NotSaved;
        return -1;
    }
    NameList()->RemoveAt(index);
    if (ui::CListUI* actions = ActionList()) actions->RemoveAll();
    if (MacroCount() > 0) {
        SelectNewMacro(0);
    } else {
        if (ui::CEditUI* edit = NameEdit()) edit->SetText("");
        EnableMacroTools(false);
    }
    return index;
}

std::string CMacroControlUI::RenameMacro(int& index) {
    failure_ = Failure::None;
    index = -1;
    const int selected = GetSelectedMacro();
    if (selected < 0) return {};
    // A pasted name may carry controls that would reorder or hide what the list shows.
    const std::string name = platform::WithoutHiddenControls(GetNameEditText());
    if (ProfileNames::Trimmed(name).empty()) return kIsEmpty;
    if (ProfileNames::Contains(RowNames(), name)) {
        index = selected;
        return {};
    }
    if (!Library().Rename(selected, name)) {
        failure_ = Failure::NotSaved;
        return {};
    }
    NameList()->GetItemAt(selected)->SetText(name);
    index = selected;
    return name;
}

bool CMacroControlUI::SaveMacro() {
    failure_ = Failure::None;
    const int selected = GetSelectedMacro();
    const std::string guid = SelectedGuid();
    if (selected < 0 || guid.empty()) return true;
    std::vector<Json::Value> events;
    if (ui::CListUI* actions = ActionList()) {
        events.reserve(static_cast<std::size_t>(actions->GetCount()));
        for (int r = 0; r < actions->GetCount(); ++r) {
            ui::CControlUI* row = actions->GetItemAt(r);
            ui::CEditUI* edit = MacroEventRow::DelayEdit(*row);
            if (edit != nullptr && edit->GetText().empty()) edit->SetText("0");
            // A row without an event ends the macro; one whose event does not read is
            // left out.
            if (row->GetUserData().empty()) break;
            std::optional<Json::Value> event = MacroEventRow::StoredEvent(*row);
            if (!event || !event->isObject()) continue;
            const std::string delay = MacroLibrary::DelayText(edit != nullptr ? edit->GetText() : "");
            if ((*event)["Delay"] != delay) {
                (*event)["Delay"] = delay;
                MacroEventRow::Store(*row, *event);
            }
            events.push_back(std::move(*event));
        }
    }
    const MacroLibrary library = Library();
    if (guid == cutGuid_) {
        if (!library.KeepCopyOf(guid)) {
            failure_ = Failure::NotSaved;
            return false;
        }
        cutGuid_.clear();
    }
    if (library.SaveEvents(guid, MacroNameAt(selected), events)) return true;
    failure_ = Failure::NotSaved;
    return false;
}

void CMacroControlUI::LoadMacro(const std::string& guid) {
    ui::CListUI* actions = ActionList();
    if (actions == nullptr) return;
    actions->RemoveAll();
    bool cut = false;
    for (const Json::Value& event : Library().LoadEvents(guid, &cut))
        actions->Add(MacroEventRow::Build(event, m_pManager));
    // Only part of the file is shown: what is not shown must outlive the next save.
    cutGuid_ = cut ? guid : std::string();
}

void CMacroControlUI::SelectMacro() {
    const int selected = GetSelectedMacro();
    const std::string guid = SelectedGuid();
    if (selected < 0 || guid.empty()) {
        if (ui::CListUI* actions = ActionList()) actions->RemoveAll();
        return;
    }
    EnableMacroTools(true);
    LoadMacro(guid);
    if (ui::CEditUI* edit = NameEdit()) edit->SetText(MacroNameAt(selected));
}

std::string CMacroControlUI::ImportMacro(const std::filesystem::path& source) {
    failure_ = Failure::None;
    if (source.empty() || NameList() == nullptr) return {};
    if (MacroCount() >= MacroLibrary::kMaxMacros) {
        failure_ = Failure::Full;
        return {};
    }
    const MacroLibrary::ImportResult imported = Library().Import(source);
    switch (imported.result) {
        case MacroLibrary::Transfer::Done:
            break;
        case MacroLibrary::Transfer::LibraryFull:
            failure_ = Failure::Full;
            return {};
        case MacroLibrary::Transfer::NotAMacro:
            failure_ = Failure::NotAMacro;
            return {};
        case MacroLibrary::Transfer::Unreadable:
            failure_ = Failure::Unreadable;
            return {};
        default:
            failure_ = Failure::NotSaved;
            return {};
    }
    AppendMacroRow(imported.entry);
    SelectNewMacro(MacroCount() - 1);
    return imported.entry.name;
}

MacroLibrary::Transfer CMacroControlUI::ExportMacro(const std::filesystem::path& target) {
    const int selected = GetSelectedMacro();
    if (target.empty() || selected < 0) return MacroLibrary::Transfer::NoSuchMacro;
    return Library().Export(selected, target);
}

// ---- the event rows

int CMacroControlUI::RowCount() {
    ui::CListUI* actions = ActionList();
    return actions != nullptr ? actions->GetCount() : 0;
}

int CMacroControlUI::SelectedRow() {
    ui::CListUI* actions = ActionList();
    return actions != nullptr ? actions->GetCurSel() : -1;
}

void CMacroControlUI::SelectRow(int row) {
    if (ui::CListUI* actions = ActionList()) actions->SelectItem(row, false, false);
}

void CMacroControlUI::SelectRowInPlace(int row) {
    if (ui::CListUI* actions = ActionList()) actions->SelectItemInPlace(row);
}

Json::Value CMacroControlUI::RowEvent(int row) {
    ui::CListUI* actions = ActionList();
    ui::CControlUI* control = actions != nullptr ? actions->GetItemAt(row) : nullptr;
    if (control == nullptr) return {};
    std::optional<Json::Value> event = MacroEventRow::StoredEvent(*control);
    if (!event || !event->isObject()) return {};
    if (ui::CEditUI* edit = MacroEventRow::DelayEdit(*control))
        (*event)["Delay"] = MacroLibrary::DelayText(edit->GetText());
    return *event;
}

void CMacroControlUI::SetEditingEnabled(bool enabled) {
    // While recording, a click must not move the selection the recording inserts at.
    for (const char* name : {"macro_name_tab", kActionList}) {
        ui::CControlUI* control = Find(name);
        auto* container =
            control != nullptr ? static_cast<ui::CContainerUI*>(control->GetInterface("Container"))
                               : nullptr;
        if (container == nullptr) continue;
        container->SetMouseEnabled(enabled);
        container->SetMouseChildEnabled(enabled);
    }
    for (const char* name : {"macro_tab_macroaction_edit", "macro_tab_macrodelay_edit"})
        if (ui::CControlUI* control = Find(name)) control->SetEnabled(enabled);
    if (ui::CControlUI* start = Find("macro_btn_starredio")) start->SetVisible(enabled);
    if (ui::CControlUI* stop = Find("macro_btn_stopredio")) stop->SetVisible(!enabled);
}

void CMacroControlUI::MoveRow(int from, int to) {
    ui::CListUI* actions = ActionList();
    ui::CControlUI* row = actions->GetItemAt(from);
    // The row is built again from what it stores: a delay typed and not yet saved goes.
    const std::string stored = row->GetUserData();
    const std::optional<Json::Value> event = MacroEventRow::StoredEvent(*row);
    const bool readable = event && event->isObject();
    actions->RemoveAt(from);
    ui::CListContainerElementUI* moved =
        MacroEventRow::Build(readable ? *event : Json::Value(Json::objectValue), m_pManager);
    // What does not read stays as it was, to be left out by the save as before.
    if (!readable) moved->SetUserData(stored);
    actions->AddAt(moved, to);
    actions->SelectItem(to, false, false);
}

void CMacroControlUI::MoveRowUp() {
    const int s = SelectedRow();
    if (s <= 0) return;
    MoveRow(s, s - 1);
}

void CMacroControlUI::MoveRowDown() {
    const int s = SelectedRow();
    if (s < 0 || s >= RowCount() - 1) return;
    MoveRow(s, s + 1);
}

void CMacroControlUI::MoveRowToTop() {
    const int s = SelectedRow();
    if (s <= 0) return;
    MoveRow(s, 0);
}

void CMacroControlUI::MoveRowToBottom() {
    const int s = SelectedRow();
    if (s < 0 || s >= RowCount() - 1) return;
    MoveRow(s, RowCount() - 1);
}

void CMacroControlUI::DeleteRow() {
    const int s = SelectedRow();
    if (s >= 0) ActionList()->RemoveAt(s);
}

void CMacroControlUI::DeleteAllRows() {
    if (ui::CListUI* actions = ActionList()) actions->RemoveAll();
}

void CMacroControlUI::InsertMouseEvent(int message, int variant) {
    ui::CListUI* actions = ActionList();
    if (actions == nullptr || SelectedGuid().empty()) return;
    uint8_t typeByte = 0;
    int button = 0;
    switch (message) {
        case kLeftDown: case kLeftUp: button = 1; break;
        case kRightDown: case kRightUp: button = 2; break;
        case kMiddleDown: case kMiddleUp: button = 4; break;
        case kExtraDown: case kExtraUp: button = variant == kBack ? 8 : 16; break;
        case kMouseMove: break;
        default: return;
    }
    if (message == kMouseMove) {
        static constexpr const char* kEdits[] = {"mouse_x_left_edit", "mouse_x_right_edit",
                                                 "mouse_y_up_edit", "mouse_y_down_edit"};
        static constexpr uint8_t kTypes[] = {0x84, 0x04, 0x85, 0x05};
        if (variant < kMoveLeft || variant > kMoveDown) return;
        typeByte = kTypes[variant];
        button = MoveDistance(Find(kEdits[variant]));
    } else {
        const bool down = message == kLeftDown || message == kRightDown ||
                          message == kMiddleDown || message == kExtraDown;
        typeByte = down ? 0x81 : 0x01;
    }

    const int count = actions->GetCount();
    const int s = std::max(actions->GetCurSel(), 0);
    const Json::Value event = MacroEventRow::MouseEvent(typeByte, button, fixedDelay_);
    actions->SelectItem(-1, false, false);
    actions->AddAt(MacroEventRow::Build(event, fixedDelay_, m_pManager), count > 0 ? s + 1 : 0);
    // Into an empty list there is no row 1 yet: nothing is selected then.
    actions->SelectItem(s + 1, false, false);
}

void CMacroControlUI::ScrollToSelection() {
    if (m_pManager != nullptr) m_pManager->KillTimer(this, kTimerScroll);
    ui::CListUI* actions = ActionList();
    if (actions != nullptr && actions->GetCurSel() >= 0) actions->EnsureVisible(actions->GetCurSel());
}

void CMacroControlUI::ScrollToSelectionLater(unsigned delayMs) {
    if (m_pManager != nullptr) m_pManager->SetTimer(this, kTimerScroll, delayMs);
}

// ---- what the recorder works with

ui::CEditUI* CMacroControlUI::FixedDelayEdit() {
    ui::CControlUI* control = Find("macro_fixed_time_edit");
    return control != nullptr ? static_cast<ui::CEditUI*>(control->GetInterface("Edit")) : nullptr;
}

bool CMacroControlUI::FixedDelayChosen() {
    ui::CControlUI* control = Find("macro_check_time");
    auto* option = control != nullptr ? static_cast<ui::COptionUI*>(control->GetInterface("Option"))
                                      : nullptr;
    return option != nullptr && option->IsSelected();
}

ui::CControlUI* CMacroControlUI::StopButton() {
    return Find("macro_btn_stopredio");
}

void CMacroControlUI::InsertRow(int at, const Json::Value& event) {
    if (ui::CListUI* actions = ActionList())
        actions->AddAt(MacroEventRow::Build(event, m_pManager), at);
}

void CMacroControlUI::SetRowDelay(int row, uint16_t delay) {
    ui::CListUI* actions = ActionList();
    ui::CControlUI* control = actions != nullptr ? actions->GetItemAt(row) : nullptr;
    if (control == nullptr) return;
    std::optional<Json::Value> event = MacroEventRow::StoredEvent(*control);
    if (event && event->isObject()) {
        (*event)["Delay"] = std::to_string(delay);
        MacroEventRow::Store(*control, *event);
    }
    if (ui::CEditUI* edit = MacroEventRow::DelayEdit(*control)) edit->SetText(std::to_string(delay));
}

void CMacroControlUI::ReplaceRow(int row, const Json::Value& event) {
    ui::CListUI* actions = ActionList();
    ui::CControlUI* control = actions != nullptr ? actions->GetItemAt(row) : nullptr;
    if (control == nullptr) return;
    ui::CEditUI* edit = MacroEventRow::DelayEdit(*control);
    const uint16_t delay = MacroLibrary::ShownDelay(edit != nullptr ? edit->GetText() : "0");
    const bool selected = actions->GetCurSel() == row;
    actions->RemoveAt(row);
    actions->AddAt(MacroEventRow::Build(event, delay, m_pManager), row);
    if (selected) actions->SelectItem(row, false, false);
}

}  // namespace panels
