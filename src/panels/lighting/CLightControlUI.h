// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting page of a device ("LightControlItem"): the effect, its brightness, speed
// and direction, the colour (multi-colour, swatches, values, palette), the keyboard's
// secondary effect and custom colour groups. It shows a device's lighting setting, shows
// and enables its parts by the selected mode and device kind, and gives the handlers
// (LightingOperations) what the user set. Setting a control here raises no notification.
// Controls are found by name in the page and remembered; a missing one makes its setter
// do nothing and its getter answer 0 (opaque black for colours).
//
// UI thread only.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/device/ILightingPanel.h"
#include "ui/CHorizontalLayoutUI.h"
#include "ui/UIDefs.h"

namespace panels {

class CLightControlUI : public ui::CHorizontalLayoutUI, public model::ILightingPanel {
public:
    std::string GetClass() const override;
    // "LightControl" gives this panel, model::ILightingPanel::kInterfaceName its interface.
    void* GetInterface(std::string_view name) override;

    // ---- model::ILightingPanel
    void AttachDevice(model::CLumitrekUSBDevice* device) override { device_ = device; }
    void SetKindCode(int kind) override { kind_ = kind; }
    void FillModeList(const std::vector<std::string>& names,
                      const std::vector<bool>& visible) override;
    void ShowLightSetting(uint32_t word0, uint32_t word1, uint32_t word2, uint32_t word3) override;
    int GetCustomGroup() const override;
    void SelectCustomGroup(int group) override;

    model::CLumitrekUSBDevice* Device() const { return device_; }
    int GetKindCode() const { return kind_; }

    // Selects mode `mode` of the list and shows the parts it uses.
    void SelectMode(int mode);
    int GetMode() const;

    void SetBrightness(int value);
    int GetBrightness() const;
    void SetSpeed(int value);
    int GetSpeed() const;
    // Channel 0 red, 1 green, 2 blue.
    void SetColourText(int channel, const std::string& text);
    std::string GetColourText(int channel) const;
    void SetZzccMode(int mode);
    int GetZzccMode() const;
    void SetPaletteColour(ui::Color argb);
    ui::Color GetPaletteColour() const;
    void SetColourButton(ui::Color argb);
    ui::Color GetColourButton() const;
    void SetMultiColour(bool on);
    bool GetMultiColour() const;
    // 1 selects "deng_FXL_check", 0 "deng_FXR_check".
    void SetDirection(int direction);
    int GetDirection() const;
    ui::Color GetPresetColour(int n) const;
    // Shows red, green and blue in the three values, the palette and the colour button.
    void ShowColour(uint8_t red, uint8_t green, uint8_t blue);

    // "deng_same_mode" is shown when `show` and several devices are connected.
    void ShowSameMode(bool show);
    void SetSameModeAllowed(bool allowed);
    bool IsSameModeAllowed() const { return sameModeAllowed_; }
    void ApplyModeLayout(int kind, int mode);

private:
    ui::CControlUI* Find(const std::string& name) const;
    template <class T>
    T* Find(const std::string& name, const char* interfaceName) const {
        ui::CControlUI* control = Find(name);
        return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }
    void EnablePart(const char* name, bool enabled);
    void ShowPart(const char* name, bool shown);

    model::CLumitrekUSBDevice* device_ = nullptr;
    int kind_ = 0;
    bool sameModeAllowed_ = false;
    mutable std::map<std::string, ui::CControlUI*, std::less<>> controls_;
};

}  // namespace panels
