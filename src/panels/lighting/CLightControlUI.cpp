// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/lighting/CLightControlUI.h"

#include <algorithm>

#include "data/LightSetting.h"
#include "device/scanner/DeviceKind.h"
#include "panels/lighting/LightModeLayout.h"
#include "ui/CColorPaletteUI.h"
#include "ui/CComboUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/COptionUI.h"
#include "ui/CSliderUI.h"

namespace panels {

namespace {

constexpr const char* kModeCombo = "light_combo_modeSelect";
constexpr const char* kZzccCombo = "light_combo_ZZCCmodeSelect";
constexpr const char* kGroupCombo = "light_combo_custommodeSelect";
constexpr const char* kBrightness = "deng_light_slider";
constexpr const char* kSpeed = "deng_speed_slider";
constexpr const char* kPalette = "deng_Color_Pallet";
constexpr const char* kColourButton = "deng_colordp_btn";
constexpr const char* kMultiColour = "deng_7color_check";
constexpr const char* kDirectionOne = "deng_FXL_check";
constexpr const char* kDirectionZero = "deng_FXR_check";
constexpr const char* kSameMode = "deng_same_mode";
constexpr const char* kColourEdits[3] = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
constexpr int kLightItemHeight = 30;
constexpr ui::Color kOpaque = 0xFF000000;

int Clamp(int value, int low, int high) {
    return std::min(std::max(value, low), high);
}

}  // namespace

std::string CLightControlUI::GetClass() const {
    return "LightControlUI";
}

void* CLightControlUI::GetInterface(std::string_view name) {
    if (name == "LightControl") return this;
    if (name == model::ILightingPanel::kInterfaceName)
        return static_cast<model::ILightingPanel*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

ui::CControlUI* CLightControlUI::Find(const std::string& name) const {
    auto it = controls_.find(name);
    if (it != controls_.end()) return it->second;
    ui::CControlUI* control = const_cast<CLightControlUI*>(this)->FindSubControl(name);
    if (control != nullptr) controls_.emplace(name, control);
    return control;
}

void CLightControlUI::EnablePart(const char* name, bool enabled) {
    if (ui::CControlUI* control = Find(name)) control->SetEnabled(enabled);
}

void CLightControlUI::ShowPart(const char* name, bool shown) {
    if (ui::CControlUI* control = Find(name)) control->SetVisible(shown);
}

// ---- the mode list

void CLightControlUI::FillModeList(const std::vector<std::string>& names,
                                   const std::vector<bool>& visible) {
    if (auto* combo = Find<ui::CComboUI>(kModeCombo, "Combo")) {
        const int selected = combo->GetCurSel();
        combo->RemoveAll();
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto* item = new ui::CListLabelElementUI();
            item->SetFixedHeight(kLightItemHeight);
            // The names are language keys; a hidden mode keeps its place, so that item i
            // is always mode i.
            item->SetResourceText(true);
            item->SetText(names[i]);
            item->SetUserData(names[i]);
            item->SetVisible(i < visible.size() ? visible[i] : true);
            combo->Add(item);
        }
        if (selected >= 0) combo->SelectItem(selected, false, false);
    }
    if (auto* brightness = Find<ui::CSliderUI>(kBrightness, "Slider")) {
        brightness->SetMinValue(0);
        brightness->SetMaxValue(LightSetting::kMaxBrightness);
    }
    if (auto* speed = Find<ui::CSliderUI>(kSpeed, "Slider"))
        speed->SetMaxValue(LightSetting::kMaxSpeed);
}

void CLightControlUI::SelectMode(int mode) {
    if (auto* combo = Find<ui::CComboUI>(kModeCombo, "Combo")) {
        // A mode the list does not offer (hidden, or beyond it) shows no selection.
        if (!combo->SelectItem(mode, false, false)) combo->SelectItem(-1, false, false);
    }
    ApplyModeLayout(kind_, mode);
}

int CLightControlUI::GetMode() const {
    const auto* combo = Find<ui::CComboUI>(kModeCombo, "Combo");
    return combo ? combo->GetCurSel() : -1;
}

// ---- showing a setting

void CLightControlUI::ShowLightSetting(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t /*w3*/) {
    SelectMode(static_cast<int>(w0 & 0xFF));  // with the parts the mode uses
    SetBrightness(static_cast<int>((w0 >> 8) & 0xFF));
    SetSpeed(static_cast<int>((w0 >> 16) & 0xFF));
    ShowColour(static_cast<uint8_t>(w1 >> 8), static_cast<uint8_t>(w1 >> 16),
               static_cast<uint8_t>(w1 >> 24));
    // Shown as it is: the setting shown is the one the device and the profile hold, so
    // there is nothing for the multi-colour handler to store or send.
    SetMultiColour((w1 & 0xFF) != 0);
    SetZzccMode(static_cast<int>(w2 >> 24));
    SetDirection(static_cast<int>(w0 >> 24));
}

void CLightControlUI::ShowColour(uint8_t red, uint8_t green, uint8_t blue) {
    const uint8_t values[3] = {red, green, blue};
    for (int channel = 0; channel < 3; ++channel)
        SetColourText(channel, std::to_string(values[channel]));
    const ui::Color argb = kOpaque | ui::Color{red} << 16 | ui::Color{green} << 8 | blue;
    SetPaletteColour(argb);
    SetColourButton(argb);
}

// ---- setters and getters

void CLightControlUI::SetBrightness(int value) {
    if (auto* slider = Find<ui::CSliderUI>(kBrightness, "Slider")) slider->SetValue(value);
}

int CLightControlUI::GetBrightness() const {
    const auto* slider = Find<ui::CSliderUI>(kBrightness, "Slider");
    return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetSpeed(int value) {
    if (auto* slider = Find<ui::CSliderUI>(kSpeed, "Slider")) slider->SetValue(value);
}

int CLightControlUI::GetSpeed() const {
    const auto* slider = Find<ui::CSliderUI>(kSpeed, "Slider");
    return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetColourText(int channel, const std::string& text) {
    if (channel < 0 || channel > 2) return;
    if (ui::CControlUI* edit = Find(kColourEdits[channel])) edit->SetText(text);
}

std::string CLightControlUI::GetColourText(int channel) const {
    if (channel < 0 || channel > 2) return {};
    const ui::CControlUI* edit = Find(kColourEdits[channel]);
    return edit ? edit->GetText() : std::string();
}

void CLightControlUI::SetZzccMode(int mode) {
    if (auto* combo = Find<ui::CComboUI>(kZzccCombo, "Combo"))
        combo->SelectItem(Clamp(mode, 0, std::max(combo->GetCount() - 1, 0)), false, false);
}

int CLightControlUI::GetZzccMode() const {
    const auto* combo = Find<ui::CComboUI>(kZzccCombo, "Combo");
    return combo ? std::max(combo->GetCurSel(), 0) : 0;
}

int CLightControlUI::GetCustomGroup() const {
    const auto* combo = Find<ui::CComboUI>(kGroupCombo, "Combo");
    return combo ? combo->GetCurSel() : -1;
}

void CLightControlUI::SelectCustomGroup(int group) {
    auto* combo = Find<ui::CComboUI>(kGroupCombo, "Combo");
    if (combo == nullptr || combo->GetCount() == 0) return;
    combo->SelectItem(Clamp(group, 0, combo->GetCount() - 1), false, false);
}

void CLightControlUI::SetPaletteColour(ui::Color argb) {
    if (auto* palette = Find<ui::CColorPaletteUI>(kPalette, "ColorPalette"))
        palette->SetSelectColor(argb | kOpaque);
}

ui::Color CLightControlUI::GetPaletteColour() const {
    const auto* palette = Find<ui::CColorPaletteUI>(kPalette, "ColorPalette");
    return palette ? palette->GetSelectColor() : kOpaque;
}

void CLightControlUI::SetColourButton(ui::Color argb) {
    if (ui::CControlUI* button = Find(kColourButton)) button->SetBkColor(argb | kOpaque);
}

ui::Color CLightControlUI::GetColourButton() const {
    const ui::CControlUI* button = Find(kColourButton);
    return button ? button->GetBkColor() : kOpaque;
}

void CLightControlUI::SetMultiColour(bool on) {
    if (auto* option = Find<ui::COptionUI>(kMultiColour, "Option")) option->Selected(on, false);
}

bool CLightControlUI::GetMultiColour() const {
    const auto* option = Find<ui::COptionUI>(kMultiColour, "Option");
    return option && option->IsSelected();
}

void CLightControlUI::SetDirection(int direction) {
    if (auto* one = Find<ui::COptionUI>(kDirectionOne, "Option"))
        one->Selected(direction != 0, false);
    if (auto* zero = Find<ui::COptionUI>(kDirectionZero, "Option"))
        zero->Selected(direction == 0, false);
}

int CLightControlUI::GetDirection() const {
    const auto* one = Find<ui::COptionUI>(kDirectionOne, "Option");
    return one && one->IsSelected() ? 1 : 0;
}

ui::Color CLightControlUI::GetPresetColour(int n) const {
    const ui::CControlUI* swatch = Find("color_option_" + std::to_string(n));
    return swatch ? swatch->GetBkColor() : 0;
}

// ---- layout

void CLightControlUI::ShowSameMode(bool show) {
    ShowPart(kSameMode, show && sameModeAllowed_);
}

void CLightControlUI::SetSameModeAllowed(bool allowed) {
    sameModeAllowed_ = allowed;
    ApplyModeLayout(kind_, GetMode());
}

void CLightControlUI::ApplyModeLayout(int kind, int mode) {
    LightModeLayout layout;
    if (!LayoutOfMode(kind, mode, layout)) return;
    const auto apply = [this](const char* name, PartState state) {
        if (state != PartState::Keep) EnablePart(name, state == PartState::Enabled);
    };
    if (kind == device::kKindKeyboard) {
        ShowPart("lightcustom_layout", layout.customShown);
        ShowPart("light_combo_ZZCCmodeSelectLayout", layout.zzccShown);
        if (ui::CControlUI* one = Find(kDirectionOne)) one->SetText(layout.directionOne);
        if (ui::CControlUI* zero = Find(kDirectionZero)) zero->SetText(layout.directionZero);
    }
    EnablePart("lighteffect_layout", true);
    apply(kMultiColour, layout.multiColour);
    apply("deng_RGB_edit", layout.rgbEdit);
    apply("deng_color_select", layout.swatchRow1);
    apply("deng_color_select1", layout.swatchRow2);
    apply("deng_color_layout", layout.swatches);
    apply("colorpallet_layout", layout.palette);
    EnablePart("deng_fx_layout", layout.directionEnabled);
    EnablePart("deng_light_layout", layout.brightnessEnabled);
    if (layout.speedShown != PartState::Keep)
        ShowPart("deng_speed_layout", layout.speedShown == PartState::Enabled);
    apply("deng_speed_layout", layout.speedEnabled);
    ShowSameMode(layout.sameMode);
}

}  // namespace panels
