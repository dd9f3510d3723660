// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtFontMapper.h"

#include <QGuiApplication>

#include "ui/qt/QtConvert.h"

namespace ui::qt {

int QtFontMapper::ScaledPixelSize(int size96, int dpi) {
    if (dpi <= 0) dpi = 96;
    const long long scaled = (static_cast<long long>(size96) * dpi + 48) / 96;
    return scaled < 1 ? 1 : static_cast<int>(scaled);
}

QFont QtFontMapper::ToQFont(const TFontInfo& font, int dpi) {
    QFont qfont = QGuiApplication::font();
    if (!font.sFontName.empty()) qfont.setFamilies({ToQString(font.sFontName)});
    qfont.setPixelSize(ScaledPixelSize(font.iSize, dpi));
    qfont.setBold(font.bBold);
    qfont.setUnderline(font.bUnderline);
    qfont.setItalic(font.bItalic);
    return qfont;
}

}  // namespace ui::qt
