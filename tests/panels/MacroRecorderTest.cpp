// SPDX-License-Identifier: GPL-3.0-or-later
// Recording into the macro editor with a clock of the test's own: the rows and delays the
// hook's keys and buttons make in every variant, the repeat filters, the limits.
#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/JsonDataFile.h"
#include "data/macro/InputTables.h"
#include "panels/macro/CMacroControlUI.h"
#include "ShippedPanel.h"
#include "ui/CEditUI.h"
#include "ui/CListUI.h"
#include "ui/COptionUI.h"
#include "ui/HookRecords.h"

namespace fs = std::filesystem;
using panels::CMacroControlUI;
using panels::MacroRecorder;

namespace {

ui::KeyHookRecord Key(const std::string& name) {
    for (const input::KeyRow& row : input::KeyRows())
        if (name == row.name) return {row.virtualKey, row.scanCode, row.extended ? 1u : 0u};
    ADD_FAILURE() << "no key " << name;
    return {};
}

class MacroRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-recorder-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        panel_ = panels::test::BuildShippedPanel<CMacroControlUI>(manager_, "MacroControl");
        ASSERT_NE(panel_, nullptr);
        manager_.SetClientSize({1000, 600});
        panel_->SetLibraryFolder(folder_);
        panel_->SetRecorderClock([this] { return now_; });
        ASSERT_FALSE(panel_->AddMacro().empty());
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Press(const char* key, int variant = MacroRecorder::kAppend) {
        panel_->RecordKey(variant, ui::kKeyDownMessage, Key(key));
    }
    void Release(const char* key, int variant = MacroRecorder::kAppend) {
        panel_->RecordKey(variant, ui::kKeyUpMessage, Key(key));
    }
    // "type:button:action:delay" of each row.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int r = 0; r < panel_->RowCount(); ++r) {
            const Json::Value e = panel_->RowEvent(r);
            rows.push_back(std::to_string(e["Type"].asInt()) + ":" + std::to_string(e["Button"].asInt()) +
                           ":" + e["Action"].asString() + ":" + e["Delay"].asString());
        }
        return rows;
    }

    fs::path folder_;
    uint32_t now_ = 1000;
    ui::CPaintManagerUI manager_;
    CMacroControlUI* panel_ = nullptr;
};


TEST_F(MacroRecorderTest, AHeldKeyIsOnePressAndTheDelayIsTheTimeToTheNextEvent) {
    panel_->StartRecording(MacroRecorder::kRecordedDelay);
    EXPECT_FALSE(manager_.FindControl("macro_btn_starredio")->IsVisible());
    now_ += 300;  // the wait before the first event is not kept
    Press("A");
    now_ += 500;
    Press("A");  // auto-repeat
    now_ += 500;
    Release("A");
    now_ += 70000;
    Press("RCtrl");
    Release("RCtrl");
    Press("Num Enter");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"10:4:down:1000", "10:4:up:65535", "9:16:down:0",
                                                "9:16:up:0", "10:88:down:0"}));
    EXPECT_EQ(panel_->SelectedRow(), 4);
    panel_->StopRecording();
    EXPECT_TRUE(manager_.FindControl("macro_btn_starredio")->IsVisible());
}

TEST_F(MacroRecorderTest, AFixedDelayIsHeldToItsRangeAndNoDelayGivesZeros) {
    static_cast<ui::CEditUI*>(manager_.FindControl("macro_fixed_time_edit"))->SetText("70000");
    panel_->StartRecording(MacroRecorder::kFixedDelay);
    EXPECT_EQ(manager_.FindControl("macro_fixed_time_edit")->GetText(), "65535");
    Press("B");
    Release("B");
    Press("C");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"10:5:down:65535", "10:5:up:65535",
                                                "10:6:down:65535"}));
    panel_->StopRecording();
    panel_->DeleteAllRows();
    panel_->StartRecording(MacroRecorder::kNoDelay);
    now_ += 900;
    Press("D");
    now_ += 900;
    Release("D");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"10:7:down:0", "10:7:up:0"}));
}

TEST_F(MacroRecorderTest, BeforeAfterAndReplaceWorkAroundTheSelectedRow) {
    panel_->StartRecording(MacroRecorder::kNoDelay);
    Press("A");
    Release("A");
    panel_->SelectRow(1);
    Press("X", MacroRecorder::kBefore);
    Release("X", MacroRecorder::kBefore);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"10:4:down:0", "10:27:down:0", "10:27:up:0",
                                                "10:4:up:0"}));
    EXPECT_EQ(panel_->SelectedRow(), 3);  // the row the recording goes in front of
    panel_->SelectRow(0);
    Press("Y", MacroRecorder::kAfter);
    EXPECT_EQ(panel_->SelectedRow(), 1);
    Press("LShift", MacroRecorder::kReplace);
    EXPECT_EQ(Rows()[1], "9:2:down:0");
    EXPECT_EQ(panel_->RowCount(), 5);
    // Without a selected row, the variants that need one drop the event.
    panel_->SelectRow(-1);
    Press("Z", MacroRecorder::kBefore);
    Press("Z", MacroRecorder::kReplace);
    EXPECT_EQ(panel_->RowCount(), 5);
    // A key the table does not have is dropped.
    panel_->RecordKey(MacroRecorder::kAppend, ui::kKeyDownMessage, ui::KeyHookRecord{0xAD, 0x20, 1});
    EXPECT_EQ(panel_->RowCount(), 5);
}

TEST_F(MacroRecorderTest, ButtonsRecordButNotTheClickThatStops) {
    panel_->StartRecording(MacroRecorder::kNoDelay);
    manager_.EnsureLayout();
    const ui::Rect stop = manager_.FindControl("macro_btn_stopredio")->GetPos();
    const ui::MouseHookRecord onStop{(stop.left + stop.right) / 2, (stop.top + stop.bottom) / 2, 0};
    const ui::MouseHookRecord elsewhere{stop.left - 50, stop.top - 50, 0};
    panel_->RecordMouse(MacroRecorder::kAppend, 513, onStop);
    panel_->RecordMouse(MacroRecorder::kAppend, 514, onStop);
    EXPECT_EQ(panel_->RowCount(), 0);
    panel_->RecordMouse(MacroRecorder::kAppend, 516, onStop);  // a right click is recorded
    const ui::MouseHookRecord forward{elsewhere.x, elsewhere.y, 2u << 16};
    panel_->RecordMouse(MacroRecorder::kAppend, 523, forward);
    panel_->RecordMouse(MacroRecorder::kAppend, 523, forward);  // no release between
    const ui::MouseHookRecord back{elsewhere.x, elsewhere.y, 1u << 16};
    panel_->RecordMouse(MacroRecorder::kAppend, 524, back);
    panel_->RecordMouse(MacroRecorder::kAppend, 513, elsewhere);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1:2:down:0", "1:16:down:0", "1:8:up:0",
                                                "1:1:down:0"}));
}

TEST_F(MacroRecorderTest, RecordingStopsAtFourThousandRows) {
    panel_->StartRecording(MacroRecorder::kNoDelay);
    for (int i = 0; i < MacroRecorder::kMaxRows / 2 + 10; ++i) {
        Press("Q");
        Release("Q");
    }
    EXPECT_EQ(panel_->RowCount(), MacroRecorder::kMaxRows);
}

}  // namespace
