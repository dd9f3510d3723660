// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CColorPaletteUI.h"

#include <algorithm>
#include <cmath>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

namespace {

constexpr int kHueCells = 24;
constexpr int kSaturationCells = 8;
constexpr int kBarCells = 16;

}  // namespace

std::string CColorPaletteUI::GetClass() const { return "ColorPalette"; }

void* CColorPaletteUI::GetInterface(std::string_view name) {
    if (name == "ColorPalette") return this;
    return CControlUI::GetInterface(name);
}

Color CColorPaletteUI::HsbToArgb(double hue, double saturation, double brightness) {
    hue = std::fmod(std::clamp(hue, 0.0, 360.0), 360.0);
    saturation = std::clamp(saturation, 0.0, 1.0);
    brightness = std::clamp(brightness, 0.0, 1.0);
    double c = brightness * saturation;
    double x = c * (1 - std::fabs(std::fmod(hue / 60.0, 2.0) - 1));
    double m = brightness - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue / 60.0)) {
    case 0: r = c; g = x; break;
    case 1: r = x; g = c; break;
    case 2: g = c; b = x; break;
    case 3: g = x; b = c; break;
    case 4: r = x; b = c; break;
    default: r = c; b = x; break;
    }
    auto byte = [m](double v) { return static_cast<Color>(std::lround((v + m) * 255.0)); };
    return 0xFF000000u | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

Color CColorPaletteUI::GetSelectColor() const {
    return HsbToArgb(m_hue, m_saturation, m_brightness);
}

void CColorPaletteUI::SetSelectColor(Color color) {
    double r = ((color >> 16) & 0xFF) / 255.0;
    double g = ((color >> 8) & 0xFF) / 255.0;
    double b = (color & 0xFF) / 255.0;
    double max = std::max({r, g, b});
    double min = std::min({r, g, b});
    double delta = max - min;
    double hue = 0;
    if (delta > 0) {
        if (max == r) hue = 60.0 * std::fmod((g - b) / delta, 6.0);
        else if (max == g) hue = 60.0 * ((b - r) / delta + 2.0);
        else hue = 60.0 * ((r - g) / delta + 4.0);
        if (hue < 0) hue += 360.0;
    }
    m_hue = hue;
    m_saturation = max > 0 ? delta / max : 0;
    m_brightness = max;
    Invalidate();
}

int CColorPaletteUI::GetPalletHeight() const { return Scale(m_nPalletHeight); }
void CColorPaletteUI::SetPalletHeight(int height) {
    m_nPalletHeight = std::max(1, height);
    Invalidate();
}
int CColorPaletteUI::GetBarHeight() const { return Scale(m_nBarHeight); }
void CColorPaletteUI::SetBarHeight(int height) {
    m_nBarHeight = std::max(1, height);
    Invalidate();
}

Rect CColorPaletteUI::GetPalletRect() const {
    Rect rc = m_rcItem;
    rc.bottom = std::min(rc.bottom, rc.top + GetPalletHeight());
    return rc;
}

Rect CColorPaletteUI::GetBarRect() const {
    Rect rc = m_rcItem;
    rc.top = std::max(GetPalletRect().bottom, rc.bottom - GetBarHeight());
    return rc;
}

void CColorPaletteUI::PickAt(Point pt) {
    if (m_drag == Drag::Pallet) {
        Rect rc = GetPalletRect();
        double fx = rc.Width() > 1 ? double(std::clamp(pt.x, rc.left, rc.right - 1) - rc.left) / (rc.Width() - 1) : 0;
        double fy = rc.Height() > 1 ? double(std::clamp(pt.y, rc.top, rc.bottom - 1) - rc.top) / (rc.Height() - 1) : 0;
        m_hue = fx * 359.0;
        m_saturation = 1.0 - fy;  // full colour at the top, grey at the bottom
    } else if (m_drag == Drag::Bar) {
        Rect rc = GetBarRect();
        double fx = rc.Width() > 1 ? double(std::clamp(pt.x, rc.left, rc.right - 1) - rc.left) / (rc.Width() - 1) : 0;
        m_brightness = fx;
    }
    Invalidate();
}

void CColorPaletteUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case EventType::ButtonDown:
        if (!IsEnabled()) return;
        if (GetPalletRect().Contains(event.ptMouse)) m_drag = Drag::Pallet;
        else if (GetBarRect().Contains(event.ptMouse)) m_drag = Drag::Bar;
        else return;
        PickAt(event.ptMouse);
        return;
    case EventType::MouseMove:
        if (m_drag != Drag::None) PickAt(event.ptMouse);
        return;
    case EventType::ButtonUp:
        if (m_drag == Drag::None) return;
        PickAt(event.ptMouse);
        m_drag = Drag::None;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, "colorchanged", GetSelectColor());
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CColorPaletteUI::PaintBkImage(IRenderTarget& target) {
    CControlUI::PaintBkImage(target);
    // A coarse rendition through the generic target; the Qt renderer may draw it smoothly.
    Rect pallet = GetPalletRect();
    for (int hx = 0; hx < kHueCells; ++hx) {
        for (int sy = 0; sy < kSaturationCells; ++sy) {
            Rect cell{pallet.left + pallet.Width() * hx / kHueCells,
                      pallet.top + pallet.Height() * sy / kSaturationCells,
                      pallet.left + pallet.Width() * (hx + 1) / kHueCells,
                      pallet.top + pallet.Height() * (sy + 1) / kSaturationCells};
            target.FillRect(cell, HsbToArgb(359.0 * hx / (kHueCells - 1),
                                            1.0 - double(sy) / (kSaturationCells - 1), m_brightness));
        }
    }
    Rect bar = GetBarRect();
    for (int bx = 0; bx < kBarCells; ++bx) {
        Rect cell{bar.left + bar.Width() * bx / kBarCells, bar.top,
                  bar.left + bar.Width() * (bx + 1) / kBarCells, bar.bottom};
        target.FillRect(cell, HsbToArgb(m_hue, m_saturation, double(bx) / (kBarCells - 1)));
    }
    if (!m_sThumbImage.empty()) {
        int x = pallet.left + static_cast<int>(m_hue / 359.0 * (pallet.Width() - 1));
        int y = pallet.top + static_cast<int>((1.0 - m_saturation) * (pallet.Height() - 1));
        int half = Scale(5);
        DrawImageAt(target, Rect{x - half, y - half, x + half, y + half}, m_sThumbImage);
        int bx = bar.left + static_cast<int>(m_brightness * (bar.Width() - 1));
        DrawImageAt(target, Rect{bx - half, bar.top, bx + half, bar.bottom}, m_sThumbImage);
    }
}

void CColorPaletteUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "palletheight") SetPalletHeight(ParseInt(value));
    else if (name == "barheight") SetBarHeight(ParseInt(value));
    else if (name == "thumbimage") m_sThumbImage = value;
    else if (name == "selectcolor") SetSelectColor(ParseColor(value));
    else CControlUI::SetAttribute(name, value);
}

}  // namespace ui
