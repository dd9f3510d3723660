// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page built from its shipped layout over a library folder of its own: what the
// library operations leave in "macro.config" and the macro files, and what the event rows
// show, insert, move and save.
#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"
#include "panels/macro/CMacroControlUI.h"
#include "panels/macro/MacroEventRow.h"
#include "ShippedPanel.h"
#include "ui/CDialogBuilder.h"
#include "ui/CEditUI.h"
#include "ui/CListUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/controls/CComboEditContainerElementUI.h"
#include "ui/controls/CRedioMacroButtonUI.h"

namespace fs = std::filesystem;
using panels::CMacroControlUI;
using panels::MacroEventRow;
using Failure = CMacroControlUI::Failure;

namespace {

class MacroPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-macropanel-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        panel_ = panels::test::BuildShippedPanel<CMacroControlUI>(manager_, "MacroControl");
        ASSERT_NE(panel_, nullptr);
        manager_.SetClientSize({1000, 600});
        panel_->SetLibraryFolder(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    ui::CControlUI* C(const char* name) { return manager_.FindControl(name); }
    ui::CListUI* Names() { return static_cast<ui::CListUI*>(C("macro_name_list")->GetInterface("List")); }
    void Type(const char* edit, const std::string& text) { C(edit)->SetText(text); }
    Json::Value ListFile() { return files_.ReadJsonFile(folder_ / "macro.config"); }
    Json::Value MacroFile(const std::string& guid) {
        return files_.ReadJsonFile(folder_ / (guid + ".mac"));
    }
    std::string GuidAt(int index) { return Names()->GetItemAt(index)->GetUserData(); }
    void SelectMacro(int index) {
        Names()->SelectItem(index, false, false);
        panel_->SelectMacro();
    }
    // The library as the list file gives it, written directly.
    void WriteList(const std::vector<std::pair<std::string, std::string>>& entries) {
        Json::Value root(Json::objectValue);
        Json::Value& list = root["MacroInfo"] = Json::Value(Json::arrayValue);
        for (const auto& [name, guid] : entries) {
            Json::Value entry;
            entry["MacroName"] = name;
            entry["Guid"] = guid;
            list.append(entry);
        }
        files_.WriteJsonFile(folder_ / "macro.config", root);
        panel_->LoadMacroList();
    }
    void WriteMacro(const std::string& guid, const Json::Value& events) {
        Json::Value root(Json::objectValue);
        root["Events"] = events;
        files_.WriteJsonFile(folder_ / (guid + ".mac"), root);
    }
    static Json::Value Event(int type, int button, const char* action, const char* delay) {
        Json::Value event;
        event["Type"] = type;
        event["Button"] = button;
        event["Action"] = action;
        event["Delay"] = delay;
        return event;
    }
    // Type and button of each row, as "type:button:action".
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int r = 0; r < panel_->RowCount(); ++r) {
            const Json::Value event = panel_->RowEvent(r);
            rows.push_back(std::to_string(event["Type"].asInt()) + ":" +
                           std::to_string(event["Button"].asInt()) + ":" +
                           event["Action"].asString());
        }
        return rows;
    }
    ui::CContainerUI* Row(int r) {
        auto* list = static_cast<ui::CListUI*>(C("macro_action_list")->GetInterface("List"));
        return static_cast<ui::CContainerUI*>(list->GetItemAt(r)->GetInterface("Container"));
    }

    fs::path folder_;
    JsonDataFile files_;
    ui::CPaintManagerUI manager_;
    CMacroControlUI* panel_ = nullptr;
};


