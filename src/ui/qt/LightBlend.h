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

}  // namespace ui::qt
