// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing calls land on the right pixels: angles, borders, images with tint, fade, mask,
// source rectangles and clips.
#include <QPainter>

#include "QtTestSupport.h"
#include "ui/CResourceManager.h"
#include "ui/qt/QtImageCache.h"
#include "ui/qt/QtRenderTarget.h"

namespace {

using ui::Rect;
using ui::TDrawInfo;
using ui::qt::QtImageCache;
using ui::qt::QtRenderTarget;

class QtRenderTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        qttest::UseSampleSkin();
        image = QImage(100, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        painter = std::make_unique<QPainter>(&image);
        target = std::make_unique<QtRenderTarget>(*painter, images, 96);
    }
    QColor At(int x, int y) {
        target.reset();
        if (painter) painter->end();
        painter.reset();
        return image.pixelColor(x, y);
    }

    QtImageCache images;
    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QtRenderTarget> target;
};

TEST_F(QtRenderTargetTest, PieAnglesRunClockwiseFromThreeOClock) {
    // 90 degrees from "six o'clock" on: the bottom-left quarter only.
    target->FillPie(Rect{0, 0, 100, 100}, 90.0f, 90.0f, 0xFFFF0000);
    EXPECT_TRUE(qttest::Near(At(25, 75), Qt::red));
    EXPECT_TRUE(qttest::Near(image.pixelColor(75, 75), Qt::white));
    EXPECT_TRUE(qttest::Near(image.pixelColor(25, 25), Qt::white));
    EXPECT_TRUE(qttest::Near(image.pixelColor(75, 25), Qt::white));
}

TEST_F(QtRenderTargetTest, RectBorderLiesInsideAndSkipsTransparentColours) {
    target->DrawRect(Rect{10, 10, 30, 30}, 2, 0xFF0000FF);
    target->FillRect(Rect{50, 50, 60, 60}, 0x00FF0000);  // alpha 0: nothing
    EXPECT_TRUE(qttest::Near(At(10, 10), Qt::blue));
    EXPECT_TRUE(qttest::Near(image.pixelColor(29, 29), Qt::blue));
    EXPECT_TRUE(qttest::Near(image.pixelColor(30, 30), Qt::white));  // half-open
    EXPECT_TRUE(qttest::Near(image.pixelColor(12, 12), Qt::white));  // the inside stays
    EXPECT_TRUE(qttest::Near(image.pixelColor(55, 55), Qt::white));
}

TEST_F(QtRenderTargetTest, TintColoursTheImageShapeAndAlphaFadesIt) {
    // key_light.png: an opaque ring, a faint middle and transparent corners.
    TDrawInfo light = TDrawInfo::Parse("key_light.png");
    target->DrawImage(Rect{0, 0, 48, 48}, light, 0xFF00FF00, 255);
    target->DrawImage(Rect{50, 0, 98, 48}, light, 0xFF00FF00, 128);
    EXPECT_TRUE(qttest::Near(At(1, 24), Qt::green));  // the ring takes the tint
    EXPECT_TRUE(qttest::Near(image.pixelColor(0, 0), Qt::white));  // corners stay clear
    const QColor faded = image.pixelColor(51, 24);  // half alpha: between green and white
    EXPECT_GT(faded.red(), 100);
    EXPECT_LT(faded.red(), 160);
    EXPECT_GT(faded.green(), 240);
    const QColor middle = image.pixelColor(24, 24);  // faint middle: mostly background
    EXPECT_GT(middle.red(), 180);
}

TEST_F(QtRenderTargetTest, SourceRectangleAndMaskPickWhatIsDrawn) {
    // The key's top-left corner is transparent; a source from its middle is not.
    target->DrawImage(Rect{0, 0, 20, 20}, TDrawInfo::Parse("file='key.png' source='10,10,30,30'"),
                      0, 255);
    // Masking the border colour leaves the key without its frame.
    target->DrawImage(Rect{50, 0, 98, 48}, TDrawInfo::Parse("file='key.png' mask='#FF4C566A'"), 0,
                      255);
    EXPECT_TRUE(qttest::Near(At(0, 0), QColor(0x2E, 0x34, 0x40), 24));
    EXPECT_TRUE(qttest::Near(image.pixelColor(50 + 24, 0), Qt::white));  // frame masked away
    EXPECT_TRUE(qttest::Near(image.pixelColor(50 + 24, 8), QColor(0x2E, 0x34, 0x40), 24));
}

