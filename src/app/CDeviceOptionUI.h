// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One tab of the device list: the card that stands for a device object. Its children come
// from its layout ("XML\CustomControlXML\DeviceOption.xml"): "device_select" (the option
// that makes the device current; grouped with the other tabs and bound to the device's
// page), "synchro_device_select" (synchronised lighting, hidden) and "device_select_name".
// The tab also carries the device's timers: the skin library delivers them to the tab,
// and the device list hands them on to the device (see model::DeviceTabTimers).
#include <string>
#include <string_view>

#include "ui/CHorizontalLayoutUI.h"

namespace ui {
class CLabelUI;
class COptionUI;
}  // namespace ui

namespace model {
class CLumitrekUSBDevice;
}

namespace app {

class CMpDevicePowerUI;

class CDeviceOptionUI : public ui::CHorizontalLayoutUI {
public:
    static constexpr const char* kClassName = "DeviceOption";
    static constexpr const char* kLayout = "XML\\CustomControlXML\\DeviceOption.xml";

    // The card images and tool-tip key of one icon set ("kb", "hard_mp", ...).
    struct Icons {
        std::string synchroSelected;
        std::string synchroNormal;
        std::string selected;
        std::string normal;
        std::string toolTip;
        static Icons For(std::string_view key);
    };
    // The icon set of a device kind and role: empty when the kind and role leave the
    // current icons as they are (a mouse pad with a role other than 0 or 1).
    static std::string IconKey(int kind, int role);

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    bool Activate() override;
    void SetVisible(bool visible = true) override;

    // ---- children (null when the layout lacks them)
    ui::COptionUI* DeviceSelect();
    ui::COptionUI* SynchroSelect();
    ui::CLabelUI* NameLabel();

    // ---- set up by the device list
    void SetDevice(model::CLumitrekUSBDevice* device) { device_ = device; }
    model::CLumitrekUSBDevice* GetDevice() const { return device_; }
    void SetPowerIndicator(CMpDevicePowerUI* indicator) { powerIndicator_ = indicator; }
    CMpDevicePowerUI* GetPowerIndicator() const { return powerIndicator_; }
    void SetGroupName(std::string_view group);
    // Selecting "device_select" shows page `index` of the tab layout `layoutName`.
    void BindTabLayout(std::string_view layoutName, int index);
    int GetBindTabIndex();
    void SetPowerTab(std::string_view layoutName, int index);
    const std::string& GetPowerTabName() const { return powerTabName_; }
    int GetPowerTabIndex() const { return powerTabIndex_; }
    // Chooses the icon set of the kind and role; "device_select" shows it at once.
    void SetIconsFor(int kind, int role);
    const Icons& GetIcons() const { return icons_; }
    // "device_select" shows the plain card again (normal, disabled and selected images).
    void ResetSelectImages();
    void SetDeviceName(std::string_view name);

    // ---- state
    bool IsTabVisible() const { return visible_; }
    bool IsDeviceSelected();
    bool IsSynchroSelected();

private:
    ui::COptionUI* FindOption(ui::COptionUI*& cache, std::string_view name);

    model::CLumitrekUSBDevice* device_ = nullptr;
    CMpDevicePowerUI* powerIndicator_ = nullptr;
    ui::COptionUI* deviceSelect_ = nullptr;
    ui::COptionUI* synchroSelect_ = nullptr;
    ui::CLabelUI* nameLabel_ = nullptr;
    Icons icons_ = Icons::For("unknow");
    bool visible_ = true;
    std::string powerTabName_;
    int powerTabIndex_ = -1;
};

}  // namespace app
