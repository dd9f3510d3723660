#include "app/CMsgWnd.h"

#include <algorithm>
#include <array>

#include "platform/Trace.h"
#include "ui/CControlUI.h"
#include "ui/TNotifyUI.h"

namespace app {

namespace {

std::vector<CMsgWnd*>& Boxes() {
    static std::vector<CMsgWnd*> boxes;
    return boxes;
}

}  // namespace

CMsgWnd::CMsgWnd() {
    Boxes().push_back(this);
}

CMsgWnd::~CMsgWnd() {
    std::erase(Boxes(), this);
}

const std::vector<CMsgWnd*>& CMsgWnd::OpenBoxes() {
    return Boxes();
}

CMsgWnd* CMsgWnd::Newest() {
    return Boxes().empty() ? nullptr : Boxes().back();
}

void CMsgWnd::SetTitleText(std::string_view title) {
    if (ui::CControlUI* label = m_pm.FindControl("MessageTitle")) label->SetText(title);
}

void CMsgWnd::SetMessageText(std::string_view text, bool markup) {
    ui::CControlUI* label = m_pm.FindControl("MessageText");
    if (label == nullptr) return;
    label->SetShowHtml(markup);
    label->SetText(text);
}

void CMsgWnd::SetButtonMode(int mode) {
    if (mode != 0 && mode != 1) return;
    ui::CControlUI* confirm = m_pm.FindControl("confirm_btn");
    ui::CControlUI* cancel = m_pm.FindControl("cancel_btn");
    if (confirm != nullptr) confirm->SetVisible(true);
    if (cancel != nullptr) cancel->SetVisible(mode == 1);
}

bool CMsgWnd::IsSupportedDpi(int dpi) {
    static constexpr std::array<int, 7> kSupported = {48, 72, 96, 120, 144, 168, 192};
    return std::find(kSupported.begin(), kSupported.end(), dpi) != kSupported.end();
}

void CMsgWnd::SetDPI(int dpi) {
    if (!IsSupportedDpi(dpi)) {
        platform::Trace("MSG_WND DPI SET ERROR");
        dpi = kDefaultDpi;
    }
    m_dpi = dpi;
    ui::CPaintManagerUI::SetAllDPI(dpi);
}

void CMsgWnd::OnClick(ui::TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::string& name = msg.pSender->GetName();
    if (name == "confirm_btn")
        Close(kConfirmed);
    else if (name == "cancel_btn" || name == "closebtn")
        Close(kCancelled);
}

std::intptr_t CMsgWnd::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                           std::intptr_t lParam, bool& handled) {
    handled = false;
    if (msg == ui::WM_DPICHANGED) {
        OnDpiChanged(wParam, lParam);
        handled = true;
    } else if (msg == ui::WM_SYSCOMMAND && (wParam & 0xFFF0) == ui::SC_CLOSE) {
        // Closing the box is an answer (cancel); it must never reach the owner, which
        // would take it for its own close request.
        handled = true;
        SendMessage(ui::WM_CLOSE, kCancelled, 0);  // `this` may be gone from here on
    }
    return 0;
}

void CMsgWnd::OnDpiChanged(std::uintptr_t wParam, std::intptr_t lParam) {
    const int dpi = static_cast<int>(wParam & 0xFFFF);
    if (dpi <= 0) return;
    m_dpi = dpi;
    m_pm.SetDPI(dpi);
    // lParam, when given, points at the rectangle the desktop suggests for the new scale.
    if (lParam != 0) SetWindowPos(*reinterpret_cast<const ui::Rect*>(lParam));
    if (ui::CControlUI* root = m_pm.GetRoot()) root->NeedUpdate();
    m_pm.NeedUpdate();
    m_pm.Invalidate();
}

void CMsgWnd::OnFinalMessage(ui::WindowHandle hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

}  // namespace app