TEST_F(QtRenderTargetTest, MissingImagesDrawNothingAndAreReadOnce) {
    target->DrawImage(Rect{0, 0, 50, 50}, TDrawInfo::Parse("no_such.png"), 0xFFFF0000, 255);
    target->DrawImage(Rect{0, 0, 50, 50}, TDrawInfo::Parse("no_such.png"), 0xFFFF0000, 255);
    EXPECT_EQ(images.Size(), 1u);
    EXPECT_TRUE(qttest::Near(At(25, 25), Qt::white));
}

TEST_F(QtRenderTargetTest, ClipsNestAndExtraPopsAreHarmless) {
    target->PushClip(Rect{0, 0, 50, 100});
    target->PushClip(Rect{0, 0, 100, 50});
    target->FillRect(Rect{0, 0, 100, 100}, 0xFFFF0000);
    target->PopClip();
    target->PopClip();
    target->PopClip();  // one too many
    target->FillRect(Rect{90, 90, 100, 100}, 0xFF0000FF);
    EXPECT_TRUE(qttest::Near(At(10, 10), Qt::red));
    EXPECT_TRUE(qttest::Near(image.pixelColor(60, 10), Qt::white));
    EXPECT_TRUE(qttest::Near(image.pixelColor(10, 60), Qt::white));
    EXPECT_TRUE(qttest::Near(image.pixelColor(95, 95), Qt::blue));
}

TEST_F(QtRenderTargetTest, NinePatchKeepsCornersAtTheirSize) {
    // Stretched to 96 wide with 8-pixel corners, the corner stays transparent at (0,0)
    // and the border is still one pixel wide at the top edge's middle.
    target->DrawImage(Rect{0, 0, 96, 48}, TDrawInfo::Parse("file='key.png' corner='8,8,8,8'"), 0,
                      255);
    EXPECT_TRUE(qttest::Near(At(0, 0), Qt::white));
    EXPECT_TRUE(qttest::Near(image.pixelColor(48, 0), QColor(76, 86, 106), 16));
    EXPECT_TRUE(qttest::Near(image.pixelColor(48, 2), QColor(0x2E, 0x34, 0x40), 24));
}

TEST_F(QtRenderTargetTest, LaidOutImagesAreReusedPerSizeWhileTintsStayPerDraw) {
    // A running preview draws the same key at the same size with a new tint every frame:
    // the stretched image is made once, the tint is applied each time.
    const TDrawInfo key = TDrawInfo::Parse("file='key_light.png' corner='8,8,8,8'");
    target->DrawImage(Rect{0, 0, 40, 40}, key, 0xFFFF0000, 255);
    target->DrawImage(Rect{50, 0, 90, 40}, key, 0xFF0000FF, 255);
    EXPECT_EQ(images.ComposedCount(), 1u);
    target->DrawImage(Rect{0, 50, 60, 90}, key, 0xFF00FF00, 255);  // another size
    EXPECT_EQ(images.ComposedCount(), 2u);
    EXPECT_TRUE(qttest::Near(At(1, 20), Qt::red));
    EXPECT_TRUE(qttest::Near(image.pixelColor(51, 20), Qt::blue));  // not the first tint
    EXPECT_TRUE(qttest::Near(image.pixelColor(1, 70), Qt::green));
    EXPECT_TRUE(qttest::Near(image.pixelColor(59, 70), Qt::green));  // stretched to its width
    images.Clear();
    EXPECT_EQ(images.ComposedCount(), 0u);
}

}  // namespace
