// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CLabelUI.h"

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

std::string CLabelUI::GetClass() const { return "Label"; }

void* CLabelUI::GetInterface(std::string_view name) {
    if (name == "Label") return this;
    return CControlUI::GetInterface(name);
}

void CLabelUI::SetTextColor(Color color) {
    m_dwTextColor = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(Color color) {
    m_dwDisabledTextColor = color;
    Invalidate();
}

void CLabelUI::SetFont(int id) {
    m_iFont = id;
    Invalidate();
}

void CLabelUI::SetTextStyle(unsigned style) {
    m_uTextStyle = style;
    Invalidate();
}

Rect CLabelUI::GetTextPadding() const { return ScaleRect(m_rcTextPadding); }

void CLabelUI::SetTextPadding(const Rect& padding) {
    m_rcTextPadding = padding;
    Invalidate();
}

void CLabelUI::SetAutoCalcWidth(bool on) {
    m_bAutoCalcWidth = on;
    NeedParentUpdate();
}

const TFontInfo& CLabelUI::CurrentFont() const {
    static const TFontInfo fallback;
    return m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : fallback;
}

Size CLabelUI::EstimateSize(Size available) {
    Size size = CControlUI::EstimateSize(available);
    if (m_bAutoCalcWidth && size.cx == 0) {
        // Without a text engine here, estimate from the character count and font size;
        // the renderer lays the real text out inside whatever width results.
        std::string text = GetText();
        int chars = 0;
        for (unsigned char c : text) {
            if ((c & 0xC0) != 0x80) ++chars;
        }
        Rect pad = GetTextPadding();
        size.cx = chars * Scale(CurrentFont().iSize) / 2 + pad.left + pad.right;
    }
    return size;
}

void CLabelUI::DrawLabelText(IRenderTarget& target, const std::string& text, Color color) {
    if (text.empty() || (color >> 24) == 0) return;
    Rect area = m_rcItem.Deflate(GetTextPadding());
    target.DrawText(area, text, color, CurrentFont(), m_uTextStyle, m_bShowHtml);
}

void CLabelUI::PaintText(IRenderTarget& target) {
    DrawLabelText(target, GetText(), IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor);
}

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "textcolor") SetTextColor(ParseColor(value));
    else if (name == "disabledtextcolor") SetDisabledTextColor(ParseColor(value));
    else if (name == "font") SetFont(ParseInt(value));
    else if (name == "align") SetTextStyle(ParseAlign(value, m_uTextStyle, false));
    else if (name == "valign") SetTextStyle(ParseAlign(value, m_uTextStyle, true));
    else if (name == "textpadding") SetTextPadding(ParseRect(value));
    else if (name == "autocalcwidth") SetAutoCalcWidth(ParseBool(value));
    else if (name == "endellipsis") {
        SetTextStyle(ParseBool(value) ? (m_uTextStyle | DT_END_ELLIPSIS)
                                      : (m_uTextStyle & ~DT_END_ELLIPSIS));
    } else if (name == "wordbreak" || name == "multiline") {
        SetTextStyle(ParseBool(value) ? ((m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK)
                                      : ((m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE));
    } else CControlUI::SetAttribute(name, value);
}

}  // namespace ui
