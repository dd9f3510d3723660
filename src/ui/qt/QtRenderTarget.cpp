#include "ui/qt/QtRenderTarget.h"

#include <algorithm>

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
    while (m_clipDepth > 0) PopClip();
}

void QtRenderTarget::FillRect(const Rect& rect, Color color) {
    if (Invisible(color) || rect.IsEmpty()) return;
    m_painter.fillRect(ToQRect(rect), ToQColor(color));
}

void QtRenderTarget::DrawRect(const Rect& rect, int lineWidth, Color color) {
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
    if (Invisible(color) || lineWidth <= 0) return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, m_antiAlias);
    m_painter.setPen(QPen(ToQColor(color), lineWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(ToQPoint(from), ToQPoint(to));
    m_painter.restore();
}

void QtRenderTarget::FillPie(const Rect& bounds, float startAngle, float sweepAngle,
                             Color color) {
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
    if (Invisible(color) || bounds.IsEmpty() || lineWidth <= 0 || sweepAngle == 0.0f) return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, m_antiAlias);
    m_painter.setPen(QPen(ToQColor(color), lineWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.setBrush(Qt::NoBrush);
    const float sweep = std::clamp(sweepAngle, -360.0f, 360.0f);
    m_painter.drawArc(PieBounds(bounds), QtAngle(startAngle), QtAngle(sweep));
    m_painter.restore();
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

void QtRenderTarget::DrawImage(const Rect& dest, const TDrawInfo& info, Color tint,
                               std::uint8_t alpha) {
    if (info.IsEmpty() || dest.IsEmpty()) return;
    const QImage& loaded = m_images.Get(info.sImageName, info.dwMask);
    if (loaded.isNull()) return;
    QRect source = loaded.rect();
    if (!info.rcSource.IsEmpty()) source = ToQRect(info.rcSource).intersected(loaded.rect());
    if (source.isEmpty()) return;
    const qreal opacity = (info.uFade / 255.0) * (alpha / 255.0);
    if (opacity <= 0.0) return;
    const QRect target = ToQRect(dest);

    // Laid out once at this size, then only copied: the same keys are drawn at the same
    // sizes frame after frame.
    const Rect& c = info.rcCorner;
    const ComposedKey key{info.sImageName,
                          info.dwMask,
                          {source.x(), source.y(), source.width(), source.height()},
                          {c.left, c.top, c.right, c.bottom},
                          info.bHole,
                          info.bXTiled,
                          info.bYTiled,
                          target.width(),
                          target.height(),
                          m_dpi};
    const QImage& composed = m_images.Composed(key, [&] {
        QImage image(target.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHints(m_painter.renderHints());
        DrawLayout(p, QRect(QPoint(0, 0), target.size()), loaded, source, info);
        return image;
    });

    const QImage* image = &composed;
    QImage tinted;
    if (!Invisible(tint)) {
        // The tint colours the image's own shape: its alpha stays, its colour becomes the
        // tint (blended by the tint's alpha).
        tinted = composed.copy();
        QPainter p(&tinted);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(tinted.rect(), ToQColor(tint));
        p.end();
        image = &tinted;
    }
    m_painter.save();
    m_painter.setOpacity(m_painter.opacity() * opacity);
    m_painter.drawImage(target.topLeft(), *image);
    m_painter.restore();
}

void QtRenderTarget::DrawText(const Rect& rect, std::string_view text, Color color,
                              const TFontInfo& font, unsigned style, bool markup) {
    m_text.Draw(rect, text, color, font, style, markup);
}

void QtRenderTarget::PushClip(const Rect& rect) {
    m_painter.save();
    m_painter.setClipRect(ToQRect(rect), Qt::IntersectClip);
    ++m_clipDepth;
}

void QtRenderTarget::PopClip() {
    if (m_clipDepth == 0) return;  // more pops than pushes: ignore the extra ones
    --m_clipDepth;
    m_painter.restore();
}

void QtRenderTarget::SetAntiAlias(bool on) { m_antiAlias = on; }

}  // namespace ui::qt
