// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CHandImgButtonUI.h"

#include "ui/CPaintManagerUI.h"

namespace ui {

std::string CHandImgButtonUI::GetClass() const {
    return "HandImgButton";
}

void* CHandImgButtonUI::GetInterface(std::string_view name) {
    if (name == "HandImgButton") return this;
    return CButtonUI::GetInterface(name);
}

void CHandImgButtonUI::SetHandImage(std::string_view image) {
    if (m_sHandImage == image) return;
    m_sHandImage = image;
    Invalidate();
}

void CHandImgButtonUI::SetDeleteNormalImage(std::string_view image) {
    // Until the pointer has moved over the button, the mark shows in its normal look.
    if (m_sDeleteImage.empty() || m_sDeleteImage == m_sDeleteNormalImage) m_sDeleteImage = image;
    m_sDeleteNormalImage = image;
    Invalidate();
}

void CHandImgButtonUI::SetDeleteHotImage(std::string_view image) {
    if (!m_sDeleteImage.empty() && m_sDeleteImage == m_sDeleteHotImage) m_sDeleteImage = image;
    m_sDeleteHotImage = image;
    Invalidate();
}

void CHandImgButtonUI::SetDeleteDisabled(bool disabled) {
    if (m_bDeleteDisabled == disabled) return;
    m_bDeleteDisabled = disabled;
    Invalidate();
}

Rect CHandImgButtonUI::GetDeleteRect() const {
    const int left = m_rcItem.right - Scale(kDeleteFromRight);
    const int top = m_rcItem.bottom - Scale(kDeleteFromBottom);
    const int size = Scale(kDeleteSize);
    return Rect{left, top, left + size, top + size};
}

void CHandImgButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled()) {
        CButtonUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case EventType::MouseMove: {
            const std::string& wanted =
                GetDeleteRect().Contains(event.ptMouse) ? m_sDeleteHotImage : m_sDeleteNormalImage;
            if (m_sDeleteImage != wanted) {
                m_sDeleteImage = wanted;
                Invalidate();
            }
            CButtonUI::DoEvent(event);  // the pushed state follows the pointer while captured
            return;
        }
        case EventType::ButtonUp: {
            if ((m_uButtonState & UISTATE_CAPTURED) == 0) return;
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (CanDelete() && GetDeleteRect().Contains(event.ptMouse)) {
                if (m_pManager != nullptr) m_pManager->SendNotify(this, "click_handdelete");
            } else if (m_rcItem.Contains(event.ptMouse)) {
                Activate();
            }
            return;
        }
        case EventType::MouseEnter:
            if (!IsEnabled()) return;
            CButtonUI::DoEvent(event);
            if (m_pManager != nullptr) m_pManager->SendNotify(this, "msenter");
            return;
        case EventType::MouseLeave:
            CButtonUI::DoEvent(event);  // a disabled button must not stay hot either
            if (IsEnabled() && m_pManager != nullptr) m_pManager->SendNotify(this, "msleave");
            return;
        default:
            CButtonUI::DoEvent(event);
            return;
    }
}

void CHandImgButtonUI::PaintStatusImage(IRenderTarget& target) {
    CButtonUI::PaintStatusImage(target);
    DrawImage(target, m_sHandImage);
    if ((m_uButtonState & UISTATE_HOT) != 0 && CanDelete())
        DrawImageAt(target, GetDeleteRect(), m_sDeleteImage);
}

void CHandImgButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "handimage")
        SetHandImage(value);
    else if (name == "deletenormalimage")
        SetDeleteNormalImage(value);
    else if (name == "deletehotimage")
        SetDeleteHotImage(value);
    else
        CButtonUI::SetAttribute(name, value);
}

}  // namespace ui
