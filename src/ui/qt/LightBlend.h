// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A key's light laid straight onto the picture beneath it: the light's shape coloured with
// the tint and blended "source over" in one pass over the pixels, as the painter would draw
// the tinted image, without making the tinted image first. A lit preview draws every key in
// a colour of its own, frame after frame, so no tinted image would ever be drawn twice.
#include <QImage>
#include <QPoint>
#include <QRect>

#include "ui/UIDefs.h"

namespace ui::qt {

// `part` of `shape` (premultiplied ARGB), coloured with `tint` (ARGB; its alpha blends the
// tint with the shape's own colours), its whole weight scaled by `opacity` (0..255), over
// `frame` (premultiplied ARGB) with the part's top-left at `at`. Pixels falling outside
// `frame` are left out.
void BlendTintedOver(const QImage& shape, QRect part, Color tint, int opacity, QImage& frame,
                     QPoint at);

// A light of one colour whose level stays while its colour changes, laid in two steps: what
// lies beneath it is dimmed by the light's alpha once, and each colour is then only added.
// `beneath` dimmed under `part` of `shape` placed at `at`, its alpha scaled by `opacity`
// (0..255), into `dimmed` (made the size of `beneath`).
void DimBeneathLight(const QImage& beneath, const QImage& shape, QRect part, QPoint at,
                     int opacity, QImage& dimmed);
// Rows of 32-bit pixels, `width` by `height` of them from `bits` on: an image of our own,
// or one being painted (the window's).
struct PixelRows {
    uchar* bits;
    qsizetype stride;
    int width;
    int height;
    static PixelRows Of(QImage& image) {
        return {image.bits(), image.bytesPerLine(), image.width(), image.height()};
    }
};
// `dimmed` (as DimBeneathLight made it, with the same shape, part, place and opacity) with
// the light in the opaque colour `tint` added, into the top-left of `frame`. The same pixels
// as BlendTintedOver over the undimmed picture.
void AddLight(const QImage& dimmed, const QImage& shape, QRect part, QPoint at, Color tint,
              int opacity, const PixelRows& frame);

}  // namespace ui::qt
