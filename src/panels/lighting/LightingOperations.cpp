// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/lighting/LightingOperations.h"

#include <charconv>
#include <functional>

#include "app/OperationIds.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/PanelLookup.h"
#include "panels/lighting/CLightControlUI.h"
#include "panels/lighting/LightModeLayout.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace panels {

namespace {

LightSetting CurrentSetting(const model::CLumitrekUSBDevice& device) {
    const auto words = device.GetLightSetting();
    return LightSetting::FromWords(words[0], words[1], words[2], words[3]);
}

uint8_t Level(int value, int high) {
    return static_cast<uint8_t>(value < 0 ? 0 : value > high ? high : value);
}

// What the user typed into a colour value: a decimal number, 0 for anything else (empty
// included), at most 255.
int ColourValue(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && *first == ' ') ++first;
    if (first != last && *first == '+') ++first;
    long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) return first != last && *first == '-' ? 0 : 255;
    if (error != std::errc() || end == first) return 0;
    return value < 0 ? 0 : value > 255 ? 255 : static_cast<int>(value);
}

}  // namespace

void LightingOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Call = const app::RouteCall&;
    operations.Register(op::kLightModePicked, [this](Call) { ModePicked(); });
    operations.Register(op::kLightApplyShown, [this](Call) { ApplyShown(); });
    operations.Register(op::kLightBrightness, [this](Call) { Brightness(); });
    operations.Register(op::kLightSpeed, [this](Call) { Speed(); });
    operations.Register(op::kLightZzccModePicked, [this](Call) { ZzccModePicked(); });
    operations.Register(op::kLightSevenColour, [this](Call) { MultiColour(); });
    operations.Register(op::kLightDirection, [this](Call call) { Direction(call.arg); });
    operations.Register(op::kLightColourPicked, [this](Call) { PaletteColour(); });
    operations.Register(op::kLightColourOption, [this](Call call) { Swatch(call.n); });
    operations.Register(op::kLightRgbEdited, [this](Call call) { ColourEdited(call.arg); });
    operations.Register(op::kLightCustomModePicked, [this](Call) { CustomGroupPicked(); });
    operations.Register(op::kLightSameMode, [this](Call) { SameMode(); });
    operations.Register(op::kLightSelectionEnd, [this](Call call) {
        if (call.arg == 0) SelectionEnd();
    });
    operations.Register(op::kLightCustomColour,
                        [this](Call call) { FillCustomColours(call.arg != 0); });
}

CLightControlUI* LightingOperations::PanelOf(model::CLumitrekUSBDevice& device) {
    ui::CControlUI* control = model::FindInPage(device, model::ILightingPanel::kControlName);
    return control ? static_cast<CLightControlUI*>(control->GetInterface("LightControl")) : nullptr;
}

void LightingOperations::SetSeveralDevices(model::CLumitrekUSBDevice& device, bool several) {
    if (CLightControlUI* panel = PanelOf(device)) panel->SetSameModeAllowed(several);
}

bool LightingOperations::Current(model::CLumitrekUSBDevice*& device, CLightControlUI*& panel) {
    device = shell_.CurrentDevice();
    panel = device ? PanelOf(*device) : nullptr;
    return panel != nullptr;
}

void LightingOperations::Apply(model::CLumitrekUSBDevice& device, const LightSetting& setting,
                               bool clearSync) {
    if (clearSync) device.Channel().SetSyncFlag(0);
    const auto words = setting.ToWords();
    device.SetLightSetting(words[0], words[1], words[2], words[3]);
    device.SaveProfile();
    device.ApplyLightSetting();
    device.WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
}

// ---- the effect

void LightingOperations::Change(bool clearSync,
                                const std::function<bool(CLightControlUI&, LightSetting&)>& edit) {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    LightSetting setting = CurrentSetting(*device);
    if (edit(*panel, setting)) Apply(*device, setting, clearSync);
}

namespace {

// The mode the combo shows, with the parts of the page that mode uses; false for none.
bool TakeMode(CLightControlUI& panel, LightSetting& setting) {
    const int mode = panel.GetMode();
    if (mode < 0 || mode > 0xFF) return false;
    panel.SelectMode(mode);
    setting.mode = static_cast<uint8_t>(mode);
    return true;
}

}  // namespace

void LightingOperations::ModePicked() { Change(true, TakeMode); }

void LightingOperations::ApplyShown() {
    Change(true, [](CLightControlUI& panel, LightSetting& setting) {
        if (!TakeMode(panel, setting)) return false;
        setting.brightness = Level(panel.GetBrightness(), LightSetting::kMaxBrightness);
        setting.speed = Level(panel.GetSpeed(), LightSetting::kMaxSpeed);
        setting.red = static_cast<uint8_t>(ColourValue(panel.GetColourText(0)));
        setting.green = static_cast<uint8_t>(ColourValue(panel.GetColourText(1)));
        setting.blue = static_cast<uint8_t>(ColourValue(panel.GetColourText(2)));
        setting.multiColour = panel.GetMultiColour() ? 1 : 0;
        panel.ShowColour(setting.red, setting.green, setting.blue);
        return true;
    });
}

void LightingOperations::Brightness() {
    Change(true, [](CLightControlUI& panel, LightSetting& setting) {
        setting.brightness = Level(panel.GetBrightness(), LightSetting::kMaxBrightness);
        panel.SetBrightness(setting.brightness);
        return true;
    });
}

