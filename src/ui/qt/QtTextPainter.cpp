// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtTextPainter.h"

#include <QFontMetrics>

#include <algorithm>
#include <vector>

#include "ui/qt/MarkupText.h"
#include "ui/qt/QtConvert.h"
#include "ui/qt/QtFontMapper.h"

namespace ui::qt {

namespace {

struct Segment {
    QString text;
    QFont font;
    QColor color;
    int width = 0;
};

struct Line {
    std::vector<Segment> segments;
    int width = 0;
    int ascent = 0;
    int descent = 0;
};

// Splits after each blank so that wrapping keeps the blank with the word before it.
std::vector<QString> Words(const QString& text) {
    std::vector<QString> words;
    QString word;
    for (QChar c : text) {
        word += c;
        if (c.isSpace()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.isEmpty()) words.push_back(word);
    return words;
}

}  // namespace

int QtTextPainter::AlignmentFor(unsigned style) {
    int align = 0;
    if ((style & DT_CENTER) != 0) align |= Qt::AlignHCenter;
    else if ((style & DT_RIGHT) != 0) align |= Qt::AlignRight;
    else align |= Qt::AlignLeft;
    if ((style & DT_VCENTER) != 0) align |= Qt::AlignVCenter;
    else if ((style & DT_BOTTOM) != 0) align |= Qt::AlignBottom;
    else align |= Qt::AlignTop;
    return align;
}

void QtTextPainter::Draw(const Rect& rect, std::string_view text, Color color,
                         const TFontInfo& font, unsigned style, bool markup) {
    if (text.empty() || rect.IsEmpty() || (color >> 24) == 0) return;
    m_painter.save();
    m_painter.setClipRect(ToQRect(rect), Qt::IntersectClip);
    if (markup) DrawMarkup(rect, text, color, font, style);
    else DrawPlain(rect, text, color, font, style);
    m_painter.restore();
}

void QtTextPainter::DrawPlain(const Rect& rect, std::string_view text, Color color,
                              const TFontInfo& font, unsigned style) {
    const QFont qfont = QtFontMapper::ToQFont(font, m_dpi);
    m_painter.setFont(qfont);
    m_painter.setPen(ToQColor(color));
    QString qtext = ToQString(text);
    int flags = AlignmentFor(style);
    const bool wrap = (style & DT_WORDBREAK) != 0 && (style & DT_SINGLELINE) == 0;
    if (wrap) {
        flags |= Qt::TextWordWrap;
    } else if ((style & DT_SINGLELINE) != 0) {
        qtext.replace(QLatin1Char('\n'), QLatin1Char(' '));
        flags |= Qt::TextSingleLine;
    }
    if ((style & DT_END_ELLIPSIS) != 0 && !wrap) {
        qtext = QFontMetrics(qfont).elidedText(qtext, Qt::ElideRight, rect.Width());
    }
    m_painter.drawText(ToQRect(rect), flags, qtext);
}

void QtTextPainter::DrawMarkup(const Rect& rect, std::string_view text, Color color,
                               const TFontInfo& font, unsigned style) {
    const bool wrap = (style & DT_WORDBREAK) != 0 && (style & DT_SINGLELINE) == 0;
    const QFont baseFont = QtFontMapper::ToQFont(font, m_dpi);
    std::vector<Line> lines(1);
    auto newLine = [&lines] { lines.emplace_back(); };
    auto place = [&](const QString& piece, const QFont& qfont, const QColor& qcolor) {
        QFontMetrics metrics(qfont);
        const int width = metrics.horizontalAdvance(piece);
        if (wrap && !lines.back().segments.empty() && lines.back().width + width > rect.Width())
            newLine();
        Line& line = lines.back();
        line.segments.push_back(Segment{piece, qfont, qcolor, width});
        line.width += width;
        line.ascent = std::max(line.ascent, metrics.ascent());
        line.descent = std::max(line.descent, metrics.descent());
    };
    for (const MarkupRun& run : MarkupText::Parse(text)) {
        if (run.lineBreak) {
            if (!((style & DT_SINGLELINE) != 0)) newLine();
            continue;
        }
        TFontInfo info = font;
        if (run.fontId >= 0 && m_fonts) info = m_fonts(run.fontId);
        QFont qfont = run.fontId >= 0 && m_fonts ? QtFontMapper::ToQFont(info, m_dpi) : baseFont;
        if (run.bold) qfont.setBold(true);
        if (run.italic) qfont.setItalic(true);
        if (run.underline) qfont.setUnderline(true);
        if (run.strikeOut) qfont.setStrikeOut(true);
        const QColor qcolor = ToQColor(run.color ? *run.color : color);
        const QString piece = ToQString(run.text);
        if (wrap) {
            for (const QString& word : Words(piece)) place(word, qfont, qcolor);
        } else {
            place(piece, qfont, qcolor);
        }
    }
    const QFontMetrics baseMetrics(baseFont);
    int total = 0;
    for (Line& line : lines) {
        if (line.segments.empty()) {
            line.ascent = baseMetrics.ascent();
            line.descent = baseMetrics.descent();
        }
        total += line.ascent + line.descent;
    }
    int y = rect.top;
    if ((style & DT_VCENTER) != 0) y = rect.top + (rect.Height() - total) / 2;
    else if ((style & DT_BOTTOM) != 0) y = rect.bottom - total;
    for (const Line& line : lines) {
        int x = rect.left;
        if ((style & DT_CENTER) != 0) x = rect.left + (rect.Width() - line.width) / 2;
        else if ((style & DT_RIGHT) != 0) x = rect.right - line.width;
        const int baseline = y + line.ascent;
        for (const Segment& segment : line.segments) {
            m_painter.setFont(segment.font);
            m_painter.setPen(segment.color);
            m_painter.drawText(QPoint(x, baseline), segment.text);
            x += segment.width;
        }
        y += line.ascent + line.descent;
    }
}

}  // namespace ui::qt
