// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/mouse/MouseOperations.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "app/OperationIds.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CSliderUI.h"
#include "ui/TNotifyUI.h"

namespace panels {

namespace {

uint32_t Low(uint32_t word) {
    return word & 0xFFFF;
}

uint32_t High(uint32_t word) {
    return word >> 16;
}

uint32_t Pack(uint32_t low, uint32_t high) {
    return (low & 0xFFFF) | (high & 0xFFFF) << 16;
}

uint32_t Half(int value) {
    return static_cast<uint32_t>(std::clamp(value, 0, 0xFFFF));
}

ui::CControlUI* InWindow(ui::TNotifyUI& msg, const std::string& name) {
    ui::CPaintManagerUI* manager = msg.pSender ? msg.pSender->GetManager() : nullptr;
    return manager ? manager->FindControl(name) : nullptr;
}

}  // namespace

void MouseOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Call = const app::RouteCall&;
    operations.Register(op::kMouseDpiEnable, [this](Call call) { DpiEnable(call.n); });
    operations.Register(op::kMouseDpiSlider, [this](Call call) { DpiSlider(call.n); });
    operations.Register(op::kMouseDpiPreview, [this](Call call) { DpiPreview(call.n); });
    operations.Register(op::kMouseDpiEdited, [this](Call call) { DpiEdited(call.n); });
    operations.Register(op::kMouseReportRate, [this](Call call) { ReportRate(call.n); });
    operations.Register(op::kMousePointerSpeed, [this](Call) { PointerSpeed(); });
    operations.Register(op::kMousePointerPrecision, [this](Call) { PointerPrecision(); });
    operations.Register(op::kMouseScrollPage, [this](Call) { ScrollPage(); });
    operations.Register(op::kMouseScrollSpeed, [this](Call) { ScrollSpeed(); });
    operations.Register(op::kMouseDoubleClickSpeed, [this](Call) { DoubleClickSpeed(); });
    operations.Register(op::kMouseSettingsPage, [this](Call call) { SettingsPage(call.n); });
    operations.Register(op::kMouseVexalDpiSliderMoved,
                        [this](Call call) { VexalSliderMoved(call.msg, call.n); });
    operations.Register(op::kMouseVexalDpiEdited,
                        [this](Call call) { VexalEdited(call.msg, call.n); });
}

model::CLumitrekMouseDevice* MouseOperations::Mouse() {
    return model::CLumitrekMouseDevice::Of(shell_.CurrentDevice());
}

void MouseOperations::SaveAndWrite(model::CLumitrekMouseDevice& mouse) {
    mouse.SaveProfile();
    mouse.WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
}

void MouseOperations::DpiEnable(long n) {
    auto* mouse = Mouse();
    if (mouse == nullptr) return;
    const int stage = static_cast<int>(n);
    const bool on = mouse->Controls().IsDpiStageEnabled(stage);
    mouse->Controls().SetDpiStageEnabled(stage, on);
    mouse->SetDpiStageEnabled(stage, on);
    SaveAndWrite(*mouse);
}

void MouseOperations::DpiSlider(long n) {
    auto* mouse = Mouse();
    if (mouse == nullptr) return;
    const int stage = static_cast<int>(n);
    const int steps = mouse->Controls().GetDpiSliderValue(stage);
    mouse->Controls().SetDpiStageValue(stage, steps, mouse->GetActiveDpiStage());
    mouse->SetDpiStageSteps(stage, steps);
    SaveAndWrite(*mouse);
}

void MouseOperations::DpiPreview(long n) {
    auto* mouse = Mouse();
    if (mouse == nullptr) return;
    const int stage = static_cast<int>(n);
    mouse->Controls().SetDpiStageValue(stage, mouse->Controls().GetDpiSliderValue(stage),
                                       mouse->GetActiveDpiStage());
}

