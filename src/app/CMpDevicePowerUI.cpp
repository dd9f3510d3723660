// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMpDevicePowerUI.h"

#include <algorithm>
#include <array>

#include "device/protocol/ReportFrame.h"
#include "device/scanner/DeviceKind.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CProgressUI.h"

namespace app {

namespace {

// Report bytes.
constexpr std::size_t kPercentage = 0;
constexpr std::size_t kState = 1;
constexpr std::size_t kWireless = 3;
constexpr std::size_t kPhoneType = 5;

constexpr uint8_t kStatePowered = 0;
constexpr uint8_t kStateCharging = 1;
constexpr uint8_t kStateBattery = 2;

struct PhoneLook {
    const char* toolTip;
    const char* image;
};

PhoneLook PhoneLookFor(uint8_t type) {
    switch (type) {
        case 1:
            return {"Phone_type_iphone", "file='power/Phone_type_iphone.png'"};
        case 2:
            return {"Phone_type_samsung", "file='power/Phone_type_samsung.png'"};
        case 3:
            return {"Phone_type_other", "file='power/Phone_type_other.png'"};
        default:
            return {"Phone_type_no_device", "file='power/Phone_type_no_device.png'"};
    }
}

}  // namespace

std::string CMpDevicePowerUI::GetClass() const {
    return kClassName;
}

void* CMpDevicePowerUI::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    if (name == model::IPowerIndicator::kInterfaceName)
        return static_cast<model::IPowerIndicator*>(this);
    return CHorizontalLayoutUI::GetInterface(name);
}

bool CMpDevicePowerUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "selectchanged");
    return true;
}

void CMpDevicePowerUI::SetKindRole(int kind, int role) {
    kind_ = kind;
    role_ = role;
}

void CMpDevicePowerUI::ShowPowerReport(std::span<const uint8_t> report) {
    // A report is at most one device report; a shorter one reads as padded with zeros.
    device::Report bytes{};
    std::copy_n(report.begin(), std::min(report.size(), bytes.size()), bytes.begin());
    const int percentage = bytes[kPercentage];
    const bool wireless = bytes[kWireless] != 0;

    if (ui::CControlUI* value = FindSubControl("device_power_value"))
        value->SetText(std::to_string(percentage) + "%");
    ui::CControlUI* progressControl = FindSubControl("device_Power_progress");
    auto* progress = progressControl != nullptr
                         ? static_cast<ui::CProgressUI*>(progressControl->GetInterface("Progress"))
                         : nullptr;
    // A reading above 100 % would make the bar's remainder negative.
    if (progress != nullptr) progress->SetValue(100 - std::min(percentage, 100));

    if (kind_ == device::kKindMouse) {
        if (ui::CControlUI* logo = FindSubControl("device_wuxian_logo")) logo->SetVisible(wireless);
    }

    ui::CControlUI* status = FindSubControl("device_power_status");
    auto show = [&](bool progressVisible, const char* image) {
        if (progressControl != nullptr) progressControl->SetVisible(progressVisible);
        if (status != nullptr) status->SetBkImage(image);
    };
    switch (bytes[kState]) {
        case kStatePowered:
            show(true, "file='power/powered.png'");
            break;
        case kStateCharging:
            if (wireless)
                show(false, "file='power/wuxian_powering.png'");
            else
                show(true, "file='power/powering.png'");
            break;
        case kStateBattery:
            show(true, "file='power/power.png'");
            break;
        default:
            break;
    }

    if (kind_ == device::kKindMousePad) {
        if (ui::CControlUI* phone = FindSubControl("device_phone_type")) {
            const PhoneLook look = PhoneLookFor(bytes[kPhoneType]);
            phone->SetToolTip(look.toolTip);
            phone->SetBkImage(look.image);
        }
    }
}

}  // namespace app
