// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/KeyButtonPreview.h"

#include "ui/controls/CDeviceKeyButtonUI.h"

namespace model {

ui::CControlUI* KeyButtonPreview::Button(int led) const {
    if (led < 0 || led >= static_cast<int>(buttons_.size())) return nullptr;
    return buttons_[led];
}

bool KeyButtonPreview::HasVisibleKeyButton(int led) const {
    const ui::CControlUI* button = Button(led);
    return button != nullptr && button->IsVisible();
}

void KeyButtonPreview::ShowKeyLight(int led, uint32_t colourWord, uint8_t alpha) {
    ui::CControlUI* control = Button(led);
    auto* button =
        control ? static_cast<ui::CDeviceKeyButtonUI*>(control->GetInterface("DeviceKeyButton"))
                : nullptr;
    if (button) button->SetLightColour(colourWord, alpha, true);
}

}  // namespace model
