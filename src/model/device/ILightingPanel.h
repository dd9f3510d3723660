// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a device needs of its page's lighting panel ("LightControlItem").
#include <cstdint>
#include <string>
#include <vector>

namespace model {

class CLumitrekUSBDevice;

class ILightingPanel {
public:
    virtual ~ILightingPanel() = default;

    static constexpr const char* kInterfaceName = "ILightingPanel";
    static constexpr const char* kControlName = "LightControlItem";

    virtual void AttachDevice(CLumitrekUSBDevice* device) = 0;
    virtual void SetKindCode(int kind) = 0;
    // The mode selector: item i is mode i, hidden where `visible` is false.
    virtual void FillModeList(const std::vector<std::string>& names,
                              const std::vector<bool>& visible) = 0;
    virtual void ShowLightSetting(uint32_t word0, uint32_t word1, uint32_t word2,
                                  uint32_t word3) = 0;
    // The custom-colour group selected in "light_combo_custommodeSelect"; -1 when none.
    virtual int GetCustomGroup() const = 0;
    // Selects that group in the combo without a notification.
    virtual void SelectCustomGroup(int group) = 0;
};

}  // namespace model
