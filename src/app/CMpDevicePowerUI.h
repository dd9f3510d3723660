// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device's power indicator in the device list: battery percentage, charge state,
// wireless link (mice) and the attached phone (mouse pads). The device hands it its power
// reports through model::IPowerIndicator; the children come from its layout
// ("XML\CustomControlXML\MpDevicePower.xml") and are looked up on first use.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/device/IPowerIndicator.h"
#include "ui/CHorizontalLayoutUI.h"

namespace app {

class CMpDevicePowerUI : public ui::CHorizontalLayoutUI, public model::IPowerIndicator {
public:
    static constexpr const char* kClassName = "MpDevicePower";
    static constexpr const char* kLayout = "XML\\CustomControlXML\\MpDevicePower.xml";

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    bool Activate() override;

    void SetKindRole(int kind, int role);
    int GetKind() const { return kind_; }
    int GetRole() const { return role_; }
    int GetPowerParameter() const { return powerParameter_; }

    // ---- model::IPowerIndicator
    void SetPowerParameter(int value) override { powerParameter_ = value; }
    void ShowPowerReport(std::span<const uint8_t> report) override;

private:
    int kind_ = 0;
    int role_ = 0;
    int powerParameter_ = 0;
};

}  // namespace app
