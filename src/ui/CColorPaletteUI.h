// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A colour picker: a hue/saturation field above a brightness bar. Dragging in either
// picks a colour; releasing the mouse raises "colorchanged" (wParam = the colour, ARGB).
// SetSelectColor raises nothing.
#include "ui/CControlUI.h"

namespace ui {

class CColorPaletteUI : public CControlUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    Color GetSelectColor() const;  // opaque ARGB
    void SetSelectColor(Color color);
    // Hue 0..360, saturation and brightness 0..1.
    double GetHue() const { return m_hue; }
    double GetSaturation() const { return m_saturation; }
    double GetBrightness() const { return m_brightness; }

    int GetPalletHeight() const;  // scaled
    void SetPalletHeight(int height);
    int GetBarHeight() const;     // scaled
    void SetBarHeight(int height);
    Rect GetPalletRect() const;
    Rect GetBarRect() const;

    void DoEvent(TEventUI& event) override;
    void PaintBkImage(IRenderTarget& target) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    static Color HsbToArgb(double hue, double saturation, double brightness);

private:
    enum class Drag { None, Pallet, Bar };
    void PickAt(Point pt);

    double m_hue = 0;
    double m_saturation = 1;
    double m_brightness = 1;
    int m_nPalletHeight = 200;
    int m_nBarHeight = 10;
    std::string m_sThumbImage;
    Drag m_drag = Drag::None;
};

}  // namespace ui
