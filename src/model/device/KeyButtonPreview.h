// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device picture's LED buttons as the lighting preview paints them.
#include <vector>

#include "model/lighting/IKeyPreviewSink.h"

namespace ui {
class CControlUI;
}

namespace model {

class KeyButtonPreview final : public lighting::IKeyPreviewSink {
public:
    explicit KeyButtonPreview(const std::vector<ui::CControlUI*>& ledButtons)
        : buttons_(ledButtons) {}

    bool HasVisibleKeyButton(int led) const override;
    void ShowKeyLight(int led, uint32_t colourWord, uint8_t alpha) override;

private:
    ui::CControlUI* Button(int led) const;

    const std::vector<ui::CControlUI*>& buttons_;
};

}  // namespace model
