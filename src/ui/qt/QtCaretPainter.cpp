// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtCaretPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <string>

#include "ui/CEditUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/Utf8Text.h"
#include "ui/qt/QtConvert.h"
#include "ui/qt/QtFontMapper.h"

namespace ui::qt {

void QtCaretPainter::Paint(QPainter& painter, CPaintManagerUI& manager) {
    CControlUI* focus = manager.GetFocus();
    auto* edit = focus != nullptr ? static_cast<CEditUI*>(focus->GetInterface("Edit")) : nullptr;
    if (edit == nullptr || !edit->IsVisible() || !edit->IsEnabled() || edit->IsReadOnly()) return;
    const Rect area = edit->GetPos().Deflate(edit->GetTextPadding());
    if (area.IsEmpty()) return;
    const QFont font = QtFontMapper::ToQFont(manager.GetFont(edit->GetFont()), manager.GetDPI());
    const QFontMetrics metrics(font);
    std::string text = edit->GetText();
    if (edit->IsPasswordMode()) text.assign(static_cast<size_t>(utf8::Length(text)), '*');
    const QString full = ToQString(text);
    const QString before = ToQString(
        std::string_view(text).substr(0, utf8::ByteOffset(text, edit->GetCaretPos())));
    const unsigned style = edit->GetTextStyle();
    int x = area.left;
    if ((style & DT_CENTER) != 0) x = area.left + (area.Width() - metrics.horizontalAdvance(full)) / 2;
    else if ((style & DT_RIGHT) != 0) x = area.right - metrics.horizontalAdvance(full);
    x = std::clamp(x + metrics.horizontalAdvance(before), area.left, area.right - 1);
    int top = area.top;
    if ((style & DT_VCENTER) != 0) top = area.top + (area.Height() - metrics.height()) / 2;
    else if ((style & DT_BOTTOM) != 0) top = area.bottom - metrics.height();
    const int bottom = std::min(area.bottom, top + metrics.height());
    top = std::max(top, area.top);
    painter.fillRect(QRect(x, top, 1, bottom - top), ToQColor(edit->GetTextColor() | 0xFF000000u));
}

}  // namespace ui::qt
