// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard as its lighting engine's host: the custom-colour stream and the key codes
// of its LEDs come from the keyboard device.
#include "model/device/DeviceLightingHost.h"
#include "model/lighting/ILightingHost.h"

namespace model {

class CLumitrekKeyboardDevice;

class KeyboardLightingHost final : public DeviceLightingHost<lighting::IKeyboardLightingHost> {
public:
    explicit KeyboardLightingHost(CLumitrekKeyboardDevice& keyboard);

    void StreamCustomColours() override;
    void LoadCustomColours() override;
    int KeyCodeOfLed(int led) const override;

private:
    CLumitrekKeyboardDevice& keyboard_;
};

}  // namespace model
