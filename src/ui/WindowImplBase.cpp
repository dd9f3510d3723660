// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowImplBase.h"

#include "platform/Trace.h"
#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"

namespace ui {

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() { m_pm.RemoveNotifier(this); }

bool WindowImplBase::HandleInput(const TInputEvent& input) {
    if (input.kind == TInputEvent::Kind::WindowFocusIn) SendMessage(WM_SETFOCUS);
    if (input.kind == TInputEvent::Kind::WindowFocusOut) {
        const WindowHandle handle = GetHWND();
        SendMessage(WM_KILLFOCUS);
        // A pop-up may close (and delete) itself on losing the focus: ask by handle.
        if (CWindowWnd::FromHandle(handle) != this || !IsWindow()) return true;
    }
    return m_pm.HandleInput(input);
}

CControlUI* WindowImplBase::CreateControl(std::string_view /*className*/) { return nullptr; }

void WindowImplBase::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
    if (msg.sType == "click") OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::string& name = msg.pSender->GetName();
    if (name == "closebtn") Close(0);
    else if (name == "minbtn") SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == "maxbtn") SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == "restorebtn") SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

std::intptr_t WindowImplBase::HandleCustomMessage(unsigned, std::uintptr_t, std::intptr_t,
                                                  bool& handled) {
    handled = false;
    return 0;
}

std::intptr_t WindowImplBase::OnCreate(unsigned, std::uintptr_t, std::intptr_t, bool& handled) {
    handled = true;
    m_pm.Init(GetHWND(), GetWindowClassName());
    m_pm.SetWindowOrigin(Point{GetWindowRect().left, GetWindowRect().top});
    m_pm.SetDpiChangedHook([this](int oldDpi, int newDpi) {
        // The window keeps its place and grows or shrinks with the scale.
        Rect rc = GetWindowRect();
        if (IsMaximized() || oldDpi <= 0) return;
        SetWindowPos(Rect{rc.left, rc.top, rc.left + rc.Width() * newDpi / oldDpi,
                          rc.top + rc.Height() * newDpi / oldDpi});
    });
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), this, &m_pm);
    // The layout's size applies before the tree is attached: no "windowsize" for it.
    Rect rc = GetWindowRect();
    if (rc.IsEmpty()) {
        Size init = m_pm.ScaleSize(m_pm.GetInitSize());
        rc.right = rc.left + init.cx;
        rc.bottom = rc.top + init.cy;
        SetWindowPos(rc);
    }
    m_pm.SetClientSize(Size{rc.Width(), rc.Height()});
    if (root == nullptr) {
        platform::TraceF("ui: window %s has no layout: %s\n", GetWindowClassName().c_str(),
                         builder.GetLastError().c_str());
    } else {
        m_pm.AttachDialog(root);
    }
    m_pm.AddNotifier(this);
    InitWindow();
    return 0;
}

std::intptr_t WindowImplBase::OnClose(unsigned, std::uintptr_t, std::intptr_t, bool& handled) {
    handled = false;
    return 0;
}

std::intptr_t WindowImplBase::OnDestroy(unsigned, std::uintptr_t, std::intptr_t, bool& handled) {
    handled = false;
    return 0;
}

std::intptr_t WindowImplBase::OnSize(unsigned, std::uintptr_t, std::intptr_t lParam,
                                     bool& handled) {
    handled = false;
    Size size{static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF)};
    m_pm.SetClientSize(size);
    if (CControlUI* root = m_pm.GetRoot()) m_pm.SendNotify(root, "windowsize");
    return 0;
}

std::intptr_t WindowImplBase::OnDpiChanged(unsigned, std::uintptr_t wParam, std::intptr_t lParam,
                                           bool& handled) {
    handled = true;
    const int dpi = static_cast<int>(wParam & 0xFFFF);
    if (dpi <= 0) return 0;
    m_pm.SetDPI(dpi);
    if (lParam != 0) SetWindowPos(*reinterpret_cast<const Rect*>(lParam));
    // The root's update also marks the manager's.
    if (CControlUI* root = m_pm.GetRoot()) root->NeedUpdate();
    m_pm.Invalidate();
    return 0;
}

std::intptr_t WindowImplBase::OnSysCommand(unsigned msg, std::uintptr_t wParam,
                                           std::intptr_t lParam, bool& handled) {
    handled = true;
    const bool wasMaximized = IsMaximized();
    std::intptr_t result = DefWindowProc(msg, wParam, lParam);
    if (IsWindow() && wasMaximized != IsMaximized()) {
        // The title bar shows the button that undoes the current state.
        if (CControlUI* max = m_pm.FindControl("maxbtn")) max->SetVisible(!IsMaximized());
        if (CControlUI* restore = m_pm.FindControl("restorebtn")) restore->SetVisible(IsMaximized());
    }
    return result;
}

std::intptr_t WindowImplBase::HandleMessage(unsigned msg, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    bool handled = false;
    std::intptr_t result = 0;
    switch (msg) {
    case WM_CREATE: result = OnCreate(msg, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(msg, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(msg, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(msg, wParam, lParam, handled); break;
    case WM_DPICHANGED: result = OnDpiChanged(msg, wParam, lParam, handled); break;
    case WM_PAINT:
        m_pm.EnsureLayout();
        handled = true;
        break;
    case WM_MOVE:
        // Controls that carry native windows place them relative to the screen.
        m_pm.SetWindowOrigin(Point{GetWindowRect().left, GetWindowRect().top});
        m_pm.NeedUpdate();
        break;
    default: break;
    }
    if (handled) return result;
    result = HandleCustomMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    if (msg == WM_SYSCOMMAND) {
        result = OnSysCommand(msg, wParam, lParam, handled);
        if (handled) return result;
    }
    return DefWindowProc(msg, wParam, lParam);
}

void WindowImplBase::OnFinalMessage(WindowHandle /*hWnd*/) {
    m_pm.RemoveNotifier(this);
    m_pm.RemoveAllTimers();
}

void WindowImplBase::EnableInput(bool enabled) { m_pm.SetInputEnabled(enabled); }

}  // namespace ui