TEST_F(MacroPanelTest, AddTakesTheFirstFreeNumberAndStopsAtFifty) {
    WriteList({{"macro_1", "a"}, {"MACRO_3", "b"}});
    EXPECT_FALSE(C("macro_btn_name_sub")->IsEnabled());
    EXPECT_EQ(panel_->AddMacro(), "macro_2");
    EXPECT_EQ(panel_->GetSelectedMacro(), 2);
    EXPECT_EQ(panel_->GetNameEditText(), "macro_2");
    EXPECT_TRUE(C("macro_btn_name_sub")->IsEnabled());
    EXPECT_TRUE(C("macro_action_layout")->IsEnabled());
    EXPECT_EQ(panel_->AddMacro(), "macro_4");
    const Json::Value list = ListFile()["MacroInfo"];
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[2]["MacroName"].asString(), "macro_2");
    EXPECT_EQ(list[2]["Guid"].asString(), GuidAt(2));
    EXPECT_NE(GuidAt(2), GuidAt(3));
    // No macro file until the first save.
    EXPECT_FALSE(fs::exists(folder_ / (GuidAt(2) + ".mac")));

    while (panel_->MacroCount() < 50) ASSERT_FALSE(panel_->AddMacro().empty());
    const std::string before = files_.readjsonFile(folder_ / "macro.config");
    EXPECT_EQ(panel_->AddMacro(), "");
    EXPECT_EQ(panel_->LastFailure(), Failure::Full);
    EXPECT_EQ(panel_->ImportMacro(folder_ / "whatever.mac"), "");
    EXPECT_EQ(panel_->LastFailure(), Failure::Full);
    EXPECT_EQ(files_.readjsonFile(folder_ / "macro.config"), before);
    EXPECT_EQ(panel_->GetMacroNames(), (std::vector<std::string>{"macro_1", "MACRO_3"}));
}

TEST_F(MacroPanelTest, DeletingKeepsTheOrderRemovesTheFileAndShowsTheFirstMacro) {
    WriteList({{"one", "g1"}, {"two", "g2"}, {"three", "g3"}, {"four", "g4"}, {"five", "g5"}});
    for (const char* guid : {"g1", "g2", "g3", "g4", "g5"})
        WriteMacro(guid, Json::Value(Json::arrayValue));
    SelectMacro(2);
    EXPECT_EQ(panel_->DeleteMacro(), 2);
    const Json::Value list = ListFile()["MacroInfo"];
    ASSERT_EQ(list.size(), 4u);
    std::vector<std::string> left;
    for (const Json::Value& entry : list) left.push_back(entry["Guid"].asString());
    EXPECT_EQ(left, (std::vector<std::string>{"g1", "g2", "g4", "g5"}));
    EXPECT_FALSE(fs::exists(folder_ / "g3.mac"));
    EXPECT_TRUE(fs::exists(folder_ / "g4.mac"));
    EXPECT_EQ(panel_->GetSelectedMacro(), 0);
    EXPECT_EQ(panel_->GetNameEditText(), "one");

    while (panel_->MacroCount() > 0) ASSERT_GE(panel_->DeleteMacro(), 0);
    EXPECT_EQ(panel_->GetNameEditText(), "");
    EXPECT_FALSE(C("macro_btn_export")->IsEnabled());
    EXPECT_FALSE(C("mouse_move_layout")->IsEnabled());
    EXPECT_EQ(panel_->DeleteMacro(), -1);
}

TEST_F(MacroPanelTest, RenameRefusesTakenAndBlankNamesAndKeepsTheTypedName) {
    WriteList({{"Fire", "g1"}, {"Jump", "g2"}});
    int index = 7;
    EXPECT_EQ(panel_->RenameMacro(index), "");
    EXPECT_EQ(index, -1);  // nothing selected
    SelectMacro(1);
    Type("macro_edit_macroname", "JUMP");
    EXPECT_EQ(panel_->RenameMacro(index), "");
    EXPECT_EQ(index, 1);  // its own name, in other letters, is taken too
    Type("macro_edit_macroname", "fire");
    EXPECT_EQ(panel_->RenameMacro(index), "");
    Type("macro_edit_macroname", "   ");
    EXPECT_EQ(panel_->RenameMacro(index), "IsEmpty");
    EXPECT_EQ(index, -1);
    EXPECT_EQ(ListFile()["MacroInfo"][1]["MacroName"].asString(), "Jump");

    Type("macro_edit_macroname", " Double jump ");
    EXPECT_EQ(panel_->RenameMacro(index), " Double jump ");
    EXPECT_EQ(index, 1);
    EXPECT_EQ(panel_->MacroNameAt(1), " Double jump ");
    EXPECT_EQ(ListFile()["MacroInfo"][1]["MacroName"].asString(), " Double jump ");

    // Pasted controls that would reorder or hide the shown name are left out.
    Type("macro_edit_macroname", "\u202Ereload\u0085\x1b");
    EXPECT_EQ(panel_->RenameMacro(index), "reload");
    Type("macro_edit_macroname", "\u2066\u009B");
    EXPECT_EQ(panel_->RenameMacro(index), "IsEmpty");
}

