// SPDX-License-Identifier: GPL-3.0-or-later
// The key panel built from its shipped layout: what it shows of a mapping, what it reads
// back, what a captured key makes of it, and the names the key picture gives assignments.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/macro/InputTables.h"
#include "panels/keys/CKeySetControlUI.h"
#include "panels/keys/KeyFunctionTables.h"
#include "panels/keys/KeyLabels.h"
#include "ShippedPanel.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CTabLayoutUI.h"

using panels::CKeySetControlUI;
using panels::KeyLabels;

namespace {

KeyMapping Mapping(uint8_t type, uint8_t b1, uint8_t b0, KeyAssignment defaults = {7, 0x20, 0, 0x04}) {
    KeyMapping mapping;
    mapping.current = {7, type, b1, b0};
    mapping.defaults = defaults;
    return mapping;
}

int KeyRow(const std::string& name) {
    const auto rows = input::KeyRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return static_cast<int>(i);
    return -1;
}

class KeySetPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel_ = panels::test::BuildShippedPanel<CKeySetControlUI>(manager_, "KeySetControl");
        ASSERT_NE(panel_, nullptr);
        panel_->BindControls();
        panel_->SetDeviceKind(1);
        panel_->FillMacroNames({"jump", "reload", "grenade"});
    }
    ui::CComboUI* Combo(const char* name) {
        return static_cast<ui::CComboUI*>(manager_.FindControl(name)->GetInterface("Combo"));
    }
    ui::CEditUI* Edit(const char* name) {
        return static_cast<ui::CEditUI*>(manager_.FindControl(name)->GetInterface("Edit"));
    }
    void Pick(const char* combo, int item) { Combo(combo)->SelectItem(item, false, false); }
    void PickCategory(int code) {
        Pick("keyset_function_combo", code);
        panel_->ShowCategoryPage();
    }
    KeyAssignment Read() { return panel_->ReadAssignment().current; }
    static std::tuple<int, int, int> Bytes(const KeyAssignment& a) {
        return {a.type, a.byte1, a.byte0};
    }

    ui::CPaintManagerUI manager_;
    CKeySetControlUI* panel_ = nullptr;
};


TEST_F(KeySetPanelTest, TheDefaultShowsAsDefaultAndKeyboardsOfferNoDpiOrGunKey) {
    panel_->SetKeyMapping(Mapping(0x20, 0, 0x04));
    EXPECT_EQ(panel_->SelectedCategory(), 0);
    EXPECT_TRUE(manager_.FindControl("keyset_layout")->IsVisible());
    EXPECT_FALSE(Combo("keyset_function_combo")->GetItemAt(4)->IsOwnVisible());
    EXPECT_FALSE(Combo("keyset_function_combo")->GetItemAt(10)->IsOwnVisible());
    EXPECT_TRUE(Combo("keyset_function_combo")->GetItemAt(6)->IsOwnVisible());
    // A type the panel does not know hides the editor.
    panel_->SetKeyMapping(Mapping(0x99, 1, 2));
    EXPECT_FALSE(manager_.FindControl("keyset_layout")->IsVisible());
    // Default read back is the whole default half.
    panel_->SetKeyMapping(Mapping(0x30, 0xCD, 0));
    PickCategory(0);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0, 0x04));
}

TEST_F(KeySetPanelTest, KeyboardKeysRoundTripWithTheirModifier) {
    panel_->SetKeyMapping(Mapping(0x20, 0x02, 0x04, {7, 0x20, 0, 0x05}));
    EXPECT_EQ(panel_->SelectedCategory(), 6);
    EXPECT_EQ(panel_->GetSelectedModifier(), 2);
    EXPECT_EQ(panel_->KeyText(), "keyboard_key_A");
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0x02, 0x04));
    // A usage the key table does not have shows no key and clears it.
    panel_->SetKeyMapping(Mapping(0x20, 0, 0x7F, {7, 0x20, 0, 0x05}));
    EXPECT_EQ(panel_->GetSelectedModifier(), -1);
    EXPECT_EQ(panel_->KeyText(), "");
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0, 0));
    // Byte 1 above 0x80 is a shortcut; 0xB0 a shortcut with nothing selected.
    panel_->SetKeyMapping(Mapping(0xB0, 0, 0));
    EXPECT_EQ(panel_->SelectedCategory(), 11);
    EXPECT_EQ(Combo("keyset_combokey_combo")->GetCurSel(), -1);
}

TEST_F(KeySetPanelTest, CapturedModifiersSelectTheirKindAndKeysKeepTheModifier) {
    panel_->SetKeyMapping(Mapping(0x10, 0x01, 0));
    PickCategory(6);
    EXPECT_EQ(panel_->KeyText(), "");
    panel_->CaptureKey(KeyRow("RAlt"));
    EXPECT_EQ(panel_->GetSelectedModifier(), 3);
    EXPECT_EQ(panel_->KeyText(), "");
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0x04, 0));  // the left Alt bit
    panel_->CaptureKey(KeyRow("Z"));
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0x04, 0x1D));
    // A key without a modifier chosen takes "none".
    PickCategory(6);
    panel_->CaptureKey(KeyRow("F5"));
    EXPECT_EQ(panel_->GetSelectedModifier(), 0);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0, 0x3E));
    // Right and left keys of a kind share an option.
    EXPECT_EQ(panels::keys::ModifierOptionOfRow(KeyRow("RWin")), 4);
    EXPECT_EQ(panels::keys::ModifierOptionOfRow(KeyRow("RCtrl")), 1);
}

