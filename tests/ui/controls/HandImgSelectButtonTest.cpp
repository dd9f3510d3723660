// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsTestWindow.h"
#include "ui/CResourceManager.h"
#include "ui/controls/CHandImgSelectButtonUI.h"

namespace tx512::test {
namespace {

using ui::CHandImgSelectButtonUI;
using ui::Point;
using ui::Rect;
using Op = ui::RecordingRenderTarget::Op;

// Image sizes come from a table instead of PNG files.
class HandImgSelectButton : public ::testing::Test {
protected:
    void SetUp() override {
        ui::CResourceManager::GetInstance().SetImageSizeQuery([](const std::filesystem::path& p) {
            const std::string name = p.filename().string();
            if (name == "panorama.png") return ui::Size{300, 200};
            if (name == "thumb.png") return ui::Size{50, 40};
            if (name == "tall.png") return ui::Size{80, 500};
            return ui::Size{};
        });
    }
    void TearDown() override { ui::CResourceManager::GetInstance().SetImageSizeQuery(nullptr); }

    CHandImgSelectButtonUI* Load(std::string_view image, std::string_view extra = {}) {
        std::string xml =
            "<VerticalLayout><HandImgSelectButton name=\"pic\" float=\"true\" "
            "pos=\"0,0,100,80\" handimage=\"" +
            std::string(image) + "\" " + std::string(extra) + "/></VerticalLayout>";
        w.Load(xml);
        return w.Find<CHandImgSelectButtonUI>("pic", "HandImgSelectButton");
    }

    ControlsTestWindow w;
};

TEST_F(HandImgSelectButton, LargePictureShowsAControlSizedWindowFromTheOrigin) {
    auto* pic = Load("panorama.png");
    ASSERT_NE(pic, nullptr);
    EXPECT_TRUE(pic->IsPanning());
    EXPECT_EQ(pic->GetImageSize(), (ui::Size{300, 200}));
    EXPECT_EQ(pic->GetSourceRect(), (Rect{0, 0, 100, 80}));
    EXPECT_EQ(pic->GetHandImageString(), "file='panorama.png' source='0,0,100,80'");
    auto images = Paint(*pic).Of(Op::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].image.sImageName, "panorama.png");
    EXPECT_EQ(images[0].image.rcSource, (Rect{0, 0, 100, 80}));
    EXPECT_EQ(images[0].rect, (Rect{0, 0, 100, 80}));
}

TEST_F(HandImgSelectButton, DraggingPansAgainstThePointerAndStopsAtTheImageEdges) {
    auto* pic = Load("panorama.png");
    ASSERT_NE(pic, nullptr);

    w.Drag(Point{50, 40}, Point{20, 10});  // pointer up-left: the view moves down-right
    EXPECT_FALSE(pic->IsDragging());
    EXPECT_EQ(pic->GetSourceRect(), (Rect{30, 30, 130, 110}));
    EXPECT_EQ(pic->GetHandImageString(), "file='panorama.png' source='30,30,130,110'");

    // Far beyond the right and bottom edges: the window ends at the image's edge.
    for (int i = 0; i < 5; ++i) w.Drag(Point{90, 70}, Point{0, 0});
    EXPECT_EQ(pic->GetSourceRect(), (Rect{200, 120, 300, 200}));

    // And back past the origin.
    for (int i = 0; i < 5; ++i) w.Drag(Point{0, 0}, Point{90, 70});
    EXPECT_EQ(pic->GetSourceRect(), (Rect{0, 0, 100, 80}));

    // Moving without a press pans nothing.
    w.Move(Point{10, 10});
    w.Move(Point{60, 60});
    EXPECT_EQ(pic->GetSourceRect(), (Rect{0, 0, 100, 80}));
}

TEST_F(HandImgSelectButton, PictureThatFitsIsShownWholeAndDoesNotPan) {
    auto* pic = Load("thumb.png");
    ASSERT_NE(pic, nullptr);
    EXPECT_FALSE(pic->IsPanning());
    EXPECT_EQ(pic->GetHandImageString(), "thumb.png");
    EXPECT_EQ(pic->GetSourceRect(), pic->GetPos());
    w.Drag(Point{50, 40}, Point{10, 10});
    EXPECT_EQ(pic->GetHandImageString(), "thumb.png");
    auto images = Paint(*pic).Of(Op::DrawImage);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_TRUE(images[0].image.rcSource.IsEmpty());
}

TEST_F(HandImgSelectButton, PicturePansInTheDirectionItIsLargerOnly) {
    auto* pic = Load("tall.png");
    ASSERT_NE(pic, nullptr);
    EXPECT_TRUE(pic->IsPanning());
    w.Drag(Point{50, 70}, Point{10, 10});
    EXPECT_EQ(pic->GetSourceRect(), (Rect{0, 60, 100, 140}));
}

TEST_F(HandImgSelectButton, SizeGivenAfterTheImageStillSizesTheWindow) {
    w.Load(R"(<VerticalLayout>
      <HandImgSelectButton name="pic" handimage="panorama.png" width="120" height="90"/>
    </VerticalLayout>)");
    auto* pic = w.Find<CHandImgSelectButtonUI>("pic", "HandImgSelectButton");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->GetSourceRect(), (Rect{0, 0, 120, 90}));
}

TEST_F(HandImgSelectButton, CursorTakesOnlyStandardNames) {
    auto* pic = Load("panorama.png", "cursor=\"hand\"");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->GetCursor(), "hand");
    pic->SetAttribute("cursor", "sizewe");
    EXPECT_EQ(pic->GetCursor(), "sizewe");
    pic->SetAttribute("cursor", "spinning-beachball");
    EXPECT_EQ(pic->GetCursor(), "sizewe");
}

TEST_F(HandImgSelectButton, HoverRaisesEnterAndLeave) {
    auto* pic = Load("panorama.png");
    ASSERT_NE(pic, nullptr);
    w.Move(Point{10, 10});
    w.Move(Point{300, 250});
    EXPECT_EQ(w.Types(), (std::vector<std::string>{"msenter", "msleave"}));
    EXPECT_EQ(w.Last("msleave")->sender, pic);
}

}  // namespace
}  // namespace tx512::test