void LightingOperations::Speed() {
    Change(true, [](CLightControlUI& panel, LightSetting& setting) {
        setting.speed = Level(panel.GetSpeed(), LightSetting::kMaxSpeed);
        panel.SetSpeed(setting.speed);
        return true;
    });
}

void LightingOperations::ZzccModePicked() {
    Change(false, [](CLightControlUI& panel, LightSetting& setting) {
        if (panel.GetKindCode() != device::kKindKeyboard) return false;
        const int zzcc = panel.GetZzccMode();
        panel.SetZzccMode(zzcc);
        setting.zzccMode = static_cast<uint8_t>(zzcc);
        return true;
    });
}

void LightingOperations::MultiColour() {
    Change(true, [](CLightControlUI& panel, LightSetting& setting) {
        setting.multiColour = panel.GetMultiColour() ? 1 : 0;
        return true;
    });
}

void LightingOperations::Direction(int direction) {
    Change(true, [direction](CLightControlUI& panel, LightSetting& setting) {
        panel.SetDirection(direction);
        setting.direction = direction != 0 ? 1 : 0;
        return true;
    });
}

// ---- the colour

void LightingOperations::TakeColour(bool clearSync, const ColourPick& pick) {
    Change(clearSync, [&pick](CLightControlUI& panel, LightSetting& setting) {
        const uint32_t argb = pick(panel, setting);
        setting.red = static_cast<uint8_t>(argb >> 16);
        setting.green = static_cast<uint8_t>(argb >> 8);
        setting.blue = static_cast<uint8_t>(argb);
        setting.multiColour = 0;
        panel.SetMultiColour(false);
        panel.ShowColour(setting.red, setting.green, setting.blue);
        return true;
    });
}

void LightingOperations::PaletteColour() {
    TakeColour(
        true, [](CLightControlUI& panel, const LightSetting&) { return panel.GetPaletteColour(); });
}

void LightingOperations::Swatch(long n) {
    TakeColour(false, [n](CLightControlUI& panel, const LightSetting&) {
        return panel.GetPresetColour(static_cast<int>(n));
    });
}

void LightingOperations::ColourEdited(int channel) {
    if (channel < 0 || channel > 2) return;
    TakeColour(true, [channel](CLightControlUI& panel, const LightSetting& setting) {
        uint8_t rgb[3] = {setting.red, setting.green, setting.blue};
        rgb[channel] = static_cast<uint8_t>(ColourValue(panel.GetColourText(channel)));
        return uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    });
}

// ---- the keyboard's custom colours

void LightingOperations::CustomGroupPicked() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    model::CLumitrekKeyboardDevice* keyboard = model::CLumitrekKeyboardDevice::Of(device);
    const int group = panel->GetCustomGroup();
    if (keyboard == nullptr || group < 0) return;
    keyboard->SelectCustomGroup(group);
    keyboard->SaveProfile();
    keyboard->LoadCustomColours();
}

void LightingOperations::SelectionEnd() {
    model::CLumitrekKeyboardDevice* keyboard =
        model::CLumitrekKeyboardDevice::Of(shell_.CurrentDevice());
    if (keyboard == nullptr) return;
    std::vector<int> selected;
    const auto& leds = keyboard->LedButtons();
    for (std::size_t position = 0; position < leds.size(); ++position) {
        auto* button = leds[position] ? static_cast<ui::CDeviceKeyButtonUI*>(
                                            leds[position]->GetInterface("DeviceKeyButton"))
                                      : nullptr;
        if (button != nullptr && button->IsSelectedByArea())
            selected.push_back(static_cast<int>(position));
    }
    keyboard->SetCustomLedColours(selected);
}

void LightingOperations::FillCustomColours(bool lit) {
    model::CLumitrekKeyboardDevice* keyboard =
        model::CLumitrekKeyboardDevice::Of(shell_.CurrentDevice());
    if (keyboard == nullptr || keyboard->GetCurrentLightSetting().mode !=
                                   model::CLumitrekKeyboardDevice::kCustomColourMode)
        return;
    keyboard->FillCustomColours(lit);
}

// ---- the same effect on every device

void LightingOperations::SameMode() {
    model::CLumitrekUSBDevice* source = shell_.CurrentDevice();
    if (source == nullptr) return;
    const LightSetting from = CurrentSetting(*source);
    const EffectType type = EffectTypeOf(source->GetKind(), from.mode);
    if (type == EffectType::None) return;
    for (model::CLumitrekUSBDevice* target : shell_.ConnectedDevices()) {
        if (target == source || target->GetKind() == source->GetKind()) continue;
        const int mode = ModeOfEffectType(target->GetKind(), type);
        if (mode < 0) continue;
        LightSetting setting = CurrentSetting(*target);
        setting.mode = static_cast<uint8_t>(mode);
        setting.brightness = from.brightness;
        setting.speed = from.speed;
        setting.direction = from.direction;
        setting.multiColour = from.multiColour;
        setting.red = from.red;
        setting.green = from.green;
        setting.blue = from.blue;
        Apply(*target, setting, false);
        if (CLightControlUI* panel = PanelOf(*target)) {
            const auto words = setting.ToWords();
            panel->ShowLightSetting(words[0], words[1], words[2], words[3]);
        }
    }
}

}  // namespace panels
