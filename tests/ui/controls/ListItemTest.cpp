// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CCloudShareListItemUI.h"
#include "ui/controls/CUpdateInfoListItemUI.h"

namespace tx512::test {
namespace {

using ui::CHotFrameListItemUI;
using ui::Point;
using ui::Rect;
using Op = ui::RecordingRenderTarget::Op;
using Kind = ui::TInputEvent::Kind;

constexpr ui::Color kHot = 0xFF0099FF;
constexpr ui::Color kNormal = 0xFF101010;
constexpr ui::Color kSelected = 0xFF303030;

constexpr const char* kList = R"(<VerticalLayout>
  <List name="device_update_list_info" height="200" itemhotbkcolor="#FF0099FF"
        itembkcolor="#FF101010" itemselectedbkcolor="#FF303030">
    <CUpdateInfoListItemUI name="update0" height="50" menu="true">
      <Label name="OldRev" width="60"/>
    </CUpdateInfoListItemUI>
    <CCloudShareListItemUI name="share0" height="40" menu="true">
      <Label name="share_name" width="60"/>
    </CCloudShareListItemUI>
    <CCloudShareListItemUI name="share1" height="40"/>
  </List>
</VerticalLayout>)";

// Both list entries behave alike; every case runs for each.
class HotFrameListItem : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        w.Load(kList);
        item = dynamic_cast<CHotFrameListItemUI*>(w.manager.FindControl(GetParam()));
        ASSERT_NE(item, nullptr);
    }
    Point Inside() const { return Point{item->GetPos().left + 100, item->GetPos().top + 10}; }
    Point OnChild() const { return Point{item->GetPos().left + 10, item->GetPos().top + 10}; }

    ControlsTestWindow w;
    CHotFrameListItemUI* item = nullptr;
};

TEST_P(HotFrameListItem, HoverDrawsAFrameInTheListsHotColour) {
    auto fills = Paint(*item).Of(Op::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].color, kNormal);
    EXPECT_TRUE(Paint(*item).Of(Op::DrawRect).empty());

    w.Move(Inside());
    EXPECT_TRUE(item->IsHot());
    auto rec = Paint(*item);
    auto frames = rec.Of(Op::DrawRect);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, item->GetPos());
    EXPECT_EQ(frames[0].lineWidth, 1);
    EXPECT_EQ(frames[0].color, kHot);
    EXPECT_EQ(rec.Of(Op::FillRect)[0].color, kNormal);  // the frame, not a fill, marks it

    w.Move(OnChild());  // over one of the entry's own controls it stays hot
    EXPECT_TRUE(item->IsHot());

    w.Move(Point{390, 290});
    EXPECT_FALSE(item->IsHot());
    EXPECT_TRUE(Paint(*item).Of(Op::DrawRect).empty());
}

TEST_P(HotFrameListItem, SelectedEntryShowsNoFrame) {
    w.Click(Inside());
    EXPECT_TRUE(item->IsSelected());
    EXPECT_TRUE(item->IsHot());
    auto rec = Paint(*item);
    EXPECT_TRUE(rec.Of(Op::DrawRect).empty());
    EXPECT_EQ(rec.Of(Op::FillRect)[0].color, kSelected);
}

TEST_P(HotFrameListItem, DisabledEntryDoesNotTurnHot) {
    item->SetEnabled(false);
    w.Move(Inside());
    EXPECT_FALSE(item->IsHot());
    EXPECT_TRUE(Paint(*item).Of(Op::DrawRect).empty());
}

TEST_P(HotFrameListItem, ContextMenuAndActivation) {
    w.Move(OnChild());
    w.Input(Kind::ContextMenu, OnChild());
    const Notice* menu = w.Last("menu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->sender, item);
    EXPECT_EQ(menu->wParam, static_cast<std::uintptr_t>(OnChild().x));
    EXPECT_EQ(menu->lParam, OnChild().y);

    w.Click(Inside());
    w.Input(Kind::DoubleClick, Inside());
    w.Up(Inside());
    ASSERT_EQ(w.Count("itemactivate"), 1);
    EXPECT_EQ(w.Last("itemactivate")->sender, item);
}

INSTANTIATE_TEST_SUITE_P(Entries, HotFrameListItem, ::testing::Values("update0", "share0"));

TEST(CloudShareListItem, NoMenuUnlessTheEntryAllowsIt) {
    ControlsTestWindow w;
    w.Load(kList);
    ui::CControlUI* plain = w.manager.FindControl("share1");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetClass(), "CloudShareListItemUI");
    const Point inside{plain->GetPos().left + 5, plain->GetPos().top + 5};
    w.Input(Kind::ContextMenu, inside);
    EXPECT_EQ(w.Count("menu"), 0);
}

}  // namespace
}  // namespace tx512::test
