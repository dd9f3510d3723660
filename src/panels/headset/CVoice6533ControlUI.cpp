// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/headset/CVoice6533ControlUI.h"

#include "ui/CComboUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/COptionUI.h"
#include "ui/CSliderUI.h"

namespace panels {

namespace {

constexpr const char* kMicOption = "6533_MicIn_option";
constexpr const char* kMicSlider = "6533_MicIn_slider";
constexpr const char* kMonitorOption = "6533_MicMoniter_option";
constexpr const char* kMonitorSlider = "6533_MicMoniter_slider";
constexpr const char* kPresetOption = "6533_eq_option_";
constexpr const char* kBandSlider = "6533_eq_hz_slider_";
constexpr const char* kUserLayout = "custom_eq_option_layout";
constexpr const char* kNameEdit = "custom_eq_name_edit";
constexpr const char* kNameCombo = "custom_eq_name_combo";
constexpr int kVoiceItemHeight = 30;

}  // namespace

std::string CVoice6533ControlUI::GetClass() const {
    return "Voice6533ControlUI";
}

void* CVoice6533ControlUI::GetInterface(std::string_view name) {
    if (name == "Voice6533Control") return this;
    if (name == model::IVoicePanel::kInterfaceName) return static_cast<model::IVoicePanel*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

void CVoice6533ControlUI::Tick(const std::string& name, bool on) {
    if (auto* option = controls_.Find<ui::COptionUI>(name, "Option")) option->Selected(on, false);
}

bool CVoice6533ControlUI::Ticked(const std::string& name) const {
    const auto* option = controls_.Find<ui::COptionUI>(name, "Option");
    return option != nullptr && option->IsSelected();
}

void CVoice6533ControlUI::SetSlider(const std::string& name, int value) {
    if (auto* slider = controls_.Find<ui::CSliderUI>(name, "Slider")) slider->SetValue(value);
}

int CVoice6533ControlUI::Slider(const std::string& name) const {
    const auto* slider = controls_.Find<ui::CSliderUI>(name, "Slider");
    return slider != nullptr ? slider->GetValue() : -1;
}

void CVoice6533ControlUI::SetMicEnabled(bool on) {
    Tick(kMicOption, on);
}
bool CVoice6533ControlUI::IsMicEnabled() const {
    return Ticked(kMicOption);
}
void CVoice6533ControlUI::SetMicLevel(int level) {
    SetSlider(kMicSlider, level);
}
int CVoice6533ControlUI::GetMicLevel() const {
    return Slider(kMicSlider);
}
void CVoice6533ControlUI::SetMonitorEnabled(bool on) {
    Tick(kMonitorOption, on);
}
bool CVoice6533ControlUI::IsMonitorEnabled() const {
    return Ticked(kMonitorOption);
}
void CVoice6533ControlUI::SetMonitorLevel(int level) {
    SetSlider(kMonitorSlider, level);
}
int CVoice6533ControlUI::GetMonitorLevel() const {
    return Slider(kMonitorSlider);
}

void CVoice6533ControlUI::SelectPreset(int preset) {
    for (int p = 1; p <= kPresets; ++p) Tick(kPresetOption + std::to_string(p), p == preset);
}

int CVoice6533ControlUI::GetPreset() const {
    for (int p = 1; p <= kPresets; ++p)
        if (Ticked(kPresetOption + std::to_string(p))) return p;
    return 0;
}

void CVoice6533ControlUI::ShowUserPresetLayout(bool shown) {
    if (ui::CControlUI* layout = controls_.Find(kUserLayout)) layout->SetVisible(shown);
}

void CVoice6533ControlUI::SetBand(int band, int value) {
    SetSlider(kBandSlider + std::to_string(band), value);
}

int CVoice6533ControlUI::GetBand(int band) const {
    return Slider(kBandSlider + std::to_string(band));
}

void CVoice6533ControlUI::SetUserPresetNames(const std::vector<std::string>& names) {
    auto* combo = controls_.Find<ui::CComboUI>(kNameCombo, "Combo");
    if (combo == nullptr) return;
    combo->RemoveAll();
    for (const std::string& name : names) AddUserPresetName(name);
}

void CVoice6533ControlUI::AddUserPresetName(const std::string& name) {
    auto* combo = controls_.Find<ui::CComboUI>(kNameCombo, "Combo");
    if (combo == nullptr) return;
    auto* item = new ui::CListLabelElementUI();
    // The user's own text: never a language key or markup.
    item->SetResourceText(false);
    item->SetShowHtml(false);
    item->SetFixedHeight(kVoiceItemHeight);
    item->SetText(name);
    item->SetToolTip(name);
    combo->Add(item);
}

void CVoice6533ControlUI::RemoveUserPreset(int index) {
    auto* combo = controls_.Find<ui::CComboUI>(kNameCombo, "Combo");
    if (combo != nullptr && index >= 0 && index < combo->GetCount()) combo->RemoveAt(index);
}

std::vector<std::string> CVoice6533ControlUI::UserPresetNames() const {
    std::vector<std::string> names;
    auto* combo = controls_.Find<ui::CComboUI>(kNameCombo, "Combo");
    if (combo == nullptr) return names;
    for (int i = 0; i < combo->GetCount(); ++i) names.push_back(combo->GetItemAt(i)->GetText());
    return names;
}

void CVoice6533ControlUI::SelectUserPreset(int index) {
    if (auto* combo = controls_.Find<ui::CComboUI>(kNameCombo, "Combo"))
        combo->SelectItem(index, false, false);
    if (ui::CControlUI* edit = controls_.Find(kNameEdit)) edit->SetText("");
}

int CVoice6533ControlUI::GetSelectedUserPreset() const {
    const auto* combo = controls_.Find<ui::CComboUI>(kNameCombo, "Combo");
    return combo != nullptr ? combo->GetCurSel() : -1;
}

std::string CVoice6533ControlUI::GetPresetNameText() const {
    const ui::CControlUI* edit = controls_.Find(kNameEdit);
    return edit != nullptr ? edit->GetText() : std::string();
}

}  // namespace panels
