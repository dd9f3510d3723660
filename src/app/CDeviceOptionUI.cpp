// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CDeviceOptionUI.h"

#include "device/scanner/DeviceKind.h"
#include "ui/CLabelUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"

namespace app {

namespace {

// Kinds the icon table knows beyond the device kinds this program creates objects for.
constexpr int kKindHeadsetAlt = 4;
constexpr int kKindHub = 5;

}  // namespace

CDeviceOptionUI::Icons CDeviceOptionUI::Icons::For(std::string_view key) {
    const std::string base = "common/device_ico/" + std::string(key);
    return Icons{base + "_device_synchro_selected.png", base + "_device_synchro_normal.png",
                 base + "_device_selected.png", base + "_device_normal.png",
                 std::string(key) + "_device_name_text"};
}

std::string CDeviceOptionUI::IconKey(int kind, int role) {
    switch (kind) {
        case device::kKindKeyboard:
            return "kb";
        case device::kKindMouse:
            return "ms";
        case device::kKindMousePad:
            if (role == 0) return "hard_mp";
            if (role == 1) return "soft_mp";
            return {};
        case kKindHeadsetAlt:
        case device::kKindHeadset:
            return "hd";
        case kKindHub:
            return "hub";
        default:
            return "unknow";
    }
}

std::string CDeviceOptionUI::GetClass() const {
    return kClassName;
}

void* CDeviceOptionUI::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

bool CDeviceOptionUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "selectchanged");
    return true;
}

void CDeviceOptionUI::SetVisible(bool visible) {
    visible_ = visible;
    CHorizontalLayoutUI::SetVisible(visible);
}

ui::COptionUI* CDeviceOptionUI::FindOption(ui::COptionUI*& cache, std::string_view name) {
    if (cache == nullptr) {
        ui::CControlUI* control = FindSubControl(name);
        if (control != nullptr)
            cache = static_cast<ui::COptionUI*>(control->GetInterface("Option"));
    }
    return cache;
}

ui::COptionUI* CDeviceOptionUI::DeviceSelect() {
    return FindOption(deviceSelect_, "device_select");
}

ui::COptionUI* CDeviceOptionUI::SynchroSelect() {
    return FindOption(synchroSelect_, "synchro_device_select");
}

ui::CLabelUI* CDeviceOptionUI::NameLabel() {
    if (nameLabel_ == nullptr) {
        ui::CControlUI* control = FindSubControl("device_select_name");
        if (control != nullptr)
            nameLabel_ = static_cast<ui::CLabelUI*>(control->GetInterface("Label"));
    }
    return nameLabel_;
}

void CDeviceOptionUI::SetGroupName(std::string_view group) {
    if (ui::COptionUI* option = DeviceSelect()) option->SetGroup(group);
}

void CDeviceOptionUI::BindTabLayout(std::string_view layoutName, int index) {
    if (ui::COptionUI* option = DeviceSelect()) {
        option->SetBindTabLayoutName(layoutName);
        option->SetBindTabLayoutIndex(index);
    }
}

int CDeviceOptionUI::GetBindTabIndex() {
    ui::COptionUI* option = DeviceSelect();
    return option != nullptr ? option->GetBindTabLayoutIndex() : -1;
}

void CDeviceOptionUI::SetPowerTab(std::string_view layoutName, int index) {
    powerTabName_ = layoutName;
    powerTabIndex_ = index;
}

void CDeviceOptionUI::SetIconsFor(int kind, int role) {
    const std::string key = IconKey(kind, role);
    if (key.empty()) return;
    icons_ = Icons::For(key);
    ResetSelectImages();
    if (ui::COptionUI* option = DeviceSelect()) option->SetToolTip(icons_.toolTip);
}

void CDeviceOptionUI::ResetSelectImages() {
    ui::COptionUI* option = DeviceSelect();
    if (option == nullptr) return;
    option->SetNormalImage(icons_.normal);
    option->SetDisabledImage(icons_.normal);
    option->SetSelectedImage(icons_.selected);
}

void CDeviceOptionUI::SetDeviceName(std::string_view name) {
    if (ui::CLabelUI* label = NameLabel()) label->SetText(name);
}

bool CDeviceOptionUI::IsDeviceSelected() {
    ui::COptionUI* option = DeviceSelect();
    return option != nullptr && option->IsSelected();
}

bool CDeviceOptionUI::IsSynchroSelected() {
    ui::COptionUI* option = SynchroSelect();
    return option != nullptr && option->IsSelected();
}

}  // namespace app
