// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control that shows a text: colour, font, alignment and text padding.
#include "ui/CControlUI.h"

namespace ui {

struct TFontInfo;

class CLabelUI : public CControlUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    Color GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(Color color);
    Color GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(Color color);
    int GetFont() const { return m_iFont; }  // font id of the manager's table, -1 default
    void SetFont(int id);
    unsigned GetTextStyle() const { return m_uTextStyle; }  // DT_ flags
    void SetTextStyle(unsigned style);
    Rect GetTextPadding() const;  // scaled
    void SetTextPadding(const Rect& padding);
    bool IsAutoCalcWidth() const { return m_bAutoCalcWidth; }
    void SetAutoCalcWidth(bool on);

    Size EstimateSize(Size available) override;
    void PaintText(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    // The font in effect (the manager's entry for GetFont, or its default).
    const TFontInfo& CurrentFont() const;
    // Draws `text` in the text area with `color`.
    void DrawLabelText(IRenderTarget& target, const std::string& text, Color color);

    Color m_dwTextColor = 0xFF000000;
    Color m_dwDisabledTextColor = 0xFFA7A6AA;
    int m_iFont = -1;
    unsigned m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    Rect m_rcTextPadding;
    bool m_bAutoCalcWidth = false;
};

}  // namespace ui
