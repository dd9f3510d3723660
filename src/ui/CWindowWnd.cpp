// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CWindowWnd.h"

#include <algorithm>

#include "ui/CMessageLoop.h"

namespace ui {

namespace {

Rect& ScreenRect() {
    static Rect screen{0, 0, 1920, 1080};
    return screen;
}

}  // namespace

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    if (m_hWnd != 0 && m_pLoop != nullptr) {
        m_pLoop->KillTimers(this);
        m_pLoop->RemoveTarget(m_hWnd);
    }
    if (m_modal) {
        m_modal->done = true;
        m_modal->code = -1;
    }
}

bool CWindowWnd::Create(WindowHandle owner, std::string_view title, unsigned style,
                        unsigned exStyle, int x, int y, int cx, int cy) {
    if (m_hWnd != 0) return false;
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr) return false;
    m_pLoop = loop;
    m_hOwner = owner;
    m_sTitle = title;
    m_style = style;
    m_exStyle = exStyle;
    m_rcWindow = Rect{x, y, x + std::max(0, cx), y + std::max(0, cy)};
    m_bVisible = (style & UI_WNDSTYLE_VISIBLE) != 0;
    m_hWnd = loop->AddTarget(this);
    if (HandleMessage(WM_CREATE, 0, 0) == -1) {
        DestroyWindow();
        return false;
    }
    PostMessage(WM_PAINT);
    return true;
}

CWindowWnd* CWindowWnd::FromHandle(WindowHandle handle) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || handle == 0) return nullptr;
    return dynamic_cast<CWindowWnd*>(loop->FindTarget(handle));
}

void CWindowWnd::ShowWindow(bool show, bool /*takeFocus*/) {
    if (m_hWnd == 0) return;
    if (show && m_bMinimized) m_bMinimized = false;
    if (m_bVisible == show) return;
    m_bVisible = show;
    HandleMessage(WM_SHOWWINDOW, show ? 1 : 0, 0);
}

void CWindowWnd::SetWindowPos(const Rect& rc) {
    bool resized = rc.Width() != m_rcWindow.Width() || rc.Height() != m_rcWindow.Height();
    bool moved = rc.left != m_rcWindow.left || rc.top != m_rcWindow.top;
    m_rcWindow = rc;
    if (moved && m_hWnd != 0) {
        HandleMessage(WM_MOVE, 0,
                      static_cast<std::intptr_t>(rc.left & 0xFFFF) |
                          (static_cast<std::intptr_t>(rc.top & 0xFFFF) << 16));
        if (m_hWnd == 0) return;
    }
    if (resized && m_hWnd != 0) {
        HandleMessage(WM_SIZE, 0,
                      static_cast<std::intptr_t>(rc.Width() & 0xFFFF) |
                          (static_cast<std::intptr_t>(rc.Height() & 0xFFFF) << 16));
    }
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    SetWindowPos(Rect{m_rcWindow.left, m_rcWindow.top, m_rcWindow.left + cx, m_rcWindow.top + cy});
}

void CWindowWnd::CenterWindow() {
    Rect area = GetScreenRect();
    if (CWindowWnd* owner = FromHandle(m_hOwner)) {
        if (owner->IsWindowVisible() && !owner->IsMinimized()) area = owner->GetWindowRect();
    }
    int w = m_rcWindow.Width();
    int h = m_rcWindow.Height();
    int x = area.left + (area.Width() - w) / 2;
    int y = area.top + (area.Height() - h) / 2;
    // Keep the window on the screen.
    const Rect screen = GetScreenRect();
    x = std::clamp(x, screen.left, std::max(screen.left, screen.right - w));
    y = std::clamp(y, screen.top, std::max(screen.top, screen.bottom - h));
    SetWindowPos(Rect{x, y, x + w, y + h});
}

Rect CWindowWnd::GetScreenRect() { return ScreenRect(); }
void CWindowWnd::SetScreenRect(const Rect& rc) { ScreenRect() = rc; }

std::intptr_t CWindowWnd::SendMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (m_hWnd == 0) return 0;
    return CMessageLoop::SendMessage(m_hWnd, msg, wParam, lParam);
}

bool CWindowWnd::PostMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (m_hWnd == 0) return false;
    return CMessageLoop::PostMessage(m_hWnd, msg, wParam, lParam);
}

bool CWindowWnd::SetTimer(unsigned id, unsigned elapseMs) {
    if (m_hWnd == 0 || m_pLoop == nullptr) return false;
    WindowHandle handle = m_hWnd;
    m_pLoop->SetTimer(this, id, elapseMs,
                      [handle, id] { CMessageLoop::SendMessage(handle, WM_TIMER, id, 0); });
    return true;
}

bool CWindowWnd::KillTimer(unsigned id) {
    if (m_pLoop == nullptr) return false;
    return m_pLoop->KillTimer(this, id);
}

int CWindowWnd::ShowModal() {
    if (m_hWnd == 0 || m_pLoop == nullptr) return -1;
    auto state = std::make_shared<ModalState>();
    m_modal = state;
    const WindowHandle ownerHandle = m_hOwner;
    if (CWindowWnd* owner = FromHandle(ownerHandle)) owner->EnableInput(false);
    ShowWindow(true);
    CMessageLoop* loop = m_pLoop;
    bool finished = loop->RunModal([state] { return state->done; });
    // `this` may be gone now (a window that deletes itself when destroyed).
    if (CWindowWnd* owner = FromHandle(ownerHandle)) owner->EnableInput(true);
    if (!state->done) {
        m_modal.reset();
        return -1;
    }
    return finished ? state->code : -1;
}

void CWindowWnd::Close(int code) { PostMessage(WM_CLOSE, static_cast<std::uintptr_t>(code)); }

void CWindowWnd::DestroyWindow() {
    if (m_hWnd == 0) return;
    const WindowHandle handle = m_hWnd;
    HandleMessage(WM_DESTROY, 0, 0);
    if (m_hWnd == 0) return;  // destroyed from inside WM_DESTROY
    if (m_pLoop != nullptr) {
        m_pLoop->KillTimers(this);
        m_pLoop->RemoveTarget(handle);
    }
    m_hWnd = 0;
    m_bVisible = false;
    if (m_modal) {
        m_modal->done = true;
        m_modal->code = m_closeCode;
        m_modal.reset();
    }
    OnFinalMessage(handle);  // last: may delete this
}

std::intptr_t CWindowWnd::HandleLoopMessage(unsigned msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    return HandleMessage(msg, wParam, lParam);
}

std::intptr_t CWindowWnd::HandleMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    return DefWindowProc(msg, wParam, lParam);
}

std::intptr_t CWindowWnd::DefWindowProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    (void)lParam;
    switch (msg) {
    case WM_CLOSE:
        m_closeCode = static_cast<int>(wParam);
        DestroyWindow();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            m_bMinimized = true;
            return 0;
        case SC_MAXIMIZE:
            m_bMaximized = true;
            m_bMinimized = false;
            ShowWindow(true);
            return 0;
        case SC_RESTORE:
            if (m_bMinimized) m_bMinimized = false;
            else m_bMaximized = false;
            ShowWindow(true);
            return 0;
        case SC_CLOSE:
            return SendMessage(WM_CLOSE, 0, 0);
        default:
            return 0;
        }
    default:
        return 0;
    }
}

void CWindowWnd::OnFinalMessage(WindowHandle /*hWnd*/) {}

void CWindowWnd::EnableInput(bool /*enabled*/) {}

}  // namespace ui
