// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CHotFrameListItemUI.h"

#include "ui/IRenderTarget.h"

namespace ui {

Color CHotFrameListItemUI::GetHotFrameColor() {
    IListOwnerUI* owner = GetOwner();
    if (owner == nullptr || owner->GetListInfo() == nullptr) return 0;
    return owner->GetListInfo()->dwHotBkColor;
}

void CHotFrameListItemUI::DrawItemBk(IRenderTarget& target, const Rect& rc) {
    // The background is the one of an entry that is not hovered; the frame replaces the fill.
    const bool hot = m_item.hot;
    m_item.hot = false;
    CListContainerElementUI::DrawItemBk(target, rc);
    m_item.hot = hot;
    if (!hot || m_item.selected || !IsEnabled()) return;
    const Color frame = GetHotFrameColor();
    if ((frame >> 24) != 0) target.DrawRect(rc, 1, frame);
}

}  // namespace ui
