// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CSliderUI.h"

#include <algorithm>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

std::string CSliderUI::GetClass() const { return "Slider"; }

void* CSliderUI::GetInterface(std::string_view name) {
    if (name == "Slider") return this;
    return CProgressUI::GetInterface(name);
}

unsigned CSliderUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_SETCURSOR : 0u; }

void CSliderUI::SetChangeStep(int step) { m_nStep = step > 0 ? step : 1; }

Size CSliderUI::GetThumbSize() const { return Size{Scale(m_szThumb.cx), Scale(m_szThumb.cy)}; }

void CSliderUI::SetThumbSize(Size size) {
    m_szThumb = size;
    Invalidate();
}

void CSliderUI::SetThumbImage(std::string_view image) {
    m_sThumbImage = image;
    Invalidate();
}
void CSliderUI::SetThumbHotImage(std::string_view image) {
    m_sThumbHotImage = image;
    Invalidate();
}
void CSliderUI::SetThumbPushedImage(std::string_view image) {
    m_sThumbPushedImage = image;
    Invalidate();
}

Rect CSliderUI::GetThumbRect() const {
    const Size thumb = GetThumbSize();
    const int range = m_nMax - m_nMin;
    const long long done = m_nValue - m_nMin;
    if (m_bHorizontal) {
        int travel = std::max(0, m_rcItem.Width() - thumb.cx);
        int left = m_rcItem.left + (range > 0 ? static_cast<int>(done * travel / range) : 0);
        int top = (m_rcItem.top + m_rcItem.bottom - thumb.cy) / 2;
        return Rect{left, top, left + thumb.cx, top + thumb.cy};
    }
    int travel = std::max(0, m_rcItem.Height() - thumb.cy);
    int top = m_rcItem.bottom - thumb.cy - (range > 0 ? static_cast<int>(done * travel / range) : 0);
    int left = (m_rcItem.left + m_rcItem.right - thumb.cx) / 2;
    return Rect{left, top, left + thumb.cx, top + thumb.cy};
}

int CSliderUI::ValueAt(Point pt) const {
    const Size thumb = GetThumbSize();
    const int range = m_nMax - m_nMin;
    long long offset;
    long long travel;
    if (m_bHorizontal) {
        travel = std::max(1, m_rcItem.Width() - thumb.cx);
        offset = pt.x - m_rcItem.left - thumb.cx / 2;
    } else {
        travel = std::max(1, m_rcItem.Height() - thumb.cy);
        offset = m_rcItem.bottom - thumb.cy / 2 - pt.y;
    }
    offset = std::clamp<long long>(offset, 0, travel);
    // Round to the nearest value so that the thumb lands where it was dropped.
    long long value = m_nMin + (offset * range + travel / 2) / travel;
    return static_cast<int>(std::clamp<long long>(value, m_nMin, m_nMax));
}

void CSliderUI::SetEnabled(bool enabled) {
    CProgressUI::SetEnabled(enabled);
    if (!enabled) m_uButtonState = 0;
}

void CSliderUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case EventType::ButtonDown:
    case EventType::DblClick:
        if (IsEnabled() && IsMouseEnabled()) {
            m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
            int value = ValueAt(event.ptMouse);
            if (value != m_nValue) {
                m_nValue = value;
                if (m_bSendMove && m_pManager != nullptr)
                    m_pManager->SendNotify(this, "movevaluechanged");
            }
            Invalidate();
        }
        return;
    case EventType::MouseMove:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            int value = ValueAt(event.ptMouse);
            if (value != m_nValue) {
                m_nValue = value;
                Invalidate();
                if (m_bSendMove && m_pManager != nullptr)
                    m_pManager->SendNotify(this, "movevaluechanged");
            }
        }
        return;
    case EventType::ButtonUp:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
            m_nValue = ValueAt(event.ptMouse);
            Invalidate();
            if (m_pManager != nullptr) m_pManager->SendNotify(this, "valuechanged");
        }
        return;
    case EventType::ScrollWheel:
        if (IsEnabled()) {
            int value = std::clamp(m_nValue + (event.lParam > 0 ? m_nStep : -m_nStep), m_nMin, m_nMax);
            if (value != m_nValue) {
                m_nValue = value;
                Invalidate();
                if (m_pManager != nullptr) m_pManager->SendNotify(this, "valuechanged");
            }
            return;
        }
        break;
    case EventType::MouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventType::MouseLeave:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case EventType::SetCursor:
        return;
    default:
        break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::PaintStatusImage(IRenderTarget& target) {
    CProgressUI::PaintStatusImage(target);
    const std::string* image = &m_sThumbImage;
    if ((m_uButtonState & UISTATE_CAPTURED) != 0 && !m_sThumbPushedImage.empty())
        image = &m_sThumbPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sThumbHotImage.empty())
        image = &m_sThumbHotImage;
    if (!image->empty()) DrawImageAt(target, GetThumbRect(), *image);
}

void CSliderUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "thumbimage") SetThumbImage(value);
    else if (name == "thumbhotimage") SetThumbHotImage(value);
    else if (name == "thumbpushedimage") SetThumbPushedImage(value);
    else if (name == "thumbsize") SetThumbSize(ParseSize(value));
    else if (name == "step") SetChangeStep(ParseInt(value));
    else if (name == "sendmove") SetSendMove(ParseBool(value));
    else CProgressUI::SetAttribute(name, value);
}

}  // namespace ui
