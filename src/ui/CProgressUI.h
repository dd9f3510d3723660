// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A value between a minimum and a maximum shown as a bar: the fore image (or fore colour)
// covers the part of the control that the value reaches. Setting the value raises nothing;
// values outside the range are clamped.
#include "ui/CLabelUI.h"

namespace ui {

class CProgressUI : public CLabelUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int max);
    int GetValue() const { return m_nValue; }
    virtual void SetValue(int value);
    Color GetForeColor() const { return m_dwForeColor; }
    void SetForeColor(Color color);
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool stretch);

    // The part of the control the value reaches (client pixels).
    Rect GetValueRect() const;

    void PaintForeColor(IRenderTarget& target) override;
    void PaintForeImage(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    Color m_dwForeColor = 0;
};

}  // namespace ui
