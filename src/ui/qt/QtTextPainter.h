// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws a label's text in its rectangle with the DT_ alignment, wrapping and ellipsis
// flags, as plain text or as markup (MarkupText). Text never spills out of the rectangle.
#include <QPainter>

#include <functional>
#include <string_view>

#include "ui/TFontInfo.h"
#include "ui/UIDefs.h"

namespace ui::qt {

class QtTextPainter {
public:
    // Markup may name other fonts of the window's table by id.
    using FontLookup = std::function<TFontInfo(int id)>;

    QtTextPainter(QPainter& painter, int dpi, FontLookup fonts = {})
        : m_painter(painter), m_dpi(dpi), m_fonts(std::move(fonts)) {}

    void Draw(const Rect& rect, std::string_view text, Color color, const TFontInfo& font,
              unsigned style, bool markup);
    // Qt alignment flags for DT_ flags.
    static int AlignmentFor(unsigned style);

private:
    void DrawPlain(const Rect& rect, std::string_view text, Color color, const TFontInfo& font,
                   unsigned style);
    void DrawMarkup(const Rect& rect, std::string_view text, Color color, const TFontInfo& font,
                    unsigned style);

    QPainter& m_painter;
    int m_dpi;
    FontLookup m_fonts;
};

}  // namespace ui::qt
