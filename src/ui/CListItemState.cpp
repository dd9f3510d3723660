// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CListItemState.h"

#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

bool CListItemState::Select(CControlUI& self, bool select, bool triggerEvent) {
    if (select && !self.IsEnabled()) return false;
    if (select == selected) return true;
    selected = select;
    if (select && owner != nullptr) owner->SelectItem(index, false, triggerEvent);
    self.Invalidate();
    return true;
}

bool CListItemState::HandleEvent(CControlUI& self, TEventUI& event) {
    CPaintManagerUI* manager = self.GetManager();
    switch (event.Type) {
    case EventType::DblClick:
        if (self.IsEnabled()) {
            self.Activate();
            self.Invalidate();
        }
        return true;
    case EventType::KeyDown:
        if (event.chKey == vk::Return) {
            if (self.IsEnabled()) self.Activate();
            return true;
        }
        if (owner != nullptr) owner->DoEvent(event);
        return true;
    case EventType::ButtonDown:
    case EventType::RButtonDown:
        if (self.IsEnabled()) {
            if (manager != nullptr) manager->SendNotify(&self, "itemclick");
            Select(self, true, true);
            self.Invalidate();
        }
        return true;
    case EventType::ButtonUp:
    case EventType::RButtonUp:
        return true;
    case EventType::MouseEnter:
        if (self.IsEnabled()) {
            hot = true;
            self.Invalidate();
        }
        return true;
    case EventType::MouseLeave:
        if (hot) {
            hot = false;
            self.Invalidate();
        }
        return true;
    case EventType::MouseMove:
        return true;
    default:
        return false;
    }
}

void CListItemState::DrawItemBk(CControlUI& self, IRenderTarget& target, const Rect& rc) {
    if (owner == nullptr) return;
    const TListInfoUI* info = owner->GetListInfo();
    Color color = info->dwBkColor;
    const std::string* image = &info->sBkImage;
    if (!self.IsEnabled()) {
        color = info->dwDisabledBkColor;
    } else if (selected) {
        color = info->dwSelectedBkColor;
        if (!info->sSelectedImage.empty()) image = &info->sSelectedImage;
    } else if (hot) {
        color = info->dwHotBkColor;
        if (!info->sHotImage.empty()) image = &info->sHotImage;
    }
    if ((color >> 24) != 0) target.FillRect(rc, color);
    if (!image->empty()) self.DrawImageAt(target, rc, *image);
    if ((info->dwLineColor >> 24) != 0) {
        target.DrawLine(Point{rc.left, rc.bottom - 1}, Point{rc.right, rc.bottom - 1}, 1,
                        info->dwLineColor);
    }
}

void CListItemState::DrawItemText(CControlUI& self, IRenderTarget& target, const Rect& rc,
                                  const std::string& text) {
    if (owner == nullptr || text.empty()) return;
    const TListInfoUI* info = owner->GetListInfo();
    Color color = info->dwTextColor;
    if (!self.IsEnabled()) color = info->dwDisabledTextColor;
    else if (selected) color = info->dwSelectedTextColor;
    else if (hot) color = info->dwHotTextColor;
    CPaintManagerUI* manager = self.GetManager();
    static const TFontInfo fallback;
    const TFontInfo& font = manager != nullptr ? manager->GetFont(info->nFont) : fallback;
    Rect padding = manager != nullptr ? manager->ScaleRect(info->rcTextPadding) : info->rcTextPadding;
    target.DrawText(rc.Deflate(padding), text, color, font, info->uTextStyle,
                    info->bShowHtml || self.IsShowHtml());
}

}  // namespace ui
