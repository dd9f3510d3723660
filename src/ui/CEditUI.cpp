// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CEditUI.h"

#include <algorithm>
#include <charconv>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/IRenderTarget.h"
#include "ui/Utf8Text.h"

namespace ui {

CEditUI::CEditUI() {
    m_bResourceText = false;
    m_rcTextPadding = Rect{4, 3, 4, 3};
}

std::string CEditUI::GetClass() const { return "Edit"; }

void* CEditUI::GetInterface(std::string_view name) {
    if (name == "Edit") return this;
    return CLabelUI::GetInterface(name);
}

unsigned CEditUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0u; }

void CEditUI::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    Invalidate();
}

void CEditUI::SetPasswordMode(bool on) {
    m_bPasswordMode = on;
    Invalidate();
}

void CEditUI::SetMaxChar(int maxChar) { m_iMaxChar = maxChar > 0 ? maxChar : 0; }

std::string CEditUI::GetTipValue() const {
    // A tip is never user data, so a key of the language is shown translated.
    if (m_sTipValue.empty()) return m_sTipValue;
    return CResourceManager::GetInstance().GetText(m_sTipValue);
}

void CEditUI::SetTipValue(std::string_view tip) {
    m_sTipValue = tip;
    Invalidate();
}

void CEditUI::SetCaretPos(int pos) { m_iCaret = std::clamp(pos, 0, utf8::Length(m_sText)); }

void CEditUI::SetText(std::string_view text) {
    CLabelUI::SetText(text);
    m_iCaret = utf8::Length(m_sText);
}

void CEditUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    if (!enabled) m_uButtonState = 0;
}

bool CEditUI::InsertTyped(std::string_view typed) {
    std::string accepted;
    int length = utf8::Length(m_sText);
    utf8::ForEachChar(typed, [&](std::string_view ch) {
        if (m_iMaxChar > 0 && length >= m_iMaxChar) return;
        if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x20) return;  // controls
        if (m_bNumberOnly && !(ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9')) return;
        accepted += ch;
        ++length;
    });
    if (accepted.empty()) return false;
    size_t at = utf8::ByteOffset(m_sText, m_iCaret);
    m_sText.insert(at, accepted);
    m_iCaret += utf8::Length(accepted);
    Invalidate();
    return true;
}

void CEditUI::RaiseTextChanged() {
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "textchanged");
}

void CEditUI::OnReturn() {
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "return");
}

void CEditUI::ClampNumber() {
    if (!m_bNumberOnly || (!m_minValue && !m_maxValue) || m_sText.empty()) return;
    long long value = 0;
    std::from_chars(m_sText.data(), m_sText.data() + m_sText.size(), value);
    long long clamped = value;
    if (m_minValue && clamped < *m_minValue) clamped = *m_minValue;
    if (m_maxValue && clamped > *m_maxValue) clamped = *m_maxValue;
    std::string text = std::to_string(clamped);
    if (text != m_sText) SetText(text);
}

void CEditUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case EventType::SetFocus:
        m_iCaret = utf8::Length(m_sText);
        CLabelUI::DoEvent(event);
        return;
    case EventType::KillFocus:
        ClampNumber();
        CLabelUI::DoEvent(event);
        return;
    case EventType::Char:
        if (IsEnabled() && !m_bReadOnly && InsertTyped(event.text)) RaiseTextChanged();
        return;
    case EventType::KeyDown: {
        if (!IsEnabled()) return;
        const int length = utf8::Length(m_sText);
        switch (event.chKey) {
        case vk::Return:
            OnReturn();
            return;
        case vk::Back:
            if (!m_bReadOnly && m_iCaret > 0) {
                size_t from = utf8::ByteOffset(m_sText, m_iCaret - 1);
                size_t to = utf8::ByteOffset(m_sText, m_iCaret);
                m_sText.erase(from, to - from);
                --m_iCaret;
                Invalidate();
                RaiseTextChanged();
            }
            return;
        case vk::Delete:
            if (!m_bReadOnly && m_iCaret < length) {
                size_t from = utf8::ByteOffset(m_sText, m_iCaret);
                size_t to = utf8::ByteOffset(m_sText, m_iCaret + 1);
                m_sText.erase(from, to - from);
                Invalidate();
                RaiseTextChanged();
            }
            return;
        case vk::Left: m_iCaret = std::max(0, m_iCaret - 1); return;
        case vk::Right: m_iCaret = std::min(length, m_iCaret + 1); return;
        case vk::Home: m_iCaret = 0; return;
        case vk::End: m_iCaret = length; return;
        default: break;
        }
        break;
    }
    case EventType::ButtonDown:
    case EventType::DblClick:
    case EventType::ButtonUp:
    case EventType::MouseMove:
        return;
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
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::PaintStatusImage(IRenderTarget& target) {
    const std::string* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
    else if (IsFocused() && !m_sFocusedImage.empty()) image = &m_sFocusedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.empty()) image = &m_sHotImage;
    DrawImage(target, *image);
}

void CEditUI::PaintText(IRenderTarget& target) {
    std::string text = GetText();
    if (text.empty()) {
        if (!IsFocused()) DrawLabelText(target, GetTipValue(), m_dwTipValueColor);
        return;
    }
    if (m_bPasswordMode) text.assign(static_cast<size_t>(utf8::Length(text)), m_cPasswordChar);
    DrawLabelText(target, text, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor);
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "readonly") SetReadOnly(ParseBool(value));
    else if (name == "numberonly") SetNumberOnly(ParseBool(value));
    else if (name == "password") SetPasswordMode(ParseBool(value));
    else if (name == "passwordchar") m_cPasswordChar = value.empty() ? '*' : value[0];
    else if (name == "maxchar") SetMaxChar(ParseInt(value));
    else if (name == "minvalue" || name == "minnum") SetMinValue(ParseInt(value));
    else if (name == "maxvalue" || name == "maxnum") SetMaxValue(ParseInt(value));
    else if (name == "tipvalue") SetTipValue(value);
    else if (name == "tipvaluecolor") SetTipValueColor(ParseColor(value));
    else if (name == "normalimage") SetNormalImage(value);
    else if (name == "hotimage") SetHotImage(value);
    else if (name == "focusedimage") SetFocusedImage(value);
    else if (name == "disabledimage") SetDisabledImage(value);
    else if (name == "nativebkcolor") {
        // The native field's colour has no meaning here; the background colour is used.
    } else CLabelUI::SetAttribute(name, value);
}

}  // namespace ui