TEST_F(MacroPanelTest, SavingTakesTheDelayEditsAndLoadingCapsTheShownDelay) {
    WriteList({{"m", "g1"}});
    Json::Value events(Json::arrayValue);
    events.append(Event(10, 0x04, "down", "70000"));
    events.append(Event(9, 0x02, "up", "12"));
    events.append(Event(4, 30, "down", "0"));
    WriteMacro("g1", events);
    SelectMacro(0);
    ASSERT_EQ(panel_->RowCount(), 3);
    EXPECT_EQ(panel_->RowEvent(0)["Delay"].asString(), "65535");
    EXPECT_EQ(MacroEventRow::DelayEdit(*Row(0))->GetText(), "65535");
    EXPECT_EQ(Row(0)->GetItemAt(1)->GetText(), "keyboard_key_A");
    EXPECT_EQ(Row(1)->GetItemAt(1)->GetText(), "keyboard_key_LShift");

    MacroEventRow::DelayEdit(*Row(0))->SetText("007");
    MacroEventRow::DelayEdit(*Row(1))->SetText("");
    ASSERT_TRUE(panel_->SaveMacro());
    EXPECT_EQ(MacroEventRow::DelayEdit(*Row(1))->GetText(), "0");
    const Json::Value saved = MacroFile("g1");
    EXPECT_EQ(saved["Version"], 64);
    EXPECT_EQ(saved["Guid"], "g1");
    EXPECT_EQ(saved["MacroName"], "m");
    ASSERT_EQ(saved["Events"].size(), 3u);
    EXPECT_EQ(saved["Events"][0]["Delay"], "7");
    EXPECT_TRUE(saved["Events"][0]["Delay"].isString());
    EXPECT_EQ(saved["Events"][1]["Delay"], "0");
    EXPECT_EQ(saved["Events"][2]["Button"], 30);
    // Written in the styled layout, as every data file.
    EXPECT_EQ(files_.readjsonFile(folder_ / "g1.mac"), JsonDataFile::StyledText(saved));

    // A row whose event does not read is left out, not written as a null.
    Row(1)->SetUserData("{ not json");
    ASSERT_TRUE(panel_->SaveMacro());
    const Json::Value again = MacroFile("g1");
    ASSERT_EQ(again["Events"].size(), 2u);
    EXPECT_EQ(again["Events"][1]["Type"], 4);
    panel_->DeleteAllRows();
    ASSERT_TRUE(panel_->SaveMacro());
    EXPECT_FALSE(MacroFile("g1").isMember("Events"));
}

TEST_F(MacroPanelTest, IdentifiersThatLeadOutOfTheFolderAreListedButNeverUsed) {
    const fs::path outside = folder_.parent_path() / (folder_.filename().string() + "-bashrc.mac");
    WriteList({{"evil", "../" + outside.stem().string()}, {"abs", "/etc/passwd"}});
    ASSERT_EQ(panel_->MacroCount(), 2);
    SelectMacro(0);
    EXPECT_EQ(panel_->RowCount(), 0);
    panel_->InsertMouseEvent(CMacroControlUI::kLeftDown, 0);
    EXPECT_FALSE(panel_->SaveMacro());
    EXPECT_EQ(panel_->LastFailure(), Failure::NotSaved);
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_EQ(panel_->ExportMacro(folder_ / "out.mac"), MacroLibrary::Transfer::NoSuchMacro);
    EXPECT_EQ(panel_->DeleteMacro(), 0);
    EXPECT_EQ(panel_->MacroCount(), 1);
}

TEST_F(MacroPanelTest, AMacroLongerThanTheEditorShowsIsCopiedAsideBeforeItIsSaved) {
    WriteList({{"long", "g1"}});
    Json::Value events(Json::arrayValue);
    for (std::size_t i = 0; i < MacroLibrary::kMaxLoadedEvents + 3; ++i)
        events.append(Event(10, 4, i % 2 == 0 ? "down" : "up", "1"));
    WriteMacro("g1", events);
    const std::string original = files_.readjsonFile(folder_ / "g1.mac");
    SelectMacro(0);
    ASSERT_EQ(static_cast<std::size_t>(panel_->RowCount()), MacroLibrary::kMaxLoadedEvents);
    panel_->SelectRow(0);
    panel_->DeleteRow();
    ASSERT_TRUE(panel_->SaveMacro());
    ASSERT_TRUE(panel_->SaveMacro());
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder_))
        if (entry.path().filename().string().rfind("g1.mac.unreadable-", 0) == 0)
            copies.push_back(entry.path());
    ASSERT_EQ(copies.size(), 1u);  // once, not at every save
    EXPECT_EQ(files_.readjsonFile(copies[0]), original);
    EXPECT_EQ(MacroFile("g1")["Events"].size(), MacroLibrary::kMaxLoadedEvents - 1);
}

