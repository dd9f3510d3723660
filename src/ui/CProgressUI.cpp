// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CProgressUI.h"

#include <algorithm>
#include <string>

#include "ui/AttributeText.h"
#include "ui/IRenderTarget.h"

namespace ui {

std::string CProgressUI::GetClass() const { return "Progress"; }

void* CProgressUI::GetInterface(std::string_view name) {
    if (name == "Progress") return this;
    return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
    m_bHorizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int min) {
    m_nMin = min;
    if (m_nMax < m_nMin) m_nMax = m_nMin;
    m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
    Invalidate();
}

void CProgressUI::SetMaxValue(int max) {
    m_nMax = max;
    if (m_nMin > m_nMax) m_nMin = m_nMax;
    m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
    Invalidate();
}

void CProgressUI::SetValue(int value) {
    value = std::clamp(value, m_nMin, m_nMax);
    if (value == m_nValue) return;
    m_nValue = value;
    Invalidate();
}

void CProgressUI::SetForeColor(Color color) {
    m_dwForeColor = color;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool stretch) {
    m_bStretchForeImage = stretch;
    Invalidate();
}

Rect CProgressUI::GetValueRect() const {
    Rect rc = m_rcItem;
    const int range = m_nMax - m_nMin;
    const long long done = m_nValue - m_nMin;
    if (m_bHorizontal) {
        int width = range > 0 ? static_cast<int>(done * rc.Width() / range) : 0;
        rc.right = rc.left + width;
    } else {
        int height = range > 0 ? static_cast<int>(done * rc.Height() / range) : 0;
        rc.top = rc.bottom - height;
    }
    return rc;
}

void CProgressUI::PaintForeColor(IRenderTarget& target) {
    if ((m_dwForeColor >> 24) == 0) return;
    Rect rc = GetValueRect();
    if (!rc.IsEmpty()) target.FillRect(rc, m_dwForeColor);
}

void CProgressUI::PaintForeImage(IRenderTarget& target) {
    if (m_sForeImage.empty()) return;
    Rect rc = GetValueRect();
    if (rc.IsEmpty()) return;
    if (m_bStretchForeImage) {
        DrawImageAt(target, rc, m_sForeImage);
        return;
    }
    // Unstretched: show the matching part of the image.
    int w = rc.Width();
    int h = rc.Height();
    int top = m_bHorizontal ? 0 : m_rcItem.Height() - h;
    std::string source = "source='0," + std::to_string(top) + "," + std::to_string(w) + "," +
                         std::to_string(top + h) + "'";
    DrawImageAt(target, rc, m_sForeImage, source);
}

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "hor") SetHorizontal(ParseBool(value));
    else if (name == "min") SetMinValue(ParseInt(value));
    else if (name == "max") SetMaxValue(ParseInt(value));
    else if (name == "value") SetValue(ParseInt(value));
    else if (name == "forecolor") SetForeColor(ParseColor(value));
    else if (name == "isstretchfore") SetStretchForeImage(ParseBool(value));
    else CLabelUI::SetAttribute(name, value);
}

}  // namespace ui
