// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtRenderTarget.h"

#include <algorithm>

#include "ui/CControlUI.h"
#include "ui/qt/LightBlend.h"
#include "ui/qt/QtConvert.h"

namespace ui::qt {

namespace {

bool Invisible(Color color) { return (color >> 24) == 0; }

QRectF PieBounds(const Rect& bounds) {
    return QRectF(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

// Our angles run clockwise in degrees; Qt's run counter-clockwise in sixteenths.
int QtAngle(float degrees) { return static_cast<int>(-degrees * 16.0f); }

}  // namespace

QtRenderTarget::QtRenderTarget(QPainter& painter, QtImageCache& images, int dpi,
                               QtTextPainter::FontLookup fonts)
    : m_painter(painter), m_images(images), m_dpi(dpi > 0 ? dpi : 96),
      m_text(painter, m_dpi, std::move(fonts)) {
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QtRenderTarget::~QtRenderTarget() {
    // Unbalanced clips of a control that threw its drawing off must not leak into the
    // painter's next user.
    while (!m_clips.empty()) PopClip();
}

void QtRenderTarget::FillRect(const Rect& rect, Color color) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    if (Invisible(color) || rect.IsEmpty()) return;
    m_painter.fillRect(ToQRect(rect), ToQColor(color));
}

void QtRenderTarget::DrawRect(const Rect& rect, int lineWidth, Color color) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    if (Invisible(color) || rect.IsEmpty() || lineWidth <= 0) return;
    // The border lies inside the rectangle, as the layout counts it.
    const int w = std::min({lineWidth, rect.Width(), rect.Height()});
    const QColor c = ToQColor(color);
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), w), c);
    m_painter.fillRect(QRect(rect.left, rect.bottom - w, rect.Width(), w), c);
    m_painter.fillRect(QRect(rect.left, rect.top + w, w, rect.Height() - 2 * w), c);
    m_painter.fillRect(QRect(rect.right - w, rect.top + w, w, rect.Height() - 2 * w), c);
}

void QtRenderTarget::DrawRoundRect(const Rect& rect, int lineWidth, int radiusX, int radiusY,
                                   Color color) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    if (Invisible(color) || rect.IsEmpty() || lineWidth <= 0) return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, m_antiAlias);
    m_painter.setPen(QPen(ToQColor(color), lineWidth));
    m_painter.setBrush(Qt::NoBrush);
    const qreal half = lineWidth / 2.0;
    const QRectF inner = QRectF(rect.left, rect.top, rect.Width(), rect.Height())
                             .adjusted(half, half, -half, -half);
    // The radii are given as the corner ellipse's width and height.
    m_painter.drawRoundedRect(inner, radiusX / 2.0, radiusY / 2.0);
    m_painter.restore();
}

void QtRenderTarget::DrawLine(Point from, Point to, int lineWidth, Color color) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    if (Invisible(color) || lineWidth <= 0) return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, m_antiAlias);
    m_painter.setPen(QPen(ToQColor(color), lineWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(ToQPoint(from), ToQPoint(to));
    m_painter.restore();
}

void QtRenderTarget::FillPie(const Rect& bounds, float startAngle, float sweepAngle,
                             Color color) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    if (Invisible(color) || bounds.IsEmpty() || sweepAngle == 0.0f) return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, m_antiAlias);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ToQColor(color));
    if (sweepAngle >= 360.0f || sweepAngle <= -360.0f) {
        m_painter.drawEllipse(PieBounds(bounds));
    } else {
        m_painter.drawPie(PieBounds(bounds), QtAngle(startAngle), QtAngle(sweepAngle));
    }
    m_painter.restore();
}

