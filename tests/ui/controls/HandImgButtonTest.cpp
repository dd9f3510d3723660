// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/controls/CHandImgButtonUI.h"

namespace tx512::test {
namespace {

using ui::CHandImgButtonUI;
using ui::Point;
using Op = ui::RecordingRenderTarget::Op;

constexpr const char* kHand = R"(<VerticalLayout>
  <HandImgButton name="hand" float="true" pos="0,0,100,80" normalimage="btn.png"
                 handimage="hand.png" deletenormalimage="del.png" deletehotimage="del_hot.png"/>
</VerticalLayout>)";

// Delete area of the 100 x 80 button at 96 DPI: {70, 51, 90, 71}.
constexpr Point kOnDelete{80, 60};
constexpr Point kOnPicture{20, 20};
constexpr Point kOutside{200, 200};

CHandImgButtonUI* LoadHand(ControlsTestWindow& w, bool deleting) {
    w.Load(kHand);
    auto* hand = w.Find<CHandImgButtonUI>("hand", "HandImgButton");
    if (hand != nullptr) hand->SetDeleteDisabled(!deleting);
    return hand;
}

TEST(HandImgButton, DeleteAreaSitsInTheLowerRightCornerScaledByDpi) {
    ControlsTestWindow w;
    auto* hand = LoadHand(w, true);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->GetDeleteRect(), (ui::Rect{70, 51, 90, 71}));

    ControlsTestWindow big;
    big.manager.SetDPI(192);
    auto* scaled = LoadHand(big, true);
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(scaled->GetPos(), (ui::Rect{0, 0, 200, 160}));
    EXPECT_EQ(scaled->GetDeleteRect(), (ui::Rect{140, 102, 180, 142}));
}

TEST(HandImgButton, HoverShowsTheDeleteMarkAndReleaseOnItDeletes) {
    ControlsTestWindow w;
    auto* hand = LoadHand(w, true);
    ASSERT_NE(hand, nullptr);

    w.Move(kOnPicture);
    EXPECT_EQ(w.Types(), std::vector<std::string>{"msenter"});
    auto images = Paint(*hand).Of(Op::DrawImage);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].image.sImageName, "btn.png");
    EXPECT_EQ(images[1].image.sImageName, "hand.png");
    EXPECT_EQ(images[1].rect, hand->GetPos());
    EXPECT_EQ(images[2].image.sImageName, "del.png");
    EXPECT_EQ(images[2].rect, hand->GetDeleteRect());

    w.Move(kOnDelete);
    EXPECT_EQ(hand->GetDeleteImage(), "del_hot.png");
    EXPECT_EQ(Paint(*hand).Images().back(), "del_hot.png");

    w.Down(kOnDelete);
    w.Up(kOnDelete);
    EXPECT_EQ(w.Count("click_handdelete"), 1);
    EXPECT_EQ(w.Last("click_handdelete")->sender, hand);
    EXPECT_EQ(w.Count("click"), 0);
    EXPECT_EQ(hand->GetButtonState() & (ui::UISTATE_PUSHED | ui::UISTATE_CAPTURED), 0u);

    // Elsewhere on the picture a release is an ordinary click.
    w.Move(kOnPicture);
    EXPECT_EQ(hand->GetDeleteImage(), "del.png");
    w.Down(kOnPicture);
    w.Up(kOnPicture);
    EXPECT_EQ(w.Count("click"), 1);
    EXPECT_EQ(w.Count("click_handdelete"), 1);

    w.Move(kOutside);
    EXPECT_EQ(w.Types().back(), "msleave");
    EXPECT_EQ(Paint(*hand).Images(), (std::vector<std::string>{"btn.png", "hand.png"}));
}

TEST(HandImgButton, WithDeletingDisabledNoMarkAndNoDelete) {
    ControlsTestWindow w;
    auto* hand = LoadHand(w, false);
    ASSERT_NE(hand, nullptr);
    EXPECT_TRUE(hand->IsDeleteDisabled());

    w.Move(kOnDelete);
    EXPECT_EQ(Paint(*hand).Images(), (std::vector<std::string>{"btn.png", "hand.png"}));
    w.Down(kOnDelete);
    w.Up(kOnDelete);
    EXPECT_EQ(w.Count("click_handdelete"), 0);
    EXPECT_EQ(w.Count("click"), 1);  // the mark's place is just part of the button
}

TEST(HandImgButton, PushedStateFollowsThePointerWhileCaptured) {
    ControlsTestWindow w;
    auto* hand = LoadHand(w, true);
    ASSERT_NE(hand, nullptr);
    w.Move(kOnPicture);
    w.Down(kOnPicture);
    EXPECT_NE(hand->GetButtonState() & ui::UISTATE_PUSHED, 0u);
    w.Move(kOutside);
    EXPECT_EQ(hand->GetButtonState() & ui::UISTATE_PUSHED, 0u);
    w.Move(kOnPicture);
    EXPECT_NE(hand->GetButtonState() & ui::UISTATE_PUSHED, 0u);
    w.Move(kOutside);
    w.Up(kOutside);
    EXPECT_EQ(w.Count("click"), 0);
    EXPECT_EQ(w.Count("click_handdelete"), 0);
}

TEST(HandImgButton, DisabledButtonIgnoresHoverAndPresses) {
    ControlsTestWindow w;
    auto* hand = LoadHand(w, true);
    ASSERT_NE(hand, nullptr);
    hand->SetEnabled(false);
    w.Move(kOnDelete);
    w.Down(kOnDelete);
    w.Up(kOnDelete);
    w.Move(kOutside);
    EXPECT_TRUE(w.Types().empty());
    EXPECT_EQ(Paint(*hand).Images(), (std::vector<std::string>{"btn.png", "hand.png"}));
}

}  // namespace
}  // namespace tx512::test
