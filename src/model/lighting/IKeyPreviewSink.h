// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key buttons of the device picture as the preview refresh sees them. The device
// adapts its key-button controls to this.
#include <cstdint>

namespace lighting {

class IKeyPreviewSink {
public:
    virtual ~IKeyPreviewSink() = default;

    // LED position `led` has a key button on the picture and that button is visible.
    virtual bool HasVisibleKeyButton(int led) const = 0;
    // Hands the button its colour word (red | blue << 8 | green << 16) and alpha, and turns
    // its light overlay on.
    virtual void ShowKeyLight(int led, uint32_t colourWord, uint8_t alpha) = 0;
};

}  // namespace lighting
