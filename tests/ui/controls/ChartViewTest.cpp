// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CChartViewUI.h"

namespace tx512::test {
namespace {

using ui::CChartViewUI;
using ui::Rect;
using Op = ui::RecordingRenderTarget::Op;

CChartViewUI* LoadChart(ControlsTestWindow& w, std::string_view attributes) {
    std::string xml = "<VerticalLayout><CChartViewUI name=\"chart\" " + std::string(attributes) +
                      "/></VerticalLayout>";
    w.Load(xml);
    return w.Find<CChartViewUI>("chart", "ChartView");
}

TEST(ChartView, PieSlicesFollowTheValuesOverShadowAndRim) {
    ControlsTestWindow w;
    auto* chart = LoadChart(w, R"(width="300" height="200")");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->GetView(), CChartViewUI::View::Pie);
    EXPECT_TRUE(chart->IsShowText());
    EXPECT_EQ(chart->GetFont(), -1);
    chart->AddItem("keys", 1);
    chart->AddItem("macros", 3);

    auto rec = Paint(*chart);
    auto pies = rec.Of(Op::FillPie);
    ASSERT_EQ(pies.size(), 4u);
    // A 190-pixel pie centred in the 300 x 200 control.
    const Rect pie{55, 5, 245, 195};
    EXPECT_EQ(pies[0].rect, (Rect{51, 1, 249, 199}));
    EXPECT_EQ(pies[0].color, 0x1E1E1E1Eu);
    EXPECT_EQ(pies[1].rect, (Rect{54, 4, 246, 196}));
    EXPECT_EQ(pies[1].color, 0x64646464u);
    EXPECT_EQ(pies[2].rect, pie);
    EXPECT_FLOAT_EQ(pies[2].sweepAngle, 90.0f);
    EXPECT_EQ(pies[2].color, CChartViewUI::PaletteColor(0));
    EXPECT_EQ(pies[3].rect, pie);
    EXPECT_FLOAT_EQ(pies[3].startAngle, pies[2].startAngle + 90.0f);
    EXPECT_FLOAT_EQ(pies[3].sweepAngle, 270.0f);
    EXPECT_EQ(pies[3].color, CChartViewUI::PaletteColor(1));
    // The pie is drawn smoothed.
    auto aa = rec.Of(Op::SetAntiAlias);
    ASSERT_FALSE(aa.empty());
    EXPECT_TRUE(aa.front().antiAlias);

    // Legend right of the pie: squares 18 x 18, rows 22 apart, centred vertically.
    auto squares = rec.Of(Op::FillRect);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[0].rect, (Rect{259, 80, 277, 98}));
    EXPECT_EQ(squares[0].color, CChartViewUI::PaletteColor(0));
    EXPECT_EQ(squares[1].rect, (Rect{259, 102, 277, 120}));
    auto texts = rec.Of(Op::DrawText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "keys");
    EXPECT_EQ(texts[0].rect.left, 282);
    EXPECT_EQ(texts[0].rect.top, 80);
    EXPECT_FALSE(texts[0].markup);
    EXPECT_EQ(texts[1].text, "macros");
}

TEST(ChartView, LegendAttributes) {
    ControlsTestWindow w;
    auto* chart = LoadChart(w, R"(width="300" height="200" showhtml="true" font="2")");
    ASSERT_NE(chart, nullptr);
    chart->AddItem("{b}bold{/b}", 1);
    auto texts = Paint(*chart).Of(Op::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].markup);
    EXPECT_EQ(chart->GetFont(), 2);

    chart->SetAttribute("showtext", "false");
    EXPECT_FALSE(chart->IsShowText());
    auto rec = Paint(*chart);
    EXPECT_TRUE(rec.Of(Op::DrawText).empty());
    EXPECT_TRUE(rec.Of(Op::FillRect).empty());
    chart->SetAttribute("showtext", "true");
    EXPECT_TRUE(chart->IsShowText());
}

TEST(ChartView, NothingToShareDrawsNoSlices) {
    CChartViewUI chart;
    chart.SetPos(Rect{0, 0, 100, 100}, false);
    chart.SetShowText(false);
    EXPECT_TRUE(Paint(chart).Of(Op::FillPie).empty());  // no items at all

    chart.AddItem("zero", 0);
    chart.AddItem("negative", -5);
    EXPECT_EQ(Paint(chart).Of(Op::FillPie).size(), 2u);  // shadow and rim only

    chart.AddItem("all", 2);
    auto pies = Paint(chart).Of(Op::FillPie);
    ASSERT_EQ(pies.size(), 3u);
    EXPECT_FLOAT_EQ(pies[2].sweepAngle, 360.0f);
    EXPECT_EQ(pies[2].color, CChartViewUI::PaletteColor(2));
}

TEST(ChartView, HistogramPillarsScaleToTheLargestValue) {
    ControlsTestWindow w;
    auto* chart = LoadChart(w, R"(width="200" height="100" view="histpgram"
        pillarimage="pillar.png" pillarimagewidth="20" shadowimage="shadow.png"
        shadowimageheight="6")");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->GetView(), CChartViewUI::View::Histogram);
    chart->AddItem("a", 10);
    chart->AddItem("b", 5);

    auto rec = Paint(*chart);
    auto images = rec.Of(Op::DrawImage);
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(images[0].image.sImageName, "pillar.png");
    EXPECT_EQ(images[0].rect, (Rect{42, 5, 62, 67}));
    EXPECT_EQ(images[1].image.sImageName, "shadow.png");
    EXPECT_EQ(images[1].rect, (Rect{42, 67, 62, 73}));
    EXPECT_EQ(images[2].rect, (Rect{137, 36, 157, 67}));  // half the value, half the height
    EXPECT_EQ(images[3].rect, (Rect{137, 67, 157, 73}));
    EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(rec.Of(Op::FillPie).empty());
}

}  // namespace
}  // namespace tx512::test
