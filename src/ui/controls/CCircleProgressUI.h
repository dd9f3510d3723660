// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A progress shown as a ring: the background colour fills the whole disc, the value fills
// a slice that starts at the bottom and runs clockwise, and a white disc over the middle
// leaves only the rim visible.
#include "ui/CProgressUI.h"

namespace ui {

class CCircleProgressUI : public CProgressUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // The slice the value covers, in degrees (0 when the range is empty).
    float GetSweepAngle() const;

    void PaintBkColor(IRenderTarget& target) override;
    void PaintForeColor(IRenderTarget& target) override;
    // The bar image of a plain progress has no place on a ring.
    void PaintForeImage(IRenderTarget& target) override;

    static constexpr float kStartAngle = 90.0f;  // six o'clock
    static constexpr int kRingWidth = 10;        // at 96 DPI
    static constexpr Color kCentreColor = 0xFFFFFFFF;
};

}  // namespace ui
