// SPDX-License-Identifier: GPL-3.0-or-later
// The headset's voice and voice-changer panels built from their shipped layouts: what the
// headset object reads from them and shows on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShippedPanel.h"
#include "panels/headset/CMagicControlUI.h"
#include "panels/headset/CVirtualSetControlUI.h"
#include "panels/headset/CVoice6533ControlUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"

namespace panels::test {
namespace {

TEST(VoicePanel, PresetOptionsBandsAndLevels) {
    ui::CPaintManagerUI manager;
    auto* voice = BuildShippedPanel<CVoice6533ControlUI>(manager, "Voice6533Control");
    ASSERT_NE(voice, nullptr);
    voice->SelectPreset(4);
    EXPECT_EQ(voice->GetPreset(), 4);
    voice->SelectPreset(13);
    EXPECT_EQ(voice->GetPreset(), 13);
    for (int outside : {0, 14, -1}) {
        voice->SelectPreset(outside);
        EXPECT_EQ(voice->GetPreset(), 0) << outside;
    }
    for (int band = 0; band < 10; ++band) voice->SetBand(band, band - 5);
    for (int band = 0; band < 10; ++band) EXPECT_EQ(voice->GetBand(band), band - 5);
    EXPECT_EQ(voice->GetBand(10), -1);  // no such slider
    voice->SetMicLevel(37);
    voice->SetMicEnabled(true);
    voice->SetMonitorEnabled(false);
    EXPECT_EQ(voice->GetMicLevel(), 37);
    EXPECT_TRUE(voice->IsMicEnabled());
    EXPECT_FALSE(voice->IsMonitorEnabled());
    voice->ShowUserPresetLayout(true);
    EXPECT_TRUE(manager.FindControl("custom_eq_option_layout")->IsVisible());
}

TEST(VoicePanel, UserPresetsAreTheUsersTextAndPickingOneEmptiesTheNameField) {
    ui::CPaintManagerUI manager;
    auto* voice = BuildShippedPanel<CVoice6533ControlUI>(manager, "Voice6533Control");
    ASSERT_NE(voice, nullptr);
    const std::vector<std::string> names = {"Mine", "<b>bold</b>", "voice_eq_text"};
    voice->SetUserPresetNames(names);
    EXPECT_EQ(voice->UserPresetNames(), names);  // neither markup nor a language key
    manager.FindControl("custom_eq_name_edit")->SetText("typed");
    EXPECT_EQ(voice->GetPresetNameText(), "typed");
    voice->SelectUserPreset(1);
    EXPECT_EQ(voice->GetSelectedUserPreset(), 1);
    EXPECT_EQ(voice->GetPresetNameText(), "");
    voice->RemoveUserPreset(0);
    voice->RemoveUserPreset(7);
    EXPECT_EQ(voice->UserPresetNames(), (std::vector<std::string>{"<b>bold</b>", "voice_eq_text"}));
    voice->SetUserPresetNames({});
    EXPECT_TRUE(voice->UserPresetNames().empty());
    EXPECT_EQ(voice->GetSelectedUserPreset(), -1);
}

TEST(MagicPanel, TheVoicesShowOnlyWhileTheChangerIsOn) {
    ui::CPaintManagerUI manager;
    auto* magic = BuildShippedPanel<CMagicControlUI>(manager, "MagicControl");
    ASSERT_NE(magic, nullptr);
    ui::CControlUI* voices = manager.FindControl("magic_option_layout");
    ASSERT_NE(voices, nullptr);
    EXPECT_FALSE(voices->IsVisible());
    magic->SetEnabled(true);
    EXPECT_TRUE(magic->IsEnabled());
    EXPECT_TRUE(voices->IsVisible());
    magic->SelectVoice(2);
    EXPECT_EQ(magic->GetVoice(), 2);
    magic->SelectVoice(5);
    EXPECT_EQ(magic->GetVoice(), 0);
    magic->SetEnabled(false);
    EXPECT_FALSE(voices->IsVisible());
}

TEST(SurroundPanel, TheSwitchIsReadAndSetThroughThePanelInterface) {
    ui::CPaintManagerUI manager;
    auto* page =
        BuildShippedPanel<CVirtualSetControlUI>(manager, "VirtualSetControl", "VirtualSet");
    ASSERT_NE(page, nullptr);
    // The device finds the page by its interface, not by the skin's option class.
    auto* panel = static_cast<model::ISurroundPanel*>(
        page->GetInterface(model::ISurroundPanel::kInterfaceName));
    ASSERT_EQ(panel, static_cast<model::ISurroundPanel*>(page));
    auto* option = static_cast<ui::COptionUI*>(
        manager.FindControl(CVirtualSetControlUI::kSwitch)->GetInterface("Option"));
    ASSERT_NE(option, nullptr);
    EXPECT_FALSE(panel->IsSurroundOn());
    panel->SetSurround(true);
    EXPECT_TRUE(option->IsSelected());
    EXPECT_TRUE(panel->IsSurroundOn());
    option->Selected(false, false);
    EXPECT_FALSE(panel->IsSurroundOn());
}

}  // namespace
}  // namespace panels::test
