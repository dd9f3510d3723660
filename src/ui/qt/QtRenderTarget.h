// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skin library's drawing interface on a QPainter: what a window, a screenshot or a
// test image shows. Coordinates are the window's client pixels; `dpi` scales fonts and the
// nine-patch corners of images the way the layout scaled the rectangles.
#include <QPainter>

#include <vector>

#include "ui/IRenderTarget.h"
#include "ui/qt/QtImageCache.h"
#include "ui/qt/QtTextPainter.h"

namespace ui::qt {

class QtRenderTarget : public IRenderTarget {
public:
    // What a paint draws: everything, everything but the tinted overlay images (the keys'
    // lights), or only those.
    enum class Layer { All, Underlay, Overlay };

    QtRenderTarget(QPainter& painter, QtImageCache& images, int dpi,
                   QtTextPainter::FontLookup fonts = {});
    ~QtRenderTarget() override;

    void FillRect(const Rect& rect, Color color) override;
    void DrawRect(const Rect& rect, int lineWidth, Color color) override;
    void DrawRoundRect(const Rect& rect, int lineWidth, int radiusX, int radiusY,
                       Color color) override;
    void DrawLine(Point from, Point to, int lineWidth, Color color) override;
    void FillPie(const Rect& bounds, float startAngle, float sweepAngle, Color color) override;
    void DrawArc(const Rect& bounds, float startAngle, float sweepAngle, int lineWidth,
                 Color color) override;
    void DrawImage(const Rect& dest, const TDrawInfo& image, Color tint,
                   std::uint8_t alpha) override;
    void DrawText(const Rect& rect, std::string_view text, Color color, const TFontInfo& font,
                  unsigned style, bool markup) override;
    void PushClip(const Rect& rect) override;
    void PopClip() override;
    void SetAntiAlias(bool on) override;
    void SetLayer(Layer layer) { m_layer = layer; }
    bool WantsImage(Color tint) const override;

    // A control that drew a tinted image, and the clip it drew under; with it where its
    // light went, when it drew exactly one into a light frame (BlendLightsInto).
    struct OverlayDrawer {
        CControlUI* control;
        Rect clip;
        struct Placed {
            QImage shape;  // the light's image laid out at its size, untinted
            QRect part;    // of `shape`, inside the clip
            QPoint at;     // where `part` goes, in the painter's coordinates
            qreal fade = 1.0;  // the image's own fade, apart from the control's level
        };
        Placed light;
        int lights = 0;  // tinted images it drew into the light frame
        // The tint and level (0..255) the control gives its one placed light now; false
        // when it drew more or less than one, or gives none now.
        bool LightNow(Color& tint, int& level) const;
    };
    // `drawer`'s light blended into `frame` (top-left at `origin`) as it was placed, with
    // the tint and level the control gives now. False when it cannot be (the control drew
    // more or less than one light, or gives none now): the control must paint itself.
    static bool BlendPlacedLight(const OverlayDrawer& drawer, QImage& frame, QPoint origin);
    // While set, every control that draws a tinted image is noted in `drawers` once (in
    // the order they draw); null stops noting.
    void NoteOverlayDrawers(std::vector<OverlayDrawer>* drawers) { m_drawers = drawers; }
    void OverlayDrawnBy(CControlUI* control) override;
    // While set, the overlay layer's lights are blended straight into `frame`, whose
    // top-left lies at `origin` of the painter, instead of being drawn through the painter;
    // null draws them through the painter again.
    void BlendLightsInto(QImage* frame, QPoint origin) {
        m_lightFrame = frame;
        m_lightFrameOrigin = origin;
    }

private:
    // Pictures larger than this are laid out where they are drawn instead of being kept
    // laid out (keys, buttons and icons are far smaller).
    static constexpr int kComposeLimitPixels = 192 * 192;
    static void Tint(const QImage& source, Color tint, QImage& out);
    // One part of an image into one part of the destination, stretched or tiled.
    // One part of an image into `dest`, stretched or tiled.
    static void DrawPart(QPainter& painter, const QRect& dest, const QImage& image,
                         const QRect& source, bool xTiled, bool yTiled);
    // The image's `source` laid out over `target` as the draw info says (nine parts or
    // stretched or tiled whole).
    void DrawLayout(QPainter& painter, const QRect& target, const QImage& image,
                    const QRect& source, const TDrawInfo& info) const;
    int ScaleCorner(int value) const;

    QPainter& m_painter;
    QtImageCache& m_images;
    int m_dpi;
    QtTextPainter m_text;
    // Clips the painter to every noted clip that narrows and is not applied yet.
    void ApplyClips();

    struct Clip {
        Rect rect;     // what is drawable inside all the clips pushed so far
        bool narrows;  // narrower than the clip in force when it was pushed
        bool saved;    // applied to the painter (saved before), to be restored on pop
    };
    std::vector<Clip> m_clips;
    bool m_antiAlias = true;
    Layer m_layer = Layer::All;
    std::vector<OverlayDrawer>* m_drawers = nullptr;
    QImage* m_lightFrame = nullptr;
    QPoint m_lightFrameOrigin;
};

}  // namespace ui::qt
