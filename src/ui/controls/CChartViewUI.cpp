// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CChartViewUI.h"

#include <algorithm>
#include <array>

#include "ui/AttributeText.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"
#include "ui/TFontInfo.h"

namespace ui {

namespace {

constexpr std::array<Color, CChartViewUI::kPaletteSize> kPalette = {
    0xFF3A86FF, 0xFFFF006E, 0xFFFB5607, 0xFFFFBE0B, 0xFF8338EC, 0xFF06D6A0,
    0xFF118AB2, 0xFFEF476F, 0xFF073B4C, 0xFF8AC926, 0xFF6A4C93, 0xFFFF924C,
    0xFF1982C4, 0xFFC5CA30, 0xFFE76F51, 0xFF2A9D8F, 0xFF9D4EDD, 0xFF577590};

// Slices start at twelve o'clock, as pie charts are read.
constexpr float kFirstSliceAngle = 270.0f;

double Counted(double value) {
    return value > 0 ? value : 0;
}

}  // namespace

std::string CChartViewUI::GetClass() const {
    return "ChartView";
}

void* CChartViewUI::GetInterface(std::string_view name) {
    if (name == "ChartView") return this;
    return CControlUI::GetInterface(name);
}

void CChartViewUI::AddItem(std::string_view text, double value) {
    m_items.push_back(Item{std::string(text), value});
    Invalidate();
}

void CChartViewUI::RemoveAll() {
    m_items.clear();
    Invalidate();
}

void CChartViewUI::SetView(View view) {
    m_view = view;
    Invalidate();
}

void CChartViewUI::SetShadowImage(std::string_view image) {
    m_sShadowImage = image;
    Invalidate();
}

void CChartViewUI::SetShadowImageHeight(int height) {
    m_nShadowImageHeight = std::max(0, height);
    Invalidate();
}

void CChartViewUI::SetPillarImage(std::string_view image) {
    m_sPillarImage = image;
    Invalidate();
}

void CChartViewUI::SetPillarImageWidth(int width) {
    m_nPillarImageWidth = std::max(0, width);
    Invalidate();
}

void CChartViewUI::SetShowText(bool show) {
    m_bShowText = show;
    Invalidate();
}

void CChartViewUI::SetFont(int id) {
    m_iFont = id;
    Invalidate();
}

void CChartViewUI::SetTextColor(Color color) {
    m_dwTextColor = color;
    Invalidate();
}

Color CChartViewUI::PaletteColor(std::size_t index) {
    return kPalette[index % kPaletteSize];
}

double CChartViewUI::Total() const {
    double total = 0;
    for (const Item& item : m_items) total += Counted(item.value);
    return total;
}

void CChartViewUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    if (!paint.Intersects(m_rcItem)) return;
    CControlUI::DoPaint(target, paint);
    if (m_items.empty()) return;
    target.PushClip(m_rcItem);
    if (m_view == View::Pie)
        PaintPie(target);
    else
        PaintHistogram(target);
    target.PopClip();
}

