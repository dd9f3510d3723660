// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CMenuWnd.h"

#include <algorithm>
#include <memory>

#include "ui/AttributeText.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/IRenderTarget.h"

namespace ui {

// ---- CMenuUI

std::string CMenuUI::GetClass() const { return "Menu"; }

void* CMenuUI::GetInterface(std::string_view name) {
    if (name == "Menu") return this;
    return CListUI::GetInterface(name);
}

void CMenuUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::KeyDown && event.chKey == vk::Escape && m_pManager != nullptr) {
        CMessageLoop::PostMessage(m_pManager->GetPaintWindow(), WM_CLOSE, 0, 0);
        return;
    }
    CListUI::DoEvent(event);
}

// ---- CMenuElementUI

std::string CMenuElementUI::GetClass() const { return "MenuElement"; }

void* CMenuElementUI::GetInterface(std::string_view name) {
    if (name == "MenuElement") return this;
    return CListContainerElementUI::GetInterface(name);
}

void CMenuElementUI::SetChecked(bool checked) {
    m_bChecked = checked;
    Invalidate();
}

Size CMenuElementUI::EstimateSize(Size available) {
    Size size = CListContainerElementUI::EstimateSize(available);
    if (size.cy == 0) size.cy = Scale(26);
    return size;
}

void CMenuElementUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::ButtonUp && IsEnabled() && m_rcItem.Contains(event.ptMouse)) {
        Activate();
        return;
    }
    CListContainerElementUI::DoEvent(event);
}

void CMenuElementUI::DoPaint(IRenderTarget& target, const Rect& paint) {
    if (!paint.Intersects(m_rcItem)) return;
    CListContainerElementUI::DoPaint(target, paint);
    m_item.DrawItemText(*this, target, m_rcItem, GetText());
}

void CMenuElementUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "checked") SetChecked(attr::ParseBool(value));
    else CListContainerElementUI::SetAttribute(name, value);
}

// ---- CMenuWnd

CMenuWnd::CMenuWnd(WindowHandle owner, std::string xml, Point point, unsigned alignment)
    : m_owner(owner), m_xml(std::move(xml)), m_point(point), m_alignment(alignment) {}

CMenuWnd* CMenuWnd::CreateMenu(WindowHandle owner, std::string_view xml, Point point,
                               unsigned alignment) {
    auto* menu = new CMenuWnd(owner, std::string(xml), point, alignment);
    if (!menu->Create(owner, "menu", UI_WNDSTYLE_VISIBLE, 0, point.x, point.y, 0, 0)) {
        delete menu;
        return nullptr;
    }
    if (menu->GetMenuRoot() == nullptr) {
        menu->DestroyWindow();  // deletes it
        return nullptr;
    }
    return menu;
}

bool CMenuWnd::IsOpen(WindowHandle menu) {
    return dynamic_cast<CMenuWnd*>(CWindowWnd::FromHandle(menu)) != nullptr;
}

void CMenuWnd::Close(WindowHandle menu) {
    if (auto* window = dynamic_cast<CMenuWnd*>(CWindowWnd::FromHandle(menu))) window->DestroyWindow();
}

std::string CMenuWnd::GetWindowClassName() const { return "MenuWnd"; }

CControlUI* CMenuWnd::CreateControl(std::string_view className) {
    if (className == "Menu") return new CMenuUI();
    if (className == "MenuElement") return new CMenuElementUI();
    return nullptr;
}

CMenuUI* CMenuWnd::GetMenuRoot() {
    CControlUI* root = m_pm.GetRoot();
    return root != nullptr ? static_cast<CMenuUI*>(root->GetInterface("Menu")) : nullptr;
}

void CMenuWnd::InitWindow() {
    CMenuUI* menu = GetMenuRoot();
    if (menu == nullptr) return;
    // The menu is as wide as the layout says (or 150) and as tall as its items.
    int width = menu->GetFixedWidth() > 0 ? menu->GetFixedWidth() : m_pm.ScaleValue(150);
    Rect inset = menu->GetInset();
    int height = inset.top + inset.bottom;
    for (CControlUI* item : m_pm.FindSubControlsByClass(menu, "MenuElement")) {
        if (item->IsVisible()) height += item->EstimateSize(Size{width, 0}).cy;
    }
    int x = m_point.x;
    int y = m_point.y;
    if ((m_alignment & eMenuAlignment_Right) != 0) x -= width;
    if ((m_alignment & eMenuAlignment_Bottom) != 0) y -= height;
    const Rect screen = GetScreenRect();
    x = std::clamp(x, screen.left, std::max(screen.left, screen.right - width));
    y = std::clamp(y, screen.top, std::max(screen.top, screen.bottom - height));
    SetWindowPos(Rect{x, y, x + width, y + height});
    menu->SetFocus();
}

std::vector<std::string> CMenuWnd::GetItemNames() {
    std::vector<std::string> names;
    for (CControlUI* item : m_pm.FindSubControlsByClass(m_pm.GetRoot(), "MenuElement"))
        names.push_back(item->GetName());
    return names;
}

bool CMenuWnd::Choose(std::string_view itemName) {
    for (CControlUI* item : m_pm.FindSubControlsByClass(m_pm.GetRoot(), "MenuElement")) {
        if (item->GetName() == itemName && item->IsVisible() && item->IsEnabled()) {
            Report(static_cast<CMenuElementUI*>(item->GetInterface("MenuElement")));
            return true;
        }
    }
    return false;
}

void CMenuWnd::Report(CMenuElementUI* item) {
    if (item == nullptr || m_reported) return;
    m_reported = true;
    auto cmd = std::make_shared<MenuCmd>();
    cmd->szName = item->GetName();
    cmd->szUserData = item->GetUserData();
    cmd->szText = item->GetText();
    cmd->bChecked = item->IsChecked();
    MenuCmd* raw = cmd.get();
    CMessageLoop::PostMessage(m_owner, WM_MENUCLICK, reinterpret_cast<std::uintptr_t>(raw), 0,
                              std::move(cmd));
    WindowImplBase::Close(0);
}

void CMenuWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == "itemactivate" && msg.pSender != nullptr) {
        Report(static_cast<CMenuElementUI*>(msg.pSender->GetInterface("MenuElement")));
        return;
    }
    WindowImplBase::Notify(msg);
}

std::intptr_t CMenuWnd::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                            std::intptr_t lParam, bool& handled) {
    if (msg == WM_KILLFOCUS) {
        handled = true;
        DestroyWindow();
        return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
}

void CMenuWnd::OnFinalMessage(WindowHandle hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

}  // namespace ui
