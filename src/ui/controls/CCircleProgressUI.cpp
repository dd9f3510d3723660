// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CCircleProgressUI.h"

#include "ui/IRenderTarget.h"

namespace ui {

std::string CCircleProgressUI::GetClass() const {
    return "CircleProgress";
}

void* CCircleProgressUI::GetInterface(std::string_view name) {
    if (name == "CircleProgress") return this;
    return CProgressUI::GetInterface(name);
}

float CCircleProgressUI::GetSweepAngle() const {
    const int range = m_nMax - m_nMin;
    if (range <= 0) return 0.0f;
    // Measured from the minimum: a range of 50..150 at 50 is an empty ring, not half a one.
    const double done = static_cast<double>(m_nValue) - m_nMin;
    return static_cast<float>(done / range * 360.0);
}

void CCircleProgressUI::PaintBkColor(IRenderTarget& target) {
    if ((m_dwBackColor >> 24) == 0) return;
    target.SetAntiAlias(true);
    target.FillPie(m_rcItem, 0.0f, 360.0f, m_dwBackColor);
    target.SetAntiAlias(false);
}

void CCircleProgressUI::PaintForeColor(IRenderTarget& target) {
    target.SetAntiAlias(true);
    const float sweep = GetSweepAngle();
    if ((m_dwForeColor >> 24) != 0 && sweep > 0.0f)
        target.FillPie(m_rcItem, kStartAngle, sweep, m_dwForeColor);
    const int inset = Scale(kRingWidth);
    Rect centre = m_rcItem.Deflate(Rect{inset, inset, inset, inset});
    if (!centre.IsEmpty()) target.FillPie(centre, 0.0f, 360.0f, kCentreColor);
    target.SetAntiAlias(false);
}

void CCircleProgressUI::PaintForeImage(IRenderTarget& /*target*/) {}

}  // namespace ui