void QtRenderTarget::DrawArc(const Rect& bounds, float startAngle, float sweepAngle,
                             int lineWidth, Color color) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    if (Invisible(color) || bounds.IsEmpty() || lineWidth <= 0 || sweepAngle == 0.0f) return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, m_antiAlias);
    m_painter.setPen(QPen(ToQColor(color), lineWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.setBrush(Qt::NoBrush);
    const float sweep = std::clamp(sweepAngle, -360.0f, 360.0f);
    m_painter.drawArc(PieBounds(bounds), QtAngle(startAngle), QtAngle(sweep));
    m_painter.restore();
}

void QtRenderTarget::Tint(const QImage& source, Color tint, QImage& out) {
    // The tint colours the image's own shape: its alpha stays, its colour becomes the
    // tint, blended by the tint's alpha (a flat colour drawn "source atop" the image).
    if (out.size() != source.size() || out.format() != QImage::Format_ARGB32_Premultiplied)
        out = QImage(source.size(), QImage::Format_ARGB32_Premultiplied);
    const unsigned ta = tint >> 24;
    const unsigned keep = 255 - ta;
    const unsigned tr = (tint >> 16) & 0xFF, tg = (tint >> 8) & 0xFF, tb = tint & 0xFF;
    const int width = source.width(), height = source.height();
    if (keep == 0) {
        // An opaque tint (every light) leaves nothing of the image but its alpha, so each
        // pixel is one of 256 values.
        QRgb byAlpha[256];
        for (unsigned a = 0; a < 256; ++a) {
            const unsigned scale = 255 * a;
            const auto mix = [&](unsigned t) { return (t * scale + 255 * 255 / 2) / (255 * 255); };
            byAlpha[a] = qRgba(static_cast<int>(mix(tr)), static_cast<int>(mix(tg)),
                               static_cast<int>(mix(tb)), static_cast<int>(a));
        }
        for (int y = 0; y < height; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < width; ++x) to[x] = byAlpha[qAlpha(in[x])];
        }
        return;
    }
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const unsigned a = qAlpha(in[x]);
            const unsigned scale = ta * a;  // the tint's share, premultiplied, of 255 * 255
            const auto mix = [&](unsigned t, unsigned own) {
                return (t * scale + own * keep * 255 + 255 * 255 / 2) / (255 * 255);
            };
            to[x] = qRgba(static_cast<int>(mix(tr, qRed(in[x]))),
                          static_cast<int>(mix(tg, qGreen(in[x]))),
                          static_cast<int>(mix(tb, qBlue(in[x]))), static_cast<int>(a));
        }
    }
}

int QtRenderTarget::ScaleCorner(int value) const { return (value * m_dpi + 48) / 96; }

void QtRenderTarget::DrawPart(QPainter& painter, const QRect& dest, const QImage& image,
                              const QRect& source, bool xTiled, bool yTiled) {
    if (dest.isEmpty() || source.isEmpty()) return;
    if (!xTiled && !yTiled) {
        painter.drawImage(dest, image, source);
        return;
    }
    const int stepX = xTiled ? source.width() : dest.width();
    const int stepY = yTiled ? source.height() : dest.height();
    painter.save();
    painter.setClipRect(dest, Qt::IntersectClip);
    for (int y = dest.top(); y < dest.top() + dest.height(); y += stepY) {
        for (int x = dest.left(); x < dest.left() + dest.width(); x += stepX) {
            painter.drawImage(QRect(x, y, stepX, stepY), image, source);
        }
    }
    painter.restore();
}

