// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/MouseSettingsControls.h"

#include <algorithm>
#include <charconv>

#include "platform/TextCompare.h"
#include "ui/CContainerUI.h"
#include "ui/CEditUI.h"
#include "ui/COptionUI.h"
#include "ui/CSliderUI.h"
#include "ui/CTabLayoutUI.h"

namespace model {

namespace {

constexpr const char* kStageRow = "DPI_layout_";
constexpr const char* kStageCheck = "DPI_enable_check_";
constexpr const char* kStageSlider = "DPI_slider_";
constexpr const char* kStageEdit = "DPI_edit_";
constexpr const char* kReportRate = "polling_rate_option_";
constexpr const char* kPointerSpeed = "pointer_speed_slider";
constexpr const char* kPointerPrecision = "pointer_precision_check";
constexpr const char* kScrollPage = "scrolls_page_check";
constexpr const char* kScrollLines = "scroll_speed_slider";
constexpr const char* kDoubleClick = "double_click_slider";
constexpr const char* kSettingsPages = "mouse_device_seting_layout";
constexpr const char* kPageOptions = "mouse_option_layout";
constexpr const char* kPageOption = "mouse_device_seting_option_";

std::string Numbered(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

}  // namespace

ui::CControlUI* MouseSettingsControls::Find(std::string_view name) {
    return page_.FindSubControl(name);
}

ui::COptionUI* MouseSettingsControls::Option(std::string_view name) {
    ui::CControlUI* control = Find(name);
    return control ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr;
}

ui::CSliderUI* MouseSettingsControls::Slider(std::string_view name) {
    ui::CControlUI* control = Find(name);
    return control ? static_cast<ui::CSliderUI*>(control->GetInterface("Slider")) : nullptr;
}

void MouseSettingsControls::SetSliderValue(std::string_view name, int value) {
    if (ui::CSliderUI* slider = Slider(name)) slider->SetValue(value);
}

int MouseSettingsControls::SliderValue(std::string_view name) {
    ui::CSliderUI* slider = Slider(name);
    return slider ? slider->GetValue() : 0;
}

void MouseSettingsControls::SetDpiRange(int step, int steps, int smallest) {
    step_ = std::max(step, 0);
    steps_ = std::max(steps, 0);
    smallest_ = std::max(smallest, 0);
    for (int n = 0; n < kStages; ++n) {
        if (ui::CSliderUI* slider = Slider(Numbered(kStageSlider, n))) {
            slider->SetMinValue(0);
            slider->SetMaxValue(steps_);
        }
        ui::CControlUI* control = Find(Numbered(kStageEdit, n));
        if (auto* edit =
                control ? static_cast<ui::CEditUI*>(control->GetInterface("Edit")) : nullptr) {
            edit->SetMinValue(0);
            edit->SetMaxValue(steps_ * step_);
        }
    }
}

void MouseSettingsControls::SetDpiStageEnabled(int n, bool on) {
    if (ui::CControlUI* row = Find(Numbered(kStageRow, n))) row->SetEnabled(on);
    if (ui::COptionUI* option = Option(Numbered(kStageCheck, n))) option->Selected(on, false);
    if (on) {
        for (int i = 0; i < kStages; ++i)
            if (ui::COptionUI* option = Option(Numbered(kStageCheck, i))) option->SetEnabled(true);
        return;
    }
    // The last stage switched on cannot be switched off: the mouse needs one resolution.
    int selected = 0;
    ui::COptionUI* last = nullptr;
    for (int i = 0; i < kStages; ++i) {
        ui::COptionUI* option = Option(Numbered(kStageCheck, i));
        if (option != nullptr && option->IsSelected()) {
            ++selected;
            last = option;
        }
    }
    if (selected == 1) last->SetEnabled(false);
}

bool MouseSettingsControls::IsDpiStageEnabled(int n) {
    ui::COptionUI* option = Option(Numbered(kStageCheck, n));
    return option != nullptr && option->IsSelected();
}

void MouseSettingsControls::SetDpiStageValue(int n, int steps, int activeStage) {
    ui::CSliderUI* slider = Slider(Numbered(kStageSlider, n));
    if (slider) {
        slider->SetValue(steps);
        // The stage the mouse is on stands out from the others.
        const bool active = n == activeStage;
        slider->SetForeImage(active ? "file='Control/SliderBar_BK3.png' corner='4,0,4,0'"
                                    : "file='Control/SliderBar_BK1.png' corner='4,0,4,0'");
        const char* thumb =
            active ? "Control/SliderBar2_Thumb.png" : "Control/SliderBar1_Thumb.png";
        slider->SetThumbImage(thumb);
        slider->SetThumbHotImage(thumb);
        slider->SetThumbPushedImage(thumb);
    }
    if (ui::CControlUI* edit = Find(Numbered(kStageEdit, n)))
        edit->SetText(std::to_string(steps * step_));
}

int MouseSettingsControls::GetDpiSliderValue(int n) {
    return SliderValue(Numbered(kStageSlider, n));
}

int MouseSettingsControls::GetDpiEditValue(int n) {
    ui::CControlUI* edit = Find(Numbered(kStageEdit, n));
    if (edit == nullptr) return 0;
    const std::string text = edit->GetText();
    long long value = 0;
    const char* begin = text.data();
    std::from_chars(begin, begin + text.size(), value);  // an empty or odd text reads 0
    const long long largest = static_cast<long long>(steps_) * step_;
    // Below the smallest resolution the sensor knows, or above its largest, is no DPI
    // the mouse can take.
    value = std::max<long long>(value, smallest_);
    if (largest > 0) value = std::min(value, largest);
    return static_cast<int>(value);
}

void MouseSettingsControls::SelectReportRate(int n) {
    const int chosen = n >= 0 && n < kReportRates ? n : 0;
    for (int i = 0; i < kReportRates; ++i)
        if (ui::COptionUI* option = Option(Numbered(kReportRate, i)))
            option->Selected(i == chosen, false);
}

void MouseSettingsControls::SetPointerSpeed(int value) {
    SetSliderValue(kPointerSpeed, value);
}

int MouseSettingsControls::GetPointerSpeed() {
    return SliderValue(kPointerSpeed);
}

void MouseSettingsControls::SetPointerPrecision(bool on) {
    if (ui::COptionUI* option = Option(kPointerPrecision)) option->Selected(on, false);
}

bool MouseSettingsControls::GetPointerPrecision() {
    ui::COptionUI* option = Option(kPointerPrecision);
    return option != nullptr && option->IsSelected();
}

void MouseSettingsControls::SetScrolling(bool page, int lines) {
    ui::COptionUI* option = Option(kScrollPage);
    ui::CSliderUI* slider = Slider(kScrollLines);
    if (option == nullptr || slider == nullptr) return;
    option->Selected(page, false);
    slider->SetValue(lines);
}

bool MouseSettingsControls::GetScrollPage() {
    ui::COptionUI* option = Option(kScrollPage);
    return option != nullptr && option->IsSelected();
}

int MouseSettingsControls::GetScrollLines() {
    return SliderValue(kScrollLines);
}

void MouseSettingsControls::SetDoubleClickSpeed(int value) {
    SetSliderValue(kDoubleClick, value);
}

int MouseSettingsControls::GetDoubleClickSpeed() {
    return SliderValue(kDoubleClick);
}

void MouseSettingsControls::ShowSettingsPage(int n) {
    ui::CControlUI* control = Find(kSettingsPages);
    auto* pages =
        control ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
    if (pages == nullptr) return;
    const int page = n >= 0 && n < pages->GetCount() ? n : 0;
    pages->SelectItem(page);
    control = Find(kPageOptions);
    auto* options =
        control ? static_cast<ui::CContainerUI*>(control->GetInterface("Container")) : nullptr;
    if (options == nullptr) return;
    const std::string wanted = Numbered(kPageOption, page);
    for (int i = 0; i < options->GetCount(); ++i) {
        ui::CControlUI* child = options->GetItemAt(i);
        auto* option = static_cast<ui::COptionUI*>(child->GetInterface("Option"));
        if (option != nullptr)
            option->Selected(platform::EqualsNoCase(child->GetName(), wanted), false);
    }
}

}  // namespace model
