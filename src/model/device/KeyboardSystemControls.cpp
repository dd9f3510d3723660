// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/KeyboardSystemControls.h"

#include "ui/CContainerUI.h"
#include "ui/CEditUI.h"
#include "ui/COptionUI.h"
#include "ui/CSliderUI.h"

namespace model {

namespace {

constexpr const char* kPollingPrefix = "polling_rate_option_";
constexpr const char* kDelayPrefix = "repeat_delay_check_";
constexpr const char* kRepeatSlider = "repeat_rate_slider";
constexpr const char* kWinLock = "winlockflag_option";
constexpr const char* kWFlag = "wflag_option";
constexpr const char* kSixKey = "6flag_option";
constexpr const char* kDelayLabel = "repeat_delay_time_label1";
constexpr const char* kTryOutField = "repeat_input_richedit";
constexpr const char* kTranslator = "text_test";

int InRange(int n) {
    return n >= 0 && n < KeyboardSystemControls::kChoices ? n : 0;
}

}  // namespace

ui::CControlUI* KeyboardSystemControls::Find(std::string_view name) {
    return page_.FindSubControl(name);
}

ui::COptionUI* KeyboardSystemControls::Option(std::string_view name) {
    ui::CControlUI* control = Find(name);
    return control ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr;
}

void KeyboardSystemControls::SetSelected(std::string_view name, bool on) {
    if (ui::COptionUI* option = Option(name)) option->Selected(on, false);
}

bool KeyboardSystemControls::IsSelected(std::string_view name) {
    ui::COptionUI* option = Option(name);
    return option != nullptr && option->IsSelected();
}

void KeyboardSystemControls::SelectInGroup(const char* prefix, int n) {
    const int chosen = InRange(n);
    for (int i = 0; i < kChoices; ++i) SetSelected(prefix + std::to_string(i), i == chosen);
}

void KeyboardSystemControls::SelectPollingRate(int n) {
    SelectInGroup(kPollingPrefix, n);
}

void KeyboardSystemControls::SelectRepeatDelay(int n) {
    SelectInGroup(kDelayPrefix, n);
    ShowDelayLabel(n);
}

void KeyboardSystemControls::SetRepeatRate(int value) {
    ui::CControlUI* control = Find(kRepeatSlider);
    if (auto* slider =
            control ? static_cast<ui::CSliderUI*>(control->GetInterface("Slider")) : nullptr)
        slider->SetValue(value);
}

int KeyboardSystemControls::GetRepeatRate() {
    ui::CControlUI* control = Find(kRepeatSlider);
    auto* slider = control ? static_cast<ui::CSliderUI*>(control->GetInterface("Slider")) : nullptr;
    return slider ? slider->GetValue() : 0;
}

void KeyboardSystemControls::SetWinLock(bool on) {
    SetSelected(kWinLock, on);
}
void KeyboardSystemControls::SetWFlag(bool on) {
    SetSelected(kWFlag, on);
}
void KeyboardSystemControls::SetSixKeyFlag(bool on) {
    SetSelected(kSixKey, on);
}
bool KeyboardSystemControls::GetWinLock() {
    return IsSelected(kWinLock);
}
bool KeyboardSystemControls::GetWFlag() {
    return IsSelected(kWFlag);
}
bool KeyboardSystemControls::GetSixKeyFlag() {
    return IsSelected(kSixKey);
}

std::string KeyboardSystemControls::Translate(std::string_view key) {
    ui::CControlUI* translator = Find(kTranslator);
    if (!translator) return std::string(key);
    translator->SetText(key);
    return translator->GetText();
}

void KeyboardSystemControls::ShowDelayLabel(int index) {
    ui::CControlUI* label = Find(kDelayLabel);
    if (!label) return;
    label->SetText(Translate("Repeat_Delay_Time") + std::to_string(250 * (InRange(index) + 1)) +
                   "ms");
}

void KeyboardSystemControls::ShowTryOutTip() {
    ui::CControlUI* control = Find(kTryOutField);
    if (auto* field = control ? static_cast<ui::CEditUI*>(control->GetInterface("Edit")) : nullptr)
        field->SetTipValue(Translate("Repeat_input_text"));
}

void KeyboardSystemControls::ClearTryOut() {
    if (ui::CControlUI* field = Find(kTryOutField)) field->SetText("");
}

void KeyboardSystemControls::Show(const SystemStages& stages) {
    SetWinLock(stages.WinFlag() != 0);
    SetWFlag(stages.WFlag() != 0);
    SetSixKeyFlag(stages.Key6Flag() != 0);
    SetRepeatRate(stages.Repeat());
    SelectRepeatDelay(stages.RepeatDelay());
    ClearTryOut();
    ShowTryOutTip();
    SelectPollingRate(stages.PollingRate());
}

void KeyboardSystemControls::ReloadTexts(const SystemStages& stages) {
    ShowDelayLabel(stages.RepeatDelay());
    ShowTryOutTip();
}

}  // namespace model