void QtRenderTarget::DrawLayout(QPainter& painter, const QRect& target, const QImage& image,
                                const QRect& source, const TDrawInfo& info) const {
    const Rect& c = info.rcCorner;
    if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
        DrawPart(painter, target, image, source, info.bXTiled, info.bYTiled);
        return;
    }
    // Nine parts: the corners keep their size, the edges stretch one way, the middle
    // both ways (or stays empty for a hole).
    const int sl = std::min(c.left, source.width());
    const int sr = std::min(c.right, source.width() - sl);
    const int st = std::min(c.top, source.height());
    const int sb = std::min(c.bottom, source.height() - st);
    const int dl = std::min(ScaleCorner(sl), target.width());
    const int dr = std::min(ScaleCorner(sr), target.width() - dl);
    const int dt = std::min(ScaleCorner(st), target.height());
    const int db = std::min(ScaleCorner(sb), target.height() - dt);
    const int sx[4] = {source.left(), source.left() + sl, source.left() + source.width() - sr,
                       source.left() + source.width()};
    const int sy[4] = {source.top(), source.top() + st, source.top() + source.height() - sb,
                       source.top() + source.height()};
    const int dx[4] = {target.left(), target.left() + dl, target.left() + target.width() - dr,
                       target.left() + target.width()};
    const int dy[4] = {target.top(), target.top() + dt, target.top() + target.height() - db,
                       target.top() + target.height()};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1 && info.bHole) continue;
            const QRect d(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]);
            const QRect s(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
            const bool middle = row == 1 && col == 1;
            DrawPart(painter, d, image, s, middle && info.bXTiled, middle && info.bYTiled);
        }
    }
}

void QtRenderTarget::OverlayDrawnBy(CControlUI* control) {
    if (m_drawers == nullptr) return;
    // A second light of the same control counts on the same note (DrawImage).
    if (!m_drawers->empty() && m_drawers->back().control == control) return;
    const Rect clip = m_clips.empty() ? Rect{} : m_clips.back().rect;
    m_drawers->push_back({control, clip, {}, 0});
}

bool QtRenderTarget::OverlayDrawer::LightNow(Color& tint, int& level) const {
    std::uint8_t alpha = 0;
    if (lights != 1 || !control->GetLightTint(tint, alpha)) return false;
    level = qRound(light.fade * alpha);
    return true;
}

bool QtRenderTarget::BlendPlacedLight(const OverlayDrawer& drawer, QImage& frame, QPoint origin) {
    Color tint = 0;
    int level = 0;
    if (!drawer.LightNow(tint, level)) return false;
    BlendTintedOver(drawer.light.shape, drawer.light.part, tint, level, frame,
                    drawer.light.at - origin);
    return true;
}

bool QtRenderTarget::WantsImage(Color tint) const {
    const bool overlay = !Invisible(tint);
    return !((m_layer == Layer::Underlay && overlay) || (m_layer == Layer::Overlay && !overlay));
}

