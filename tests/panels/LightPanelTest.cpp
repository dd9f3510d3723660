// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting page built from its shipped layout: what it shows of a setting, and which
// parts each mode of each device kind offers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/LightSetting.h"
#include "panels/lighting/CLightControlUI.h"
#include "panels/lighting/LightModeLayout.h"
#include "ShippedPanel.h"
#include "ui/CColorPaletteUI.h"
#include "ui/CComboUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CSliderUI.h"

using panels::CLightControlUI;

namespace {

class LightPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel_ = panels::test::BuildShippedPanel<CLightControlUI>(manager_, "LightControl");
        ASSERT_NE(panel_, nullptr);
    }
    ui::CControlUI* C(const char* name) { return manager_.FindControl(name); }
    bool Enabled(const char* name) { return C(name)->IsEnabled(); }
    bool Shown(const char* name) { return C(name)->IsOwnVisible(); }
    void Fill(int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back("mode_" + std::to_string(i));
        panel_->FillModeList(names, std::vector<bool>(count, true));
    }

    ui::CPaintManagerUI manager_;
    CLightControlUI* panel_ = nullptr;
};


TEST_F(LightPanelTest, HiddenModesKeepTheIndicesOfTheModesAfterThem) {
    panel_->SetKindCode(1);
    panel_->FillModeList({"a", "b", "c", "d"}, {true, false, true, true});
    auto* combo = static_cast<ui::CComboUI*>(C("light_combo_modeSelect"));
    ASSERT_EQ(combo->GetCount(), 4);
    EXPECT_FALSE(combo->GetItemAt(1)->IsOwnVisible());
    panel_->SelectMode(2);
    EXPECT_EQ(panel_->GetMode(), 2);
    panel_->SelectMode(1);  // not offered
    EXPECT_EQ(panel_->GetMode(), -1);
    EXPECT_EQ(static_cast<ui::CSliderUI*>(C("deng_light_slider"))->GetMaxValue(), 5);
    EXPECT_EQ(static_cast<ui::CSliderUI*>(C("deng_speed_slider"))->GetMaxValue(), 4);
}

TEST_F(LightPanelTest, ASettingIsShownInEveryControl) {
    panel_->SetKindCode(1);
    Fill(31);
    const LightSetting setting{7, 3, 2, 1, 1, 0x12, 0x34, 0x56, {}, 0, 2, 0};
    const auto w = setting.ToWords();
    panel_->ShowLightSetting(w[0], w[1], w[2], w[3]);
    EXPECT_EQ(panel_->GetMode(), 7);
    EXPECT_EQ(panel_->GetBrightness(), 3);
    EXPECT_EQ(panel_->GetSpeed(), 2);
    EXPECT_EQ(panel_->GetDirection(), 1);
    EXPECT_FALSE(static_cast<ui::COptionUI*>(C("deng_FXR_check"))->IsSelected());
    EXPECT_TRUE(panel_->GetMultiColour());
    EXPECT_EQ(panel_->GetColourText(0), "18");
    EXPECT_EQ(panel_->GetColourText(1), "52");
    EXPECT_EQ(panel_->GetColourText(2), "86");
    EXPECT_EQ(panel_->GetColourButton(), 0xFF123456u);
    EXPECT_EQ(panel_->GetPaletteColour() & 0xFF000000u, 0xFF000000u);
    EXPECT_EQ(panel_->GetZzccMode(), 2);
    EXPECT_EQ(panel_->GetPresetColour(0), 0xFFFF0000u);
    EXPECT_EQ(panel_->GetPresetColour(99), 0u);
}

