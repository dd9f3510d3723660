// SPDX-License-Identifier: GPL-3.0-or-later
// The layout engine: rectangles for a window size and DPI (fixed, stretching, padding,
// inset, child padding, alignment, floats, hidden children, tabs and list scrolling).
#include "UiTestSupport.h"

#include "ui/CListLabelElementUI.h"
#include "ui/CListUI.h"
#include "ui/CVerticalLayoutUI.h"

namespace {

using namespace ui;

class LayoutEngineTest : public uitest::LayoutFixture {
protected:
    Rect PosOf(const char* name) { return pm.FindControl(name)->GetPos(); }
};

TEST_F(LayoutEngineTest, VerticalAndHorizontalStacking) {
    Build(R"(<VerticalLayout inset="10,10,10,10" childpadding="5">
      <Control name="fixed" height="40"/>
      <Control name="stretch_a"/>
      <HorizontalLayout name="row" height="50" childpadding="4">
        <Control name="w60" width="60" padding="2,3,0,0"/><Control name="fill"/><Control name="w30" width="30" height="20"/>
      </HorizontalLayout>
      <Control name="stretch_b"/>
      <Control name="hidden" height="100" visible="false"/>
    </VerticalLayout>)", 400, 300);
    EXPECT_EQ(PosOf("fixed"), (Rect{10, 10, 390, 50}));
    // 280 inner height - 40 - 50 - 3 paddings of 5 = 175, shared by the two stretching ones;
    // a hidden child takes no room.
    EXPECT_EQ(PosOf("stretch_a"), (Rect{10, 55, 390, 142}));
    EXPECT_EQ(PosOf("row"), (Rect{10, 147, 390, 197}));
    EXPECT_EQ(PosOf("stretch_b"), (Rect{10, 202, 390, 290})) << "the last stretch takes the remainder";
    EXPECT_EQ(PosOf("w60"), (Rect{12, 150, 72, 197}));
    EXPECT_EQ(PosOf("w30"), (Rect{360, 147, 390, 167}));
    EXPECT_EQ(PosOf("fill"), (Rect{76, 147, 356, 197}));
}

TEST_F(LayoutEngineTest, AlignmentFloatsAndDpi) {
    Build(R"(<VerticalLayout childalign="center" childvalign="vcenter">
      <Control name="box" width="100" height="50"/>
      <Control name="float" float="true" pos="5,6,25,16"/>
    </VerticalLayout>)", 300, 200);
    EXPECT_EQ(PosOf("box"), (Rect{100, 75, 200, 125}));
    EXPECT_EQ(PosOf("float"), (Rect{5, 6, 25, 16}));
    pm.SetDPI(144);
    pm.SetClientSize(Size{450, 300});
    pm.EnsureLayout();
    EXPECT_EQ(PosOf("box"), (Rect{150, 112, 300, 187}));
    EXPECT_EQ(PosOf("float"), (Rect{8, 9, 38, 24}));
}

TEST_F(LayoutEngineTest, TabPagesShareTheAreaAndListsScrollToTheSelection) {
    Build(R"(<VerticalLayout><TabLayout name="tabs" height="100"><Control name="p0"/><Control name="p1"/></TabLayout>
             <List name="list" height="100"/></VerticalLayout>)", 200, 200);
    EXPECT_EQ(PosOf("p0"), (Rect{0, 0, 200, 100}));
    auto* list = Find<CListUI>("list");
    for (int i = 0; i < 10; ++i) {
        auto* row = new CListLabelElementUI();
        row->SetFixedHeight(30);
        row->SetName("row_" + std::to_string(i));
        list->Add(row);
    }
    pm.EnsureLayout();
    EXPECT_EQ(list->GetScrollRange().cy, 200);
    list->SelectItem(6, false, false);
    // Row 6 (180..210 of the content) now ends at the list's bottom edge.
    EXPECT_EQ(list->GetScrollPos().cy, 110);
    EXPECT_EQ(PosOf("row_6").bottom, list->GetPos().bottom);
    list->EndDown();
    pm.EnsureLayout();
    EXPECT_EQ(PosOf("row_9").bottom, list->GetPos().bottom);
    // A row scrolled out of view takes no clicks.
    EXPECT_NE(pm.FindControl(Point{100, 150}), pm.FindControl("row_0"));
    // Removing rows shrinks the range and pulls the position back.
    list->RemoveAll();
    pm.EnsureLayout();
    EXPECT_EQ(list->GetScrollPos().cy, 0);
}

}  // namespace