void QtRenderTarget::DrawImage(const Rect& dest, const TDrawInfo& info, Color tint,
                               std::uint8_t alpha) {
    if (info.IsEmpty() || dest.IsEmpty()) return;
    if (!WantsImage(tint)) return;
    const QImage& loaded = m_images.Get(info.sImageName, info.dwMask);
    if (loaded.isNull()) return;
    QRect source = loaded.rect();
    if (!info.rcSource.IsEmpty()) source = ToQRect(info.rcSource).intersected(loaded.rect());
    if (source.isEmpty()) return;
    const qreal opacity = (info.uFade / 255.0) * (alpha / 255.0);
    if (opacity <= 0.0) return;
    const QRect target = ToQRect(dest);
    // Only the part inside the clip: a key repainting on its own must not make the
    // picture behind it blend all of itself.
    QRect visible = target;
    if (!m_clips.empty()) visible = target.intersected(ToQRect(m_clips.back().rect));
    if (visible.isEmpty()) return;
    if (Invisible(tint) && target.width() * target.height() > kComposeLimitPixels) {
        // A large picture (a background, a panel) is drawn seldom and mostly in part: laid
        // out straight onto the painter, inside the clip, it costs no copy of its own and
        // no memory kept for it. The first paint of the window is mostly such pictures.
        m_painter.save();
        m_painter.setClipRect(visible, Qt::IntersectClip);
        if (opacity < 1.0) m_painter.setOpacity(m_painter.opacity() * opacity);
        DrawLayout(m_painter, target, loaded, source, info);
        m_painter.restore();
        return;
    }

    // Laid out once at this size, then only copied: the same keys are drawn at the same
    // sizes frame after frame.
    const Rect& c = info.rcCorner;
    const ComposedKey key{{info.dwMask,
                           {source.x(), source.y(), source.width(), source.height()},
                           {c.left, c.top, c.right, c.bottom},
                           info.bHole,
                           info.bXTiled,
                           info.bYTiled,
                           target.width(),
                           target.height(),
                           m_dpi},
                          info.sImageName,
                          {}};
    const QImage& composed = m_images.Composed(key, [&] {
        QImage image(target.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHints(m_painter.renderHints());
        DrawLayout(p, QRect(QPoint(0, 0), target.size()), loaded, source, info);
        return image;
    });

    const QRect part = visible.translated(-target.topLeft());
    if (m_lightFrame != nullptr && m_layer == Layer::Overlay) {
        BlendTintedOver(composed, part, tint, qRound(opacity * m_painter.opacity() * 255),
                        *m_lightFrame, visible.topLeft() - m_lightFrameOrigin);
        if (m_drawers != nullptr && !m_drawers->empty()) {
            OverlayDrawer& drawer = m_drawers->back();
            drawer.light = {composed, part, visible.topLeft(), info.uFade / 255.0};
            ++drawer.lights;
        }
        return;
    }
    const QImage* image = &composed;
    if (!Invisible(tint))
        image = &m_images.Tinted(composed, tint, [&](QImage& out) { Tint(composed, tint, out); });
    if (opacity >= 1.0) {
        m_painter.drawImage(visible.topLeft(), *image, part);
        return;
    }
    m_painter.save();
    m_painter.setOpacity(m_painter.opacity() * opacity);
    m_painter.drawImage(visible.topLeft(), *image, part);
    m_painter.restore();
}

void QtRenderTarget::DrawText(const Rect& rect, std::string_view text, Color color,
                              const TFontInfo& font, unsigned style, bool markup) {
    if (m_layer == Layer::Overlay) return;
    ApplyClips();
    const qreal ratio = m_painter.device() ? m_painter.device()->devicePixelRatio() : 1.0;
    const int width = static_cast<int>(rect.Width() * ratio);
    const int height = static_cast<int>(rect.Height() * ratio);
    // Markup may name fonts of the window's table, which can change under the same text.
    if (markup || text.empty() || Invisible(color) || !QtImageCache::TextFits(width, height)) {
        m_text.Draw(rect, text, color, font, style, markup);
        return;
    }
    const TextKey key{{color, font.iSize, font.bBold, font.bUnderline, font.bItalic, style,
                       rect.Width(), rect.Height(), m_dpi, static_cast<int>(ratio * 100)},
                      text,
                      font.sFontName};
    const QImage& drawn = m_images.Text(key, [&] {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHints(m_painter.renderHints());
        QtTextPainter(p, m_dpi).Draw(Rect{0, 0, rect.Width(), rect.Height()}, text, color, font,
                                     style, false);
        return image;
    });
    m_painter.drawImage(QPoint(rect.left, rect.top), drawn);
}

void QtRenderTarget::PushClip(const Rect& rect) {
    // Only noted here: images clip themselves to the noted rectangle, and the painter is
    // clipped when something else is drawn (ApplyClips). Repainting one key clips at every
    // container above it; a clip that does not narrow the one in force costs nothing.
    const Rect drawable = m_clips.empty() ? rect : rect.Intersect(m_clips.back().rect);
    const bool narrows = m_clips.empty() || !(drawable == m_clips.back().rect);
    m_clips.push_back({drawable, narrows, false});
}

void QtRenderTarget::PopClip() {
    if (m_clips.empty()) return;  // more pops than pushes: ignore the extra ones
    const bool saved = m_clips.back().saved;
    m_clips.pop_back();
    if (saved) m_painter.restore();
}

void QtRenderTarget::ApplyClips() {
    for (Clip& clip : m_clips) {
        if (!clip.narrows || clip.saved) continue;
        m_painter.save();
        m_painter.setClipRect(ToQRect(clip.rect), Qt::IntersectClip);
        clip.saved = true;
    }
}

void QtRenderTarget::SetAntiAlias(bool on) { m_antiAlias = on; }

}  // namespace ui::qt