TEST_F(KeySetPanelTest, SwingAndWheelKeepDirectionCountAndTheLowBitsOfTheirTiming) {
    panel_->SetKeyMapping(Mapping(0x10, 1, 0));
    PickCategory(3);
    Pick("keyset_mousewheel_combo", 1);
    Edit("keyset_mousewheel_num_edit")->SetText("3");
    Edit("keyset_mousewheel_delay_edit")->SetText("2");
    Edit("keyset_mousewheel_speed_edit")->SetText("5");
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x12, 0x25, 0xFD));
    panel_->SetKeyMapping(Mapping(0x12, 0x25, 0xFD));
    EXPECT_EQ(Edit("keyset_mousewheel_num_edit")->GetText(), "3");
    EXPECT_EQ(Combo("keyset_mousewheel_combo")->GetCurSel(), 1);

    PickCategory(2);
    Pick("keyset_mouseswing_combo", 1);
    Edit("keyset_mouseswing_num_edit")->SetText("3");
    Edit("keyset_mouseswing_delay_edit")->SetText("20");
    Edit("keyset_mouseswing_speed_edit")->SetText("1");
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x11, 0x41, 0x83));
    panel_->SetKeyMapping(Mapping(0x11, 0x41, 0x83));
    EXPECT_EQ(Edit("keyset_mouseswing_delay_edit")->GetText(), "4");
    EXPECT_EQ(Edit("keyset_mouseswing_num_edit")->GetText(), "3");
}

TEST_F(KeySetPanelTest, MacrosPlayByIndexOrRepeatAndFollowTheLibrary) {
    panel_->SetKeyMapping(Mapping(0x10, 1, 0));
    PickCategory(9);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x10, 1, 0));  // no macro chosen: unchanged
    Pick("keyset_macro_combo", 1);
    Pick("keyset_macro_over_combo", 4);
    panel_->ShowRepeatCount();
    EXPECT_TRUE(manager_.FindControl("keyset_macro_cycle_layout")->IsVisible());
    Edit("keyset_macro_cycle_edit")->SetText("5");
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x71, 1, 5));
    Pick("keyset_macro_over_combo", 2);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x70, 1, 2));
    // A macro the library no longer has shows none.
    panel_->SetKeyMapping(Mapping(0x70, 3, 0));
    EXPECT_EQ(Combo("keyset_macro_combo")->GetCurSel(), -1);

    panel_->RemoveMacroName(0);
    panel_->RenameMacroName(0, "reload fast");
    panel_->RenameMacroName(1, "");
    panel_->AddMacroName("knife");
    panel_->RemoveMacroName(-1);
    std::vector<std::string> names;
    auto* macros = Combo("keyset_macro_combo");
    for (int i = 0; i < macros->GetCount(); ++i) names.push_back(macros->GetItemAt(i)->GetText());
    EXPECT_EQ(names, (std::vector<std::string>{"reload fast", "grenade", "knife"}));
}

TEST_F(KeySetPanelTest, ComboFunctionsComeFromTheirItemTables) {
    panel_->SetKeyMapping(Mapping(0x10, 1, 0));
    PickCategory(7);
    Pick("keyset_media_combo", 6);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x30, 0xE9, 0x00));
    PickCategory(1);
    Pick("keyset_mousekey_combo", 3);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x10, 0x10, 0));
    PickCategory(11);
    Pick("keyset_combokey_combo", 6);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x20, 0x01, 0x19));
    PickCategory(8);
    Pick("keyset_system_combo", 1);
    EXPECT_EQ(Bytes(Read()), std::make_tuple(0x40, 0x02, 0));
    panel_->SetKeyMapping(Mapping(0x30, 0x27, 0x02));
    EXPECT_EQ(Combo("keyset_media_combo")->GetCurSel(), 9);
}

TEST(KeyLabelsTest, AssignmentsAreNamedByType) {
    const std::vector<std::string> macros = {"jump"};
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x20, 0, 0}, macros), "close_text");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x20, 0, 0x04}, macros), "keyboard_key_A");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x20, 0x02, 0x04}, macros),
              "keyboard_key_LShift+keyboard_key_A");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x12, 0x00, 0xFD}, macros), "mouse_key_down_Swing");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x30, 0xE9, 0x00}, macros), "media_vol_add");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x70, 0, 1}, macros), "jump");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x70, 0, 1}, {}), std::nullopt);
    EXPECT_EQ(KeyLabels::LabelOf({0, 0xA0, 0x1B, 0}, macros), "keyboard_key_GM");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0xD0, 0xA2, 3}, macros), "keyboard_key_M3");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x23, 0, 0}, macros), "show_window");
    EXPECT_EQ(KeyLabels::LabelOf({0, 0xB0, 0, 0}, macros), std::nullopt);
    EXPECT_EQ(KeyLabels::LabelOf({0, 0x99, 0, 0}, macros), "关闭");
    EXPECT_EQ(KeyLabels::OwnNameOf(0x20, 0, 0x29), "keyboard_key_Esc");
}

}  // namespace