TEST_F(MacroPanelTest, InsertsGoAfterTheSelectedRowWithTheFixedDelay) {
    WriteList({{"m", "g1"}});
    SelectMacro(0);
    // Into an empty list: at 0, and no row 1 to select.
    panel_->InsertMouseEvent(CMacroControlUI::kLeftDown, 0);
    EXPECT_EQ(panel_->SelectedRow(), -1);
    // Nothing selected in a list with rows: at 1, selected.
    panel_->InsertMouseEvent(CMacroControlUI::kRightUp, 0);
    EXPECT_EQ(panel_->SelectedRow(), 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1:1:down", "1:2:up"}));

    panel_->SelectRow(0);
    panel_->InsertMouseEvent(CMacroControlUI::kExtraDown, CMacroControlUI::kForward);
    panel_->InsertMouseEvent(CMacroControlUI::kExtraUp, CMacroControlUI::kBack);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1:1:down", "1:16:down", "1:8:up", "1:2:up"}));
    EXPECT_EQ(panel_->SelectedRow(), 2);
    EXPECT_EQ(panel_->RowEvent(1)["Delay"].asString(), "50");

    // The move-left example; a distance the keyboard cannot hold is held to a byte.
    Type("mouse_x_left_edit", "30");
    panel_->InsertMouseEvent(CMacroControlUI::kMouseMove, CMacroControlUI::kMoveLeft);
    const Json::Value move = panel_->RowEvent(3);
    EXPECT_EQ(move["Type"], 4);
    EXPECT_EQ(move["Action"], "down");
    EXPECT_EQ(move["Button"], 30);
    EXPECT_EQ(Row(3)->GetItemAt(0)->GetText(), "30");
    EXPECT_EQ(Row(3)->GetItemAt(1)->GetText(), "mouse_move_to_left_text");
    Type("mouse_y_down_edit", "4000");
    panel_->InsertMouseEvent(CMacroControlUI::kMouseMove, CMacroControlUI::kMoveDown);
    EXPECT_EQ(panel_->RowEvent(4)["Button"], 255);
    EXPECT_EQ(panel_->RowEvent(4)["Type"], 5);
    EXPECT_EQ(panel_->RowEvent(4)["Action"], "up");

    // Without a macro there is nothing to insert into.
    panel_->DeleteMacro();
    panel_->InsertMouseEvent(CMacroControlUI::kLeftDown, 0);
    EXPECT_EQ(panel_->RowCount(), 0);
}

TEST_F(MacroPanelTest, RowsMoveWithinTheListAndRebuildFromWhatTheyStore) {
    WriteList({{"m", "g1"}});
    Json::Value events(Json::arrayValue);
    for (int usage : {4, 5, 6, 7}) events.append(Event(10, usage, "down", "10"));
    WriteMacro("g1", events);
    SelectMacro(0);
    const auto usages = [this] {
        std::vector<int> out;
        for (int r = 0; r < panel_->RowCount(); ++r) out.push_back(panel_->RowEvent(r)["Button"].asInt());
        return out;
    };
    panel_->MoveRowUp();  // nothing selected
    panel_->SelectRow(0);
    panel_->MoveRowUp();
    panel_->MoveRowToTop();
    EXPECT_EQ(usages(), (std::vector<int>{4, 5, 6, 7}));
    panel_->SelectRow(3);
    panel_->MoveRowDown();
    panel_->MoveRowToBottom();
    EXPECT_EQ(usages(), (std::vector<int>{4, 5, 6, 7}));

    panel_->SelectRow(1);
    MacroEventRow::DelayEdit(*Row(1))->SetText("999");  // typed, not saved
    panel_->MoveRowDown();
    EXPECT_EQ(usages(), (std::vector<int>{4, 6, 5, 7}));
    EXPECT_EQ(panel_->SelectedRow(), 2);
    EXPECT_EQ(MacroEventRow::DelayEdit(*Row(2))->GetText(), "10");
    panel_->MoveRowToTop();
    EXPECT_EQ(usages(), (std::vector<int>{5, 4, 6, 7}));
    panel_->MoveRowToBottom();
    EXPECT_EQ(usages(), (std::vector<int>{4, 6, 7, 5}));
    EXPECT_EQ(panel_->SelectedRow(), 3);
    panel_->MoveRowUp();
    EXPECT_EQ(usages(), (std::vector<int>{4, 6, 5, 7}));

    panel_->DeleteRow();
    EXPECT_EQ(usages(), (std::vector<int>{4, 6, 7}));
    EXPECT_EQ(panel_->SelectedRow(), -1);
    panel_->DeleteRow();
    EXPECT_EQ(panel_->RowCount(), 3);
}

TEST_F(MacroPanelTest, ExportThenImportGivesACopyUnderANewIdentifierAndName) {
    WriteList({{"macro_1", "g1"}});
    SelectMacro(0);
    EXPECT_EQ(panel_->ExportMacro(folder_ / "never.mac"), MacroLibrary::Transfer::NotSaved);
    panel_->InsertMouseEvent(CMacroControlUI::kMiddleDown, 0);
    ASSERT_TRUE(panel_->SaveMacro());
    const fs::path exported = folder_ / "exported.mac";
    ASSERT_EQ(panel_->ExportMacro(exported), MacroLibrary::Transfer::Done);
    EXPECT_EQ(files_.readjsonFile(exported), files_.readjsonFile(folder_ / "g1.mac"));

    EXPECT_EQ(panel_->ImportMacro(exported), "macro_2");
    EXPECT_EQ(panel_->GetSelectedMacro(), 1);
    EXPECT_NE(GuidAt(1), "g1");
    EXPECT_EQ(files_.readjsonFile(folder_ / (GuidAt(1) + ".mac")), files_.readjsonFile(exported));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1:4:down"}));

    // What is not a macro is refused before anything is copied in.
    const fs::path text = folder_ / "notes.mac";
    std::ofstream(text) << "{\"Events\": [1, 2, 3]}";
    EXPECT_EQ(panel_->ImportMacro(text), "");
    EXPECT_EQ(panel_->LastFailure(), Failure::NotAMacro);
    EXPECT_EQ(panel_->ImportMacro(folder_ / "missing.mac"), "");
    EXPECT_EQ(panel_->LastFailure(), Failure::Unreadable);
    EXPECT_EQ(panel_->MacroCount(), 2);
    EXPECT_EQ(ListFile()["MacroInfo"].size(), 2u);
}

TEST_F(MacroPanelTest, RecordingLocksTheListsAndSwapsStartForStop) {
    panel_->SetEditingEnabled(false);
    EXPECT_FALSE(C("macro_btn_starredio")->IsVisible());
    EXPECT_TRUE(C("macro_btn_stopredio")->IsVisible());
    EXPECT_FALSE(C("macro_action_list")->IsMouseEnabled());
    EXPECT_FALSE(C("macro_tab_macrodelay_edit")->IsEnabled());
    panel_->SetEditingEnabled(true);
    EXPECT_TRUE(C("macro_btn_starredio")->IsVisible());
    EXPECT_FALSE(C("macro_btn_stopredio")->IsVisible());
    EXPECT_TRUE(C("macro_name_tab")->IsMouseEnabled());
}

TEST(MacroSkinControls, TheRowElementBuildsItsPartsAndTheRecordButtonKeepsItsImage) {
    panels::test::UseShippedSkin();
    ui::CPaintManagerUI manager;
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(
        "<VerticalLayout><List name=\"l\"><ComboEditContainerElement name=\"row\" "
        "normalimage=\"x.png\"/></List><RedioMacroButton name=\"rec\" redioimage=\"r.png\"/>"
        "</VerticalLayout>",
        nullptr, &manager);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    manager.AttachDialog(root);
    auto* row = static_cast<ui::CComboEditContainerElementUI*>(
        manager.FindControl("row")->GetInterface("ComboEditContainerElement"));
    ASSERT_NE(row, nullptr);
    EXPECT_NE(row->FirstText(), nullptr);
    EXPECT_NE(row->SecondText(), nullptr);
    ASSERT_NE(row->DelayEdit(), nullptr);
    EXPECT_EQ(row->DelayEdit()->GetMaxValue(), 65535);
    auto* button = static_cast<ui::CRedioMacroButtonUI*>(
        manager.FindControl("rec")->GetInterface("RedioMacroButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetRedioImage(), "r.png");
}

}  // namespace
