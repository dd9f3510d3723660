// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CListLabelElementUI.h"

#include "ui/CPaintManagerUI.h"

namespace ui {

std::string CListLabelElementUI::GetClass() const { return "ListLabelElement"; }

void* CListLabelElementUI::GetInterface(std::string_view name) {
    if (name == "ListLabelElement") return this;
    return CListElementUI::GetInterface(name);
}

Size CListLabelElementUI::EstimateSize(Size available) {
    Size size = CListElementUI::EstimateSize(available);
    if (size.cy == 0) {
        // Without a fixed height: one line of the item font plus a margin.
        int font = -1;
        if (m_item.owner != nullptr) font = m_item.owner->GetListInfo()->nFont;
        int fontSize = m_pManager != nullptr ? m_pManager->GetFont(font).iSize : 12;
        size.cy = Scale(fontSize + 8);
    }
    return size;
}

void CListLabelElementUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    if (!paint.Intersects(m_rcItem)) return;
    DrawItemBk(target, m_rcItem);
    PaintBkColor(target);
    PaintBkImage(target);
    m_item.DrawItemText(*this, target, m_rcItem, GetText());
    PaintBorder(target);
}

}  // namespace ui
