// SPDX-License-Identifier: GPL-3.0-or-later
// A light laid by hand over the picture beneath it shows the same pixels as the painter
// drawing the tinted light there, whichever way it is laid.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "ui/qt/LightBlend.h"

namespace {

using ui::qt::AddLight;
using ui::qt::BlendTintedOver;
using ui::qt::DimBeneathLight;

// An opaque picture of many colours and a light shape of every alpha, odd sizes so the
// pixels left after each group of four are laid too.
QImage Picture(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    return image;
}

QImage Shape(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned a = (x == 0 || y == 0) ? 0 : (random() % 4 == 0 ? 255 : random() & 0xFF);
            const QColor c(random() & 0xFF, random() & 0xFF, random() & 0xFF, static_cast<int>(a));
            image.setPixel(x, y, qPremultiply(c.rgba()));
        }
    return image;
}

// What the painter shows: the shape tinted ("source atop" a flat colour, the tint's alpha
// mixing it with the shape's own colour), drawn over the picture at the opacity.
QImage Painted(const QImage& picture, const QImage& shape, QRect part, QPoint at, QRgb tint,
               int opacity) {
    QImage tinted = shape.copy();
    {
        QPainter p(&tinted);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(tinted.rect(), QColor::fromRgba(tint));
    }
    QImage out = picture.copy();
    QPainter p(&out);
    p.setOpacity(opacity / 255.0);
    p.drawImage(at, tinted, part);
    return out;
}

int WorstChannel(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int shift : {0, 8, 16, 24})
                worst = std::max(worst, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
        }
    return worst;
}

struct Case {
    QRgb tint;
    int opacity;
    QRect part;
    QPoint at;
};

const Case kCases[] = {
    {0xFFFF8000u, 255, QRect(0, 0, 23, 17), QPoint(0, 0)},    // the whole shape, opaque
    {0xFF2040E0u, 140, QRect(0, 0, 23, 17), QPoint(3, 2)},    // a level below full
    {0xFF00FF00u, 255, QRect(5, 3, 13, 9), QPoint(6, 4)},     // a part, clipped
    {0xFFFFFFFFu, 77, QRect(0, 0, 23, 17), QPoint(-4, 9)},    // hanging out of the frame
    {0x80C02060u, 255, QRect(0, 0, 23, 17), QPoint(1, 1)},    // a tint that lets the shape through
    {0x40102030u, 200, QRect(2, 2, 19, 13), QPoint(2, 5)},
};

}  // namespace

TEST(LightBlendTest, ALightBlendedInOnePassShowsWhatThePainterDraws) {
    const QImage picture = Picture(27, 21, 1);
    const QImage shape = Shape(23, 17, 2);
    for (const Case& c : kCases) {
        QImage frame = picture.copy();
        BlendTintedOver(shape, c.part, c.tint, c.opacity, frame, c.at);
        EXPECT_LE(WorstChannel(frame, Painted(picture, shape, c.part, c.at, c.tint, c.opacity)), 2)
            << std::hex << c.tint << std::dec << " at " << c.opacity;
    }
}

TEST(LightBlendTest, ALightAddedOverTheDimmedPictureShowsWhatThePainterDraws) {
    const QImage picture = Picture(27, 21, 3);
    const QImage shape = Shape(23, 17, 4);
    QImage dimmed;
    for (const Case& c : kCases) {
        if ((c.tint >> 24) != 0xFF) continue;  // only opaque colours are added
        DimBeneathLight(picture, shape, c.part, c.at, c.opacity, dimmed);
        // Colour after colour over the one dimmed picture, as frames of the preview.
        for (QRgb colour : {c.tint, 0xFF000000u, 0xFF7F7F7Fu, 0xFFFFFFFFu}) {
            QImage frame(picture.size(), QImage::Format_ARGB32_Premultiplied);
            frame.fill(Qt::magenta);
            AddLight(dimmed, shape, c.part, c.at, colour, c.opacity, ui::qt::PixelRows::Of(frame));
            EXPECT_LE(WorstChannel(frame, Painted(picture, shape, c.part, c.at, colour, c.opacity)), 2)
                << std::hex << colour << std::dec << " at " << c.opacity;
        }
    }
}

TEST(LightBlendTest, NothingIsLaidForANoLevelOrAnInvisibleTint) {
    const QImage picture = Picture(9, 7, 5);
    const QImage shape = Shape(9, 7, 6);
    QImage frame = picture.copy();
    BlendTintedOver(shape, shape.rect(), 0xFFFFFFFFu, 0, frame, {});
    BlendTintedOver(shape, shape.rect(), 0x00FFFFFFu, 255, frame, {});
    EXPECT_EQ(frame, picture);
    QImage dimmed;
    DimBeneathLight(picture, shape, shape.rect(), {}, 0, dimmed);
    EXPECT_EQ(dimmed, picture);
    // Placed wholly outside the frame: the picture as it was.
    DimBeneathLight(picture, shape, shape.rect(), QPoint(40, 40), 255, dimmed);
    EXPECT_EQ(dimmed, picture);
}
