#include "panels/lighting/LightingOperations.h"

#include <charconv>

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

model::CLumitrekKeyboardDevice* KeyboardOf(model::CLumitrekUSBDevice* device) {
    return device ? static_cast<model::CLumitrekKeyboardDevice*>(
                        device->GetInterface("LumitrekKeyboardDevice"))
                  : nullptr;
}

}  // namespace

void LightingOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Call = const app::RouteCall&;
    operations.Register(op::kLightModePicked, [this](Call) { ModePicked(); });
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

void LightingOperations::ModePicked() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    const int mode = panel->GetMode();
    if (mode < 0 || mode > 0xFF) return;
    panel->SelectMode(mode);
    LightSetting setting = CurrentSetting(*device);
    setting.mode = static_cast<uint8_t>(mode);
    Apply(*device, setting, true);
}

void LightingOperations::Brightness() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    LightSetting setting = CurrentSetting(*device);
    setting.brightness = Level(panel->GetBrightness(), CLightControlUI::kMaxBrightness);
    panel->SetBrightness(setting.brightness);
    Apply(*device, setting, true);
}

void LightingOperations::Speed() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    LightSetting setting = CurrentSetting(*device);
    setting.speed = Level(panel->GetSpeed(), CLightControlUI::kMaxSpeed);
    panel->SetSpeed(setting.speed);
    Apply(*device, setting, true);
}

void LightingOperations::ZzccModePicked() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel) || device->GetKind() != device::kKindKeyboard) return;
    const int zzcc = panel->GetZzccMode();
    panel->SetZzccMode(zzcc);
    LightSetting setting = CurrentSetting(*device);
    setting.zzccMode = static_cast<uint8_t>(zzcc);
    Apply(*device, setting, false);
}

void LightingOperations::MultiColour() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    LightSetting setting = CurrentSetting(*device);
    setting.multiColour = panel->GetMultiColour() ? 1 : 0;
    Apply(*device, setting, true);
}

void LightingOperations::Direction(int direction) {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    panel->SetDirection(direction);
    LightSetting setting = CurrentSetting(*device);
    setting.direction = direction != 0 ? 1 : 0;
    Apply(*device, setting, true);
}

// ---- the colour

void LightingOperations::TakeColour(uint32_t argb, bool clearSync, bool toPalette) {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    LightSetting setting = CurrentSetting(*device);
    setting.red = static_cast<uint8_t>(argb >> 16);
    setting.green = static_cast<uint8_t>(argb >> 8);
    setting.blue = static_cast<uint8_t>(argb);
    setting.multiColour = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const uint8_t value = channel == 0   ? setting.red
                              : channel == 1 ? setting.green
                                             : setting.blue;
        panel->SetColourText(channel, std::to_string(value));
    }
    panel->SetMultiColour(false);
    panel->SetColourButton(argb);
    if (toPalette) panel->SetPaletteColour(argb);
    Apply(*device, setting, clearSync);
}

void LightingOperations::PaletteColour() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    TakeColour(panel->GetPaletteColour(), true, false);
}

void LightingOperations::Swatch(long n) {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    TakeColour(panel->GetPresetColour(static_cast<int>(n)), false, true);
}

void LightingOperations::ColourEdited(int channel) {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel) || channel < 0 || channel > 2) return;
    const int value = ColourValue(panel->GetColourText(channel));
    panel->SetColourText(channel, std::to_string(value));
    LightSetting setting = CurrentSetting(*device);
    (channel == 0   ? setting.red
     : channel == 1 ? setting.green
                    : setting.blue) = static_cast<uint8_t>(value);
    setting.multiColour = 0;
    panel->SetMultiColour(false);
    const uint32_t argb =
        0xFF000000u | uint32_t{setting.red} << 16 | uint32_t{setting.green} << 8 | setting.blue;
    panel->SetPaletteColour(argb);
    panel->SetColourButton(argb);
    Apply(*device, setting, true);
}

// ---- the keyboard's custom colours

void LightingOperations::CustomGroupPicked() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    model::CLumitrekKeyboardDevice* keyboard = KeyboardOf(device);
    const int group = panel->GetCustomGroup();
    if (keyboard == nullptr || group < 0) return;
    keyboard->SelectCustomGroup(group);
    keyboard->SaveProfile();
    keyboard->LoadCustomColours();
}

void LightingOperations::SelectionEnd() {
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    model::CLumitrekKeyboardDevice* keyboard = KeyboardOf(device);
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
    model::CLumitrekUSBDevice* device = nullptr;
    CLightControlUI* panel = nullptr;
    if (!Current(device, panel)) return;
    model::CLumitrekKeyboardDevice* keyboard = KeyboardOf(device);
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