void CChartViewUI::PaintPie(IRenderTarget& target) {
    const int margin = Scale(kPieMargin);
    const int diameter = std::min(m_rcItem.Width(), m_rcItem.Height()) - 2 * margin;
    if (diameter <= 0) return;
    const int left = m_rcItem.left + (m_rcItem.Width() - diameter) / 2;
    const int top = m_rcItem.top + (m_rcItem.Height() - diameter) / 2;
    const Rect pie{left, top, left + diameter, top + diameter};
    const int shadow = Scale(kShadowGrow);
    const int rim = Scale(kRimGrow);

    target.SetAntiAlias(true);
    target.FillPie(pie.Deflate(Rect{-shadow, -shadow, -shadow, -shadow}), 0, 360, kShadowColor);
    target.FillPie(pie.Deflate(Rect{-rim, -rim, -rim, -rim}), 0, 360, kRimColor);
    const double total = Total();
    if (total > 0) {
        float start = kFirstSliceAngle;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            const float sweep = static_cast<float>(Counted(m_items[i].value) / total * 360.0);
            if (sweep > 0) target.FillPie(pie, start, sweep, PaletteColor(i));
            start += sweep;
        }
    }
    target.SetAntiAlias(false);

    if (!m_bShowText) return;
    const int square = Scale(kLegendSquare);
    const int row = Scale(kLegendRow);
    const int count = static_cast<int>(m_items.size());
    const int height = (count - 1) * row + square;
    const int x = pie.right + shadow + Scale(kLegendGap);
    int y = m_rcItem.top + (m_rcItem.Height() - height) / 2;
    static const TFontInfo fallback;
    const TFontInfo& font = m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : fallback;
    for (int i = 0; i < count; ++i, y += row) {
        const auto index = static_cast<std::size_t>(i);
        target.FillRect(Rect{x, y, x + square, y + square}, PaletteColor(index));
        const Rect text{x + square + Scale(kLegendTextGap), y, m_rcItem.right, y + square};
        if (text.IsEmpty()) continue;
        target.DrawText(text, m_items[index].text, m_dwTextColor, font,
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE, IsShowHtml());
    }
}

void CChartViewUI::PaintHistogram(IRenderTarget& target) {
    const int margin = Scale(kPieMargin);
    const Rect area = m_rcItem.Deflate(Rect{margin, margin, margin, margin});
    if (area.IsEmpty()) return;
    const int count = static_cast<int>(m_items.size());
    const int column = area.Width() / count;
    if (column <= 0) return;
    const int textHeight = m_bShowText ? Scale(kLegendRow) : 0;
    const int shadowHeight = m_sShadowImage.empty() ? 0 : Scale(m_nShadowImageHeight);
    const int baseline = area.bottom - textHeight - shadowHeight;
    const int room = baseline - area.top;
    if (room <= 0) return;
    double highest = 0;
    for (const Item& item : m_items) highest = std::max(highest, Counted(item.value));
    const int wanted = m_nPillarImageWidth > 0 ? Scale(m_nPillarImageWidth) : column / 2;
    const int width = std::clamp(wanted, 1, column);
    static const TFontInfo fallback;
    const TFontInfo& font = m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : fallback;

    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const int colLeft = area.left + i * column;
        const int left = colLeft + (column - width) / 2;
        const int height =
            highest > 0 ? static_cast<int>(Counted(m_items[index].value) / highest * room) : 0;
        const Rect pillar{left, baseline - height, left + width, baseline};
        if (!pillar.IsEmpty()) {
            if (!DrawImageAt(target, pillar, m_sPillarImage))
                target.FillRect(pillar, PaletteColor(index));
        }
        if (shadowHeight > 0)
            DrawImageAt(target, Rect{left, baseline, left + width, baseline + shadowHeight},
                        m_sShadowImage);
        if (m_bShowText) {
            const Rect text{colLeft, baseline + shadowHeight, colLeft + column,
                            baseline + shadowHeight + textHeight};
            target.DrawText(text, m_items[index].text, m_dwTextColor, font,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE, IsShowHtml());
        }
    }
}

void CChartViewUI::SetAttribute(std::string_view name, std::string_view value) {
    using namespace attr;
    if (name == "view")
        SetView(value == "histpgram" ? View::Histogram : View::Pie);
    else if (name == "shadowimage")
        SetShadowImage(value);
    else if (name == "shadowimageheight")
        SetShadowImageHeight(ParseInt(value));
    else if (name == "pillarimage")
        SetPillarImage(value);
    else if (name == "pillarimagewidth")
        SetPillarImageWidth(ParseInt(value));
    else if (name == "showhtml")
        SetShowHtml(value == "true");
    else if (name == "showtext")
        SetShowText(value == "true");
    else if (name == "font")
        SetFont(ParseInt(value));
    else
        CControlUI::SetAttribute(name, value);
}

}  // namespace ui
