// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMsgWnd.h"

#include "ui/CControlUI.h"
#include "ui/COptionUI.h"
#include "ui/DpiValue.h"
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

void CMsgWnd::OfferDontShowAgain(std::shared_ptr<bool> ticked) {
    auto* tick = dynamic_cast<ui::COptionUI*>(m_pm.FindControl("msg_dont_show_check"));
    if (tick == nullptr || ticked == nullptr) return;
    dontShowAgain_ = std::move(ticked);
    tick->Selected(*dontShowAgain_, false);
    // Only notices give up the message's room for the tick.
    if (ui::CControlUI* row = m_pm.FindControl("msg_dont_show_layout")) row->SetVisible(true);
}

void CMsgWnd::TickDontShowAgain(bool on) {
    if (dontShowAgain_ == nullptr) return;
    if (auto* tick = dynamic_cast<ui::COptionUI*>(m_pm.FindControl("msg_dont_show_check")))
        tick->Selected(on, false);
    *dontShowAgain_ = on;
}

void CMsgWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == "selectchanged" && msg.pSender != nullptr &&
        msg.pSender->GetName() == "msg_dont_show_check" && dontShowAgain_ != nullptr) {
        if (auto* tick = dynamic_cast<ui::COptionUI*>(msg.pSender)) *dontShowAgain_ = tick->IsSelected();
    }
    WindowImplBase::Notify(msg);
}

void CMsgWnd::SetDPI(int dpi) {
    ui::CPaintManagerUI::SetAllDPI(ui::DpiValue::Checked(dpi, "MSG_WND DPI SET ERROR"));
}

void CMsgWnd::OnClick(ui::TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::string& name = msg.pSender->GetName();
    if (name == "confirm_btn")
        Close(kConfirmed);
    else if (name == "cancel_btn")
        Close(kCancelled);
    else
        WindowImplBase::OnClick(msg);  // "closebtn" closes with 0, which is kCancelled
}

std::intptr_t CMsgWnd::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                           std::intptr_t /*lParam*/, bool& handled) {
    handled = false;
    if (msg == ui::WM_SYSCOMMAND && (wParam & 0xFFF0) == ui::SC_CLOSE) {
        // Closing the box is an answer (cancel); it must never reach the owner, which
        // would take it for its own close request.
        handled = true;
        SendMessage(ui::WM_CLOSE, kCancelled, 0);  // `this` may be gone from here on
    }
    return 0;
}

void CMsgWnd::OnFinalMessage(ui::WindowHandle hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

}  // namespace app
