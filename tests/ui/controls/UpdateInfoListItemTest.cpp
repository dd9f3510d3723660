// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/COptionUI.h"
#include "ui/controls/CUpdateInfoListItemUI.h"

namespace tx512::test {
namespace {

using ui::CUpdateInfoListItemUI;

constexpr const char* kEntry = R"(<VerticalLayout>
  <List name="device_update_list_info" height="200">
    <CUpdateInfoListItemUI name="entry" height="50">
      <Option name="check_name_select" width="120"/>
      <Label name="OldRev" width="50"/>
      <Label name="updateRev" width="50"/>
      <Label name="update_status_text" width="80"/>
      <Control name="update_status_ing" width="20"/>
      <Label name="update_progress_value" width="40"/>
      <Control name="update_status_ok" width="20"/>
    </CUpdateInfoListItemUI>
  </List>
</VerticalLayout>)";

class UpdateInfoListItem : public ::testing::Test {
protected:
    void SetUp() override {
        w.Load(kEntry);
        entry = w.Find<CUpdateInfoListItemUI>("entry", "UpdateInfoListItemUI");
        ASSERT_NE(entry, nullptr);
        tick = w.Find<ui::COptionUI>("check_name_select", "Option");
        ASSERT_NE(tick, nullptr);
    }
    ui::CControlUI* Sub(const char* name) { return w.manager.FindControl(name); }

    ControlsTestWindow w;
    CUpdateInfoListItemUI* entry = nullptr;
    ui::COptionUI* tick = nullptr;
};

TEST_F(UpdateInfoListItem, StatusDecidesWhatTheEntryShows) {
    EXPECT_EQ(entry->GetStatus(), -1);
    struct Row {
        int status;
        const char* text;
        bool busy, ok, tickable, quiet;
    };
    const Row rows[] = {
        {0, "LessUpdateText", false, false, false, true},
        {1, "NeedUpdateText", false, false, true, false},
        {2, "NeedUpdateText", false, false, true, false},
        {3, "DownloadWaitText", false, false, false, false},
        {4, "DownloadIngText", true, false, false, false},
        {5, "DownloadOkText", false, true, false, false},
        {6, "UpdateIngText", true, false, false, false},
        {7, "UpdateOkText", false, false, false, true},
        {8, "UpdateFailText", false, false, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status);
        ASSERT_TRUE(entry->SetStatus(row.status));
        EXPECT_EQ(entry->GetStatus(), row.status);
        EXPECT_EQ(Sub("update_status_text")->GetTextKey(), row.text);
        EXPECT_EQ(Sub("update_status_ing")->IsOwnVisible(), row.busy);
        EXPECT_EQ(Sub("update_progress_value")->IsOwnVisible(), row.busy);
        EXPECT_EQ(Sub("update_status_ok")->IsOwnVisible(), row.ok);
        EXPECT_EQ(entry->IsTickEnabled(), row.tickable);
        EXPECT_EQ(tick->GetTextColor(), row.quiet ? 0xFFFFFFFFu : 0xFF0099FFu);
        EXPECT_EQ(tick->GetSelectedTextColor(), row.quiet ? 0xFFFFFFFFu : 0xFF0099FFu);
        EXPECT_EQ(tick->GetDisabledTextColor(), row.quiet ? 0xFF666666u : 0xFF0078C8u);
    }
}

TEST_F(UpdateInfoListItem, SameStatusAgainChangesNothingAndUnknownIsRefused) {
    entry->SetStatus(1);
    tick->SetEnabled(false);  // as the page does for an entry it leaves unticked
    EXPECT_TRUE(entry->SetStatus(1));
    EXPECT_FALSE(entry->IsTickEnabled());

    EXPECT_FALSE(entry->SetStatus(9));
    EXPECT_FALSE(entry->SetStatus(-1));
    EXPECT_EQ(entry->GetStatus(), 1);
    EXPECT_STREQ(CUpdateInfoListItemUI::StatusTextKey(9), "");
}

TEST_F(UpdateInfoListItem, TextsVersionsProgressAndTick) {
    entry->SetEntryName("AP");
    entry->SetLocalVersion("V103");
    EXPECT_EQ(entry->GetEntryName(), "AP");
    EXPECT_EQ(Sub("OldRev")->GetText(), "V103");

    entry->SetServerVersion("");
    EXPECT_FALSE(Sub("updateRev")->IsOwnVisible());
    entry->SetServerVersion("V106");
    EXPECT_TRUE(Sub("updateRev")->IsOwnVisible());
    EXPECT_EQ(Sub("updateRev")->GetText(), "V106");

    entry->SetProgress(42);
    EXPECT_EQ(Sub("update_progress_value")->GetText(), "42%");

    entry->SetStatus(1);
    entry->SetTicked(true);
    EXPECT_TRUE(entry->IsTicked());
    const Notice* changed = w.Last("selectchanged");
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->sender, tick);
}

TEST(UpdateInfoListItemAlone, EntryWithoutItsControlsIsHarmless) {
    CUpdateInfoListItemUI entry;
    EXPECT_TRUE(entry.SetStatus(4));
    entry.SetEntryName("x");
    entry.SetServerVersion("V1");
    entry.SetProgress(5);
    EXPECT_EQ(entry.GetEntryName(), "");
    EXPECT_FALSE(entry.IsTicked());
    EXPECT_FALSE(entry.IsTickEnabled());
}

}  // namespace
}  // namespace tx512::test
