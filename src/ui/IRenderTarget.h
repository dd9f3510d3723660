// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything a control draws goes through this interface: the Qt renderer implements it
// on a real surface, RecordingRenderTarget keeps the calls for tests. Angles are in
// degrees, clockwise from the positive x axis (0 = three o'clock, 90 = six o'clock).
#include <string_view>

#include "ui/TDrawInfo.h"
#include "ui/TFontInfo.h"
#include "ui/UIDefs.h"

namespace ui {

class CControlUI;

class IRenderTarget {
public:
    virtual ~IRenderTarget() = default;

    virtual void FillRect(const Rect& rect, Color color) = 0;
    virtual void DrawRect(const Rect& rect, int lineWidth, Color color) = 0;
    virtual void DrawRoundRect(const Rect& rect, int lineWidth, int radiusX, int radiusY,
                               Color color) = 0;
    virtual void DrawLine(Point from, Point to, int lineWidth, Color color) = 0;
    // A pie slice of the ellipse inscribed in `bounds`; a sweep of 360 fills the ellipse.
    virtual void FillPie(const Rect& bounds, float startAngle, float sweepAngle, Color color) = 0;
    virtual void DrawArc(const Rect& bounds, float startAngle, float sweepAngle, int lineWidth,
                         Color color) = 0;
    // `tint` (alpha 0 = none) colours the image's opaque pixels; `alpha` multiplies the
    // image's own fade.
    // Whether an image drawn with this tint would show at all in this paint (a renderer
    // that repaints only some layers says no to the others, and the image is not even
    // looked up).
    virtual bool WantsImage(Color /*tint*/) const { return true; }
    // `control` is about to draw a tinted image (a renderer that repaints lights alone can
    // note who draws them, to ask only those next time).
    virtual void OverlayDrawnBy(CControlUI* /*control*/) {}
    virtual void DrawImage(const Rect& dest, const TDrawInfo& image, Color tint,
                           std::uint8_t alpha) = 0;
    // `style`: DT_ flags; `markup`: the text carries simple markup ({b}, {c #color}, ...).
    virtual void DrawText(const Rect& rect, std::string_view text, Color color,
                          const TFontInfo& font, unsigned style, bool markup) = 0;

    virtual void PushClip(const Rect& rect) = 0;
    virtual void PopClip() = 0;
    virtual void SetAntiAlias(bool on) = 0;
};

}  // namespace ui
