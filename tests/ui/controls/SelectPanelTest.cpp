// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/controls/CSelectPanelUI.h"

namespace tx512::test {
namespace {

using ui::CDeviceKeyButtonUI;
using ui::CSelectPanelUI;
using ui::Point;
using ui::Rect;
using Op = ui::RecordingRenderTarget::Op;

constexpr const char* kPicture = R"(<VerticalLayout>
  <SelectPanel name="device_key_light" height="200">
    <DeviceKeyButton name="key_0" float="true" pos="10,10,50,50"/>
    <DeviceKeyButton name="key_1" float="true" pos="60,10,100,50"/>
    <DeviceKeyButton name="key_2" float="true" pos="10,60,50,100"/>
    <DeviceKeyButton name="key_3" float="true" pos="200,150,240,190"/>
    <Label name="caption" float="true" pos="300,10,380,30"/>
  </SelectPanel>
</VerticalLayout>)";

class SelectPanel : public ::testing::Test {
protected:
    void SetUp() override {
        w.Load(kPicture);
        panel = w.Find<CSelectPanelUI>("device_key_light", "SelectPanel");
        for (int i = 0; i < 4; ++i)
            keys.push_back(
                w.Find<CDeviceKeyButtonUI>("key_" + std::to_string(i), "DeviceKeyButton"));
        ASSERT_NE(panel, nullptr);
        for (auto* key : keys) ASSERT_NE(key, nullptr);
    }

    std::vector<bool> Selected() const {
        std::vector<bool> flags;
        for (auto* key : keys) flags.push_back(key->IsSelectedByArea());
        return flags;
    }

    ControlsTestWindow w;
    CSelectPanelUI* panel = nullptr;
    std::vector<CDeviceKeyButtonUI*> keys;
};

TEST_F(SelectPanel, DragEitherWaySelectsTheSameKeys) {
    const std::vector<bool> expected{true, true, false, false};

    w.Drag(Point{5, 5}, Point{70, 55});
    EXPECT_EQ(Selected(), expected);
    EXPECT_EQ(panel->GetSelectionRect(), (Rect{5, 5, 70, 55}));
    ASSERT_EQ(w.Count("click_select_end"), 1);
    EXPECT_EQ(w.Last("click_select_end")->sender, panel);

    for (auto* key : keys) key->SetSelectedByArea(false);
    w.Drag(Point{70, 55}, Point{5, 5});
    EXPECT_EQ(Selected(), expected);
    EXPECT_EQ(panel->GetSelectionRect(), (Rect{5, 5, 70, 55}));
    EXPECT_EQ(w.Count("click_select_end"), 2);
}

TEST_F(SelectPanel, NewSelectionReplacesTheOldOne) {
    w.Drag(Point{5, 5}, Point{70, 55});
    w.Drag(Point{250, 195}, Point{5, 55});  // from bottom right: keys 2 and 3
    EXPECT_EQ(Selected(), (std::vector<bool>{false, false, true, true}));
}

TEST_F(SelectPanel, DragMayStartOnAPlainChildOfThePanel) {
    w.Drag(Point{310, 20}, Point{190, 160});
    EXPECT_EQ(Selected(), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(w.Count("click_select_end"), 1);
}

TEST_F(SelectPanel, PressWithoutDragSelectsNothing) {
    keys[0]->SetSelectedByArea(true);
    w.Click(Point{150, 120});
    EXPECT_FALSE(panel->IsArmed());
    EXPECT_EQ(Selected(), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(w.Count("click_select_end"), 0);

    // A press on a key belongs to the key, however far it is dragged.
    w.Drag(Point{20, 20}, Point{90, 90});
    EXPECT_EQ(w.Count("click_select_end"), 0);
    EXPECT_EQ(Selected(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(SelectPanel, SelectionRectangleIsDrawnWhileDragging) {
    w.Move(Point{150, 120});
    w.Down(Point{150, 120});
    w.Move(Point{110, 60});
    EXPECT_TRUE(panel->IsSelecting());
    auto rec = Paint(*panel);
    auto fills = rec.Of(Op::FillRect);
    auto frames = rec.Of(Op::DrawRect);
    ASSERT_FALSE(fills.empty());
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(fills.back().rect, (Rect{110, 60, 150, 120}));
    EXPECT_EQ(frames.back().rect, (Rect{110, 60, 150, 120}));

    w.Up(Point{110, 60});
    EXPECT_FALSE(panel->IsSelecting());
    EXPECT_TRUE(Paint(*panel).Of(Op::DrawRect).empty());
}

TEST_F(SelectPanel, HiddenKeysAreNotSelected) {
    keys[1]->SetVisible(false);
    w.manager.EnsureLayout();
    w.Drag(Point{5, 5}, Point{70, 55});
    EXPECT_EQ(Selected(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(SelectPanel, DisabledPanelDoesNotSelect) {
    panel->SetEnabled(false);
    w.Drag(Point{5, 5}, Point{70, 55});
    EXPECT_EQ(Selected(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(w.Count("click_select_end"), 0);
}

}  // namespace
}  // namespace tx512::test
