// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A chart of named values: a pie with a legend to its right, or a histogram of pillar
// images standing on a shadow image. Negative values count as 0.
#include <string>
#include <vector>

#include "ui/CControlUI.h"

namespace ui {

class CChartViewUI : public CControlUI {
public:
    enum class View { Pie = 0, Histogram = 1 };

    struct Item {
        std::string text;
        double value = 0;
    };

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void AddItem(std::string_view text, double value);
    void RemoveAll();
    const std::vector<Item>& GetItems() const { return m_items; }

    View GetView() const { return m_view; }
    void SetView(View view);
    const std::string& GetShadowImage() const { return m_sShadowImage; }
    void SetShadowImage(std::string_view image);
    int GetShadowImageHeight() const { return m_nShadowImageHeight; }
    void SetShadowImageHeight(int height);
    const std::string& GetPillarImage() const { return m_sPillarImage; }
    void SetPillarImage(std::string_view image);
    int GetPillarImageWidth() const { return m_nPillarImageWidth; }
    void SetPillarImageWidth(int width);
    bool IsShowText() const { return m_bShowText; }
    void SetShowText(bool show);
    int GetFont() const { return m_iFont; }
    void SetFont(int id);
    Color GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(Color color);

    // The colour of the item at `index` (the palette repeats after 18 items).
    static Color PaletteColor(std::size_t index);
    static constexpr std::size_t kPaletteSize = 18;

    void DoPaint(IRenderTarget& target, const Rect& paint) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    // Pie geometry (96 DPI): room left for the shadow, legend squares and rows.
    static constexpr int kShadowGrow = 4;
    static constexpr int kRimGrow = 1;
    static constexpr int kPieMargin = 5;
    static constexpr int kLegendGap = 10;
    static constexpr int kLegendSquare = 18;
    static constexpr int kLegendTextGap = 5;
    static constexpr int kLegendRow = 22;
    static constexpr Color kShadowColor = 0x1E1E1E1E;  // ARGB 30,30,30,30
    static constexpr Color kRimColor = 0x64646464;     // ARGB 100,100,100,100

private:
    void PaintPie(IRenderTarget& target);
    void PaintHistogram(IRenderTarget& target);
    double Total() const;

    std::vector<Item> m_items;
    View m_view = View::Pie;
    std::string m_sShadowImage;
    int m_nShadowImageHeight = 0;
    std::string m_sPillarImage;
    int m_nPillarImageWidth = 0;
    bool m_bShowText = true;
    int m_iFont = -1;
    Color m_dwTextColor = 0xFF000000;
};

}  // namespace ui
