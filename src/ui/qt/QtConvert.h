// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions between the skin library's plain types and Qt's.
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

#include "ui/UIDefs.h"

namespace ui::qt {

inline QColor ToQColor(Color argb) {
    return QColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                  static_cast<int>(argb & 0xFF), static_cast<int>((argb >> 24) & 0xFF));
}

inline Color FromQColor(const QColor& color) {
    return static_cast<Color>(color.alpha()) << 24 | static_cast<Color>(color.red()) << 16 |
           static_cast<Color>(color.green()) << 8 | static_cast<Color>(color.blue());
}

// Our rectangles are half-open; QRect's right() is the last pixel inside.
inline QRect ToQRect(const Rect& rc) { return QRect(rc.left, rc.top, rc.Width(), rc.Height()); }

inline Rect FromQRect(const QRect& rc) {
    return Rect{rc.x(), rc.y(), rc.x() + rc.width(), rc.y() + rc.height()};
}

inline QPoint ToQPoint(Point pt) { return QPoint(pt.x, pt.y); }
inline Point FromQPoint(const QPoint& pt) { return Point{pt.x(), pt.y()}; }

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace ui::qt
