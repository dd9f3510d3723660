// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/CWndUI.h"

#include "ui/CPaintManagerUI.h"

namespace ui {

std::string CWndUI::GetClass() const {
    return "Wnd";
}

void* CWndUI::GetInterface(std::string_view name) {
    if (name == "Wnd") return this;
    return CControlUI::GetInterface(name);
}

void CWndUI::Attach(std::weak_ptr<INativeWindow> window) {
    m_window = std::move(window);
    SyncWindow();
}

void CWndUI::SetPos(const Rect& rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    SyncWindow();
}

void CWndUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    SyncWindow();
}

void CWndUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    SyncWindow();
}

void CWndUI::SyncWindow() {
    std::shared_ptr<INativeWindow> window = m_window.lock();
    if (!window) return;
    Rect rc = m_rcItem;
    const WindowHandle paintWindow = m_pManager != nullptr ? m_pManager->GetPaintWindow() : 0;
    if (m_pManager != nullptr && (paintWindow == 0 || window->GetParentWindow() != paintWindow)) {
        const Point origin = m_pManager->GetWindowOrigin();
        rc = rc.Offset(origin.x, origin.y);
    }
    window->Place(rc);
    window->Show(IsVisible());
}

}  // namespace ui
