// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CRichEditUI.h"

#include "ui/AttributeText.h"
#include "ui/Utf8Text.h"

namespace ui {

CRichEditUI::CRichEditUI() {
    m_iMaxChar = 65535;
    m_uTextStyle = DT_WORDBREAK;
}

std::string CRichEditUI::GetClass() const { return "RichEdit"; }

void* CRichEditUI::GetInterface(std::string_view name) {
    if (name == "RichEdit") return this;
    return CEditUI::GetInterface(name);
}

void CRichEditUI::SetMultiLine(bool on) {
    m_bMultiLine = on;
    m_uTextStyle = on ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    Invalidate();
}

void CRichEditUI::OnReturn() {
    if (m_bWantReturn && m_bMultiLine && !m_bReadOnly) {
        // The line break counts against the character limit like any other character.
        if (m_iMaxChar > 0 && utf8::Length(m_sText) >= m_iMaxChar) return;
        m_sText.insert(utf8::ByteOffset(m_sText, m_iCaret), 1, '\n');
        ++m_iCaret;
        Invalidate();
        RaiseTextChanged();
        return;
    }
    CEditUI::OnReturn();
}

void CRichEditUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "wantreturn") SetWantReturn(ParseBool(value));
    else if (name == "multiline") SetMultiLine(ParseBool(value));
    else if (name == "rich" || name == "vscrollbar" || name == "autovscroll") {
        // Scrolling and rich formatting belong to the renderer's text widget.
    } else CEditUI::SetAttribute(name, value);
}

}  // namespace ui