void MouseOperations::DpiEdited(long n) {
    auto* mouse = Mouse();
    if (mouse == nullptr) return;
    const int step = mouse->Controls().DpiStep();
    // Before the mouse told its DPI step there is no DPI to turn into steps.
    if (step <= 0) return;
    const int stage = static_cast<int>(n);
    const int steps = mouse->Controls().GetDpiEditValue(stage) / step;
    mouse->Controls().SetDpiStageValue(stage, steps, mouse->GetActiveDpiStage());
    mouse->SetDpiStageSteps(stage, steps);
    SaveAndWrite(*mouse);
}

void MouseOperations::ReportRate(long n) {
    auto* mouse = Mouse();
    if (mouse == nullptr) return;
    const int rate =
        n >= 0 && n < model::MouseSettingsControls::kReportRates ? static_cast<int>(n) : 0;
    mouse->Controls().SelectReportRate(rate);
    Words words = mouse->GetSystemWords();
    words[2] = Pack(Low(words[2]), Half(rate));
    mouse->SetSystemWords(words);
    SaveAndWrite(*mouse);
}

void MouseOperations::StoreWords(
    const std::function<void(model::CLumitrekMouseDevice&, Words&)>& edit) {
    auto* mouse = Mouse();
    if (mouse == nullptr) return;
    Words words = mouse->GetSystemWords();
    edit(*mouse, words);
    mouse->SetSystemWords(words);
    mouse->SaveProfile();
}

void MouseOperations::PointerSpeed() {
    StoreWords([](model::CLumitrekMouseDevice& mouse, Words& words) {
        words[0] = Pack(Low(words[0]), Half(mouse.Controls().GetPointerSpeed()));
    });
}

void MouseOperations::PointerPrecision() {
    StoreWords([](model::CLumitrekMouseDevice& mouse, Words& words) {
        words[1] = Pack(mouse.Controls().GetPointerPrecision() ? 1 : 0, High(words[1]));
    });
}

void MouseOperations::ScrollPage() {
    StoreWords([](model::CLumitrekMouseDevice& mouse, Words& words) {
        const bool page = mouse.Controls().GetScrollPage();
        const int lines = mouse.Controls().GetScrollLines();
        mouse.Controls().SetScrolling(page, lines);
        words[1] = Pack(Low(words[1]), page ? 1 : 0);
        words[2] = Pack(Half(lines), High(words[2]));
    });
}

void MouseOperations::ScrollSpeed() {
    StoreWords([](model::CLumitrekMouseDevice& mouse, Words& words) {
        // A number of lines per wheel step is no longer a page at a time.
        const int lines = mouse.Controls().GetScrollLines();
        mouse.Controls().SetScrolling(false, lines);
        words[1] = Pack(Low(words[1]), 0);
        words[2] = Pack(Half(lines), High(words[2]));
    });
}

void MouseOperations::DoubleClickSpeed() {
    StoreWords([](model::CLumitrekMouseDevice& mouse, Words& words) {
        words[0] = Pack(Half(mouse.Controls().GetDoubleClickSpeed()), High(words[0]));
    });
}

void MouseOperations::SettingsPage(long n) {
    if (auto* mouse = Mouse()) mouse->Controls().ShowSettingsPage(static_cast<int>(n));
}

void MouseOperations::VexalSliderMoved(ui::TNotifyUI& msg, long n) {
    auto* slider =
        msg.pSender ? static_cast<ui::CSliderUI*>(msg.pSender->GetInterface("Slider")) : nullptr;
    ui::CControlUI* edit = InWindow(msg, "vexal_DPI_edit_" + std::to_string(n));
    if (slider && edit) edit->SetText(std::to_string(slider->GetValue()));
}

void MouseOperations::VexalEdited(ui::TNotifyUI& msg, long n) {
    ui::CControlUI* edit = msg.pSender;
    if (edit == nullptr) return;
    const std::string text = edit->GetText();
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    value = std::clamp(value, kVexalDpiMin, kVexalDpiMax);
    edit->SetText(std::to_string(value));
    ui::CControlUI* control = InWindow(msg, "vexal_DPI_slider_" + std::to_string(n));
    if (auto* slider =
            control ? static_cast<ui::CSliderUI*>(control->GetInterface("Slider")) : nullptr)
        slider->SetValue(value);
}

}  // namespace panels