TEST_F(LightPanelTest, KeyboardModesOfferTheirParts) {
    panel_->SetKindCode(1);
    Fill(31);
    panel_->SelectMode(20);
    EXPECT_TRUE(Shown("lightcustom_layout"));
    EXPECT_FALSE(Enabled("deng_7color_check"));
    EXPECT_FALSE(Enabled("deng_RGB_edit"));
    EXPECT_TRUE(Enabled("colorpallet_layout"));
    EXPECT_FALSE(Shown("deng_speed_layout"));

    // Modes 30 and 22 leave the values' state to the mode before them.
    panel_->SelectMode(1);
    panel_->SelectMode(30);
    panel_->SelectMode(22);
    EXPECT_TRUE(Enabled("deng_RGB_edit"));
    panel_->SelectMode(27);
    panel_->SelectMode(22);
    EXPECT_FALSE(Enabled("deng_RGB_edit"));
    EXPECT_TRUE(Enabled("deng_7color_check"));
    EXPECT_FALSE(Shown("lightcustom_layout"));

    panel_->SelectMode(12);
    EXPECT_TRUE(Enabled("deng_fx_layout"));
    const std::string upward = C("deng_FXL_check")->GetText();
    panel_->SelectMode(1);
    EXPECT_NE(C("deng_FXL_check")->GetText(), upward);
    panel_->SelectMode(12);
    panel_->SelectMode(17);
    EXPECT_TRUE(Shown("light_combo_ZZCCmodeSelectLayout"));
    EXPECT_FALSE(Enabled("deng_fx_layout"));
    panel_->SelectMode(0);
    EXPECT_FALSE(Shown("deng_speed_layout"));
    EXPECT_FALSE(Enabled("deng_speed_layout"));
    EXPECT_FALSE(Enabled("deng_light_layout"));
    EXPECT_FALSE(Shown("light_combo_ZZCCmodeSelectLayout"));
    panel_->SelectMode(1);
    EXPECT_TRUE(Shown("deng_speed_layout"));
    EXPECT_TRUE(Enabled("deng_speed_layout"));
}

TEST_F(LightPanelTest, SameModeIsOfferedOnlyWithSeveralDevices) {
    panel_->SetKindCode(1);
    Fill(31);
    panel_->SelectMode(5);
    EXPECT_FALSE(Shown("deng_same_mode"));
    panel_->SetSameModeAllowed(true);
    EXPECT_TRUE(Shown("deng_same_mode"));
    panel_->SelectMode(7);
    EXPECT_FALSE(Shown("deng_same_mode"));
    panel_->SelectMode(28);
    EXPECT_TRUE(Shown("deng_same_mode"));
    panel_->SetSameModeAllowed(false);
    EXPECT_FALSE(Shown("deng_same_mode"));
}

TEST_F(LightPanelTest, PadAndMouseModesOfferTheirParts) {
    panel_->SetKindCode(3);
    Fill(9);
    panel_->SetSameModeAllowed(true);
    panel_->SelectMode(3);
    EXPECT_FALSE(Enabled("deng_7color_check"));
    EXPECT_TRUE(Enabled("colorpallet_layout"));
    EXPECT_FALSE(Enabled("deng_speed_layout"));
    EXPECT_TRUE(Shown("deng_same_mode"));
    panel_->SelectMode(0);
    EXPECT_TRUE(Enabled("deng_fx_layout"));
    EXPECT_TRUE(Enabled("deng_speed_layout"));
    EXPECT_FALSE(Shown("deng_same_mode"));
    panel_->SelectMode(6);
    EXPECT_FALSE(Enabled("deng_light_layout"));

    panel_->SetKindCode(2);
    panel_->SelectMode(2);
    EXPECT_TRUE(Enabled("deng_fx_layout"));
    EXPECT_TRUE(Shown("deng_same_mode"));
    panel_->SelectMode(6);
    EXPECT_TRUE(Enabled("deng_light_layout"));
    EXPECT_FALSE(Enabled("colorpallet_layout"));
}

TEST(LightEffectTypes, TheSameEffectHasItsOwnModeOnEachKind) {
    using panels::EffectType;
    EXPECT_EQ(panels::EffectTypeOf(1, 5), EffectType::Breathing);
    EXPECT_EQ(panels::ModeOfEffectType(3, EffectType::Breathing), 2);
    EXPECT_EQ(panels::EffectTypeOf(3, 8), EffectType::Off);
    EXPECT_EQ(panels::ModeOfEffectType(1, EffectType::Off), 28);
    EXPECT_EQ(panels::EffectTypeOf(1, 24), EffectType::Blink);
    EXPECT_EQ(panels::ModeOfEffectType(7, EffectType::Blink), 4);
    EXPECT_EQ(panels::EffectTypeOf(1, 7), EffectType::None);
    EXPECT_EQ(panels::EffectTypeOf(3, 5), EffectType::None);
}

}  // namespace
