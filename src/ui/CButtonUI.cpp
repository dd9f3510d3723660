// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CButtonUI.h"

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

namespace {

bool IsMouseEvent(EventType type) {
    switch (type) {
    case EventType::MouseMove:
    case EventType::MouseEnter:
    case EventType::MouseLeave:
    case EventType::MouseHover:
    case EventType::ButtonDown:
    case EventType::ButtonUp:
    case EventType::DblClick:
    case EventType::RButtonDown:
    case EventType::RButtonUp:
    case EventType::ScrollWheel:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string CButtonUI::GetClass() const { return "Button"; }

void* CButtonUI::GetInterface(std::string_view name) {
    if (name == "Button") return this;
    return CLabelUI::GetInterface(name);
}

unsigned CButtonUI::GetControlFlags() const {
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0u) | (IsEnabled() ? UIFLAG_SETCURSOR : 0u);
}

void CButtonUI::SetButtonState(unsigned state) {
    if (m_uButtonState == state) return;
    m_uButtonState = state;
    Invalidate();
}

#define TX512_IMAGE_SETTER(Name, member)            \
    void CButtonUI::Set##Name(std::string_view image) { \
        if (member == image) return;                \
        member = image;                             \
        Invalidate();                               \
    }
TX512_IMAGE_SETTER(NormalImage, m_sNormalImage)
TX512_IMAGE_SETTER(HotImage, m_sHotImage)
TX512_IMAGE_SETTER(PushedImage, m_sPushedImage)
TX512_IMAGE_SETTER(FocusedImage, m_sFocusedImage)
TX512_IMAGE_SETTER(DisabledImage, m_sDisabledImage)
TX512_IMAGE_SETTER(HotForeImage, m_sHotForeImage)
TX512_IMAGE_SETTER(PushedForeImage, m_sPushedForeImage)
#undef TX512_IMAGE_SETTER

void CButtonUI::SetHotTextColor(Color color) {
    m_dwHotTextColor = color;
    Invalidate();
}
void CButtonUI::SetPushedTextColor(Color color) {
    m_dwPushedTextColor = color;
    Invalidate();
}
void CButtonUI::SetFocusedTextColor(Color color) {
    m_dwFocusedTextColor = color;
    Invalidate();
}
void CButtonUI::SetHotBkColor(Color color) {
    m_dwHotBkColor = color;
    Invalidate();
}
void CButtonUI::SetPushedBkColor(Color color) {
    m_dwPushedBkColor = color;
    Invalidate();
}

bool CButtonUI::Activate() {
    if (!CLabelUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    if (!enabled) m_uButtonState &= UISTATE_SELECTED;
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
        if (m_pParent != nullptr) m_pParent->DoEvent(event);
        else CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case EventType::SetFocus:
    case EventType::KillFocus:
        CLabelUI::DoEvent(event);
        return;
    case EventType::KeyDown:
        if (IsKeyboardEnabled() && (event.chKey == vk::Space || event.chKey == vk::Return)) {
            Activate();
            return;
        }
        break;
    case EventType::ButtonDown:
    case EventType::DblClick:
        if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case EventType::MouseMove:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            if (m_rcItem.Contains(event.ptMouse)) m_uButtonState |= UISTATE_PUSHED;
            else m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case EventType::ButtonUp:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (m_rcItem.Contains(event.ptMouse)) Activate();
        }
        return;
    case EventType::MouseEnter:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventType::MouseLeave:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventType::SetCursor:
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

const std::string& CButtonUI::StateImage() const {
    if (!IsEnabled() && !m_sDisabledImage.empty()) return m_sDisabledImage;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.empty()) return m_sPushedImage;
    if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.empty()) return m_sHotImage;
    if (IsFocused() && !m_sFocusedImage.empty()) return m_sFocusedImage;
    return m_sNormalImage;
}

Color CButtonUI::StateTextColor() const {
    if (!IsEnabled()) return m_dwDisabledTextColor;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0)
        return m_dwPushedTextColor;
    if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) return m_dwHotTextColor;
    if (IsFocused() && m_dwFocusedTextColor != 0) return m_dwFocusedTextColor;
    return m_dwTextColor;
}

void CButtonUI::PaintBkColor(IRenderTarget& target) {
    Color color = m_dwBackColor;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && (m_dwPushedBkColor >> 24) != 0)
        color = m_dwPushedBkColor;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && (m_dwHotBkColor >> 24) != 0)
        color = m_dwHotBkColor;
    if ((color >> 24) != 0) target.FillRect(m_rcItem, color);
}

void CButtonUI::PaintStatusImage(IRenderTarget& target) {
    DrawImage(target, StateImage());
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedForeImage.empty())
        DrawImage(target, m_sPushedForeImage);
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotForeImage.empty())
        DrawImage(target, m_sHotForeImage);
}

void CButtonUI::PaintText(IRenderTarget& target) {
    DrawLabelText(target, GetText(), StateTextColor());
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "normalimage") SetNormalImage(value);
    else if (name == "hotimage") SetHotImage(value);
    else if (name == "pushedimage") SetPushedImage(value);
    else if (name == "focusedimage") SetFocusedImage(value);
    else if (name == "disabledimage") SetDisabledImage(value);
    else if (name == "hotforeimage") SetHotForeImage(value);
    else if (name == "pushedforeimage") SetPushedForeImage(value);
    else if (name == "hottextcolor") SetHotTextColor(ParseColor(value));
    else if (name == "pushedtextcolor") SetPushedTextColor(ParseColor(value));
    else if (name == "focusedtextcolor") SetFocusedTextColor(ParseColor(value));
    else if (name == "hotbkcolor") SetHotBkColor(ParseColor(value));
    else if (name == "pushedbkcolor") SetPushedBkColor(ParseColor(value));
    else CLabelUI::SetAttribute(name, value);
}

}  // namespace ui
