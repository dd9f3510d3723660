// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/KeyboardLightingHost.h"

#include "model/device/CLumitrekKeyboardDevice.h"

namespace model {

KeyboardLightingHost::KeyboardLightingHost(CLumitrekKeyboardDevice& keyboard)
    : DeviceLightingHost(keyboard), keyboard_(keyboard) {}

void KeyboardLightingHost::StreamCustomColours() {
    keyboard_.StreamCustomColours();
}

void KeyboardLightingHost::LoadCustomColours() {
    keyboard_.LoadCustomColours();
}

int KeyboardLightingHost::KeyCodeOfLed(int led) const {
    if (led < 0 || led >= kKeyPositions) return -1;
    const uint8_t slot = keyboard_.GetPositionMaps().slot[led];
    return slot == PositionMaps::kNotPresent ? -1 : slot;
}

}  // namespace model
