// SPDX-License-Identifier: GPL-3.0-or-later
// What the library's controls draw through the render target.
#include "UiTestSupport.h"

#include "ui/CButtonUI.h"
#include "ui/CListUI.h"
#include "ui/COptionUI.h"
#include "ui/CProgressUI.h"
#include "ui/RecordingRenderTarget.h"

namespace {

using namespace ui;
using Op = RecordingRenderTarget::Op;

class PaintTest : public uitest::LayoutFixture {
protected:
    RecordingRenderTarget Paint(CControlUI* control) {
        RecordingRenderTarget target;
        control->DoPaint(target, control->GetPos());
        return target;
    }
};

TEST_F(PaintTest, ButtonsDrawTheImageOfTheirState) {
    Build(R"(<Window><Font id="2" name="Face" size="18"/><VerticalLayout>
      <Button name="btn" height="40" bkcolor="#FF202020" normalimage="btn/n.png" hotimage="file='btn/h.png' source='0,0,10,10'"
              disabledimage="btn/d.png" text="Go" font="2" textcolor="#FFFFFFFF" disabledtextcolor="#FF808080"
              bordersize="1" bordercolor="#FF00FF00"/>
      <Option name="opt" height="40" normalimage="o/n.png" selectedimage="o/s.png" bkcolor="#00000000"/>
      <Control/></VerticalLayout></Window>)");
    auto* btn = Find<CButtonUI>("btn");
    RecordingRenderTarget normal = Paint(btn);
    auto drawn = normal.Drawn();
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].op, Op::FillRect);
    EXPECT_EQ(drawn[0].color, 0xFF202020u);
    EXPECT_EQ(drawn[1].image.sImageName, "btn/n.png");
    EXPECT_EQ(drawn[1].rect, btn->GetPos());
    EXPECT_EQ(drawn[2].text, "Go");
    EXPECT_EQ(drawn[2].font.iSize, 18);
    EXPECT_EQ(drawn[3].op, Op::DrawRect);
    // Hot: the hot image with its source rectangle.
    driver.Hover(btn);
    auto hot = Paint(btn).Of(Op::DrawImage);
    ASSERT_EQ(hot.size(), 1u);
    EXPECT_EQ(hot[0].image.sImageName, "btn/h.png");
    EXPECT_EQ(hot[0].image.rcSource, (Rect{0, 0, 10, 10}));
    // Disabled: disabled image and text colour.
    btn->SetEnabled(false);
    RecordingRenderTarget disabled = Paint(btn);
    EXPECT_EQ(disabled.Images(), std::vector<std::string>{"btn/d.png"});
    EXPECT_EQ(disabled.Of(Op::DrawText)[0].color, 0xFF808080u);
    // Options draw their selected image once selected; a transparent colour is not drawn.
    auto* opt = Find<COptionUI>("opt");
    EXPECT_EQ(Paint(opt).Images(), std::vector<std::string>{"o/n.png"});
    opt->Selected(true, false);
    EXPECT_EQ(Paint(opt).Images(), std::vector<std::string>{"o/s.png"});
    EXPECT_TRUE(Paint(opt).Of(Op::FillRect).empty());
}

TEST_F(PaintTest, ProgressCoversTheValuesShare) {
    Build(R"(<VerticalLayout><Progress name="bar" height="10" width="200" min="0" max="100" value="25"
              foreimage="bar.png" forecolor="#FF0000FF"/>
             <Progress name="vbar" hor="false" height="100" width="10" max="50" value="50" forecolor="#FF00FF00"/>
             <Control/></VerticalLayout>)");
    auto* bar = Find<CProgressUI>("bar");
    RecordingRenderTarget target = Paint(bar);
    const Rect pos = bar->GetPos();
    ASSERT_EQ(target.Of(Op::FillRect).size(), 1u);
    EXPECT_EQ(target.Of(Op::FillRect)[0].rect, (Rect{pos.left, pos.top, pos.left + 50, pos.bottom}));
    ASSERT_EQ(target.Of(Op::DrawImage).size(), 1u);
    EXPECT_EQ(target.Of(Op::DrawImage)[0].rect.Width(), 50);
    bar->SetValue(0);
    EXPECT_TRUE(Paint(bar).Of(Op::DrawImage).empty()) << "nothing reached, nothing drawn";
    // A vertical bar fills from the bottom.
    auto* vbar = Find<CProgressUI>("vbar");
    EXPECT_EQ(Paint(vbar).Of(Op::FillRect)[0].rect, vbar->GetPos());
}

TEST_F(PaintTest, ListItemsUseTheOwnersItemColours) {
    Build(R"(<List name="list" itembkcolor="#FF010101" itemselectedbkcolor="#FF020202" itemhotbkcolor="#FF030303"
              itemtextcolor="#FF0A0A0A" itemselectedtextcolor="#FF0B0B0B" itemlinecolor="#FF0C0C0C">
              <ListLabelElement name="a" text="first" height="20"/><ListLabelElement name="b" text="second" height="20"/></List>)");
    CControlUI* a = pm.FindControl("a");
    auto normal = Paint(a);
    EXPECT_EQ(normal.Of(Op::FillRect)[0].color, 0xFF010101u);
    EXPECT_EQ(normal.Of(Op::DrawText)[0].color, 0xFF0A0A0Au);
    EXPECT_EQ(normal.Of(Op::DrawLine).size(), 1u);
    driver.Hover(a);
    EXPECT_EQ(Paint(a).Of(Op::FillRect)[0].color, 0xFF030303u);
    Find<CListUI>("list")->SelectItem(0);
    auto selected = Paint(a);
    EXPECT_EQ(selected.Of(Op::FillRect)[0].color, 0xFF020202u);
    EXPECT_EQ(selected.Of(Op::DrawText)[0].color, 0xFF0B0B0Bu);
    // The whole window paints inside a clip of the client area.
    RecordingRenderTarget window;
    pm.Paint(window);
    EXPECT_EQ(window.Commands().front().op, Op::PushClip);
    EXPECT_EQ(window.Texts(), (std::vector<std::string>{"first", "second"}));
}

TEST_F(PaintTest, ADamagedAreaDrawsOnlyTheControlsReachingIntoIt) {
    // A key changing its light repaints its own rectangle: nothing else is drawn then.
    Build(R"(<Window size="200,100"><HorizontalLayout>
      <Control name="left" bkcolor="#FF101010"/><Control name="right" bkcolor="#FF202020"/>
      </HorizontalLayout></Window>)");
    const Rect right = Find<CControlUI>("right")->GetPos();
    RecordingRenderTarget part;
    pm.Paint(part, right);
    auto fills = part.Of(Op::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, 0xFF202020u);
    RecordingRenderTarget whole;
    pm.Paint(whole);
    EXPECT_EQ(whole.Of(Op::FillRect).size(), 2u);
    RecordingRenderTarget outside;
    pm.Paint(outside, Rect{500, 500, 600, 600});
    EXPECT_TRUE(outside.Of(Op::FillRect).empty());
}

}  // namespace
