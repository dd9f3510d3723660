// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings/CAboutWnd.h"

#include "app/LanguageManager.h"
#include "app/ShellIds.h"
#include "ui/CControlUI.h"
#include "ui/TNotifyUI.h"

namespace app {

namespace {

constexpr unsigned kTimerAbout = 1;

}  // namespace

void CAboutWnd::ShowVersion() {
    ui::CControlUI* label = m_pm.FindControl("software_ver_label");
    if (label == nullptr) return;
    const std::string text = LanguageManager::Translate(m_pm, "software_rev_text") + versionText_;
    label->SetResourceText(false);
    label->SetText(text);
}

void CAboutWnd::OnClick(ui::TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::string& name = msg.pSender->GetName();
    // "menubtn" and "homepage_btn" do nothing.
    if (name == "closebtn" || name == "minbtn" || name == "maxbtn" || name == "restorebtn")
        WindowImplBase::OnClick(msg);
}

std::intptr_t CAboutWnd::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                             std::intptr_t lParam, bool& handled) {
    if (msg == kMsgApplyLanguage) {
        handled = true;
        ShowVersion();  // composed here, so it follows the language itself
        m_pm.Invalidate();
        return 0;
    }
    if (msg == ui::WM_TIMER && wParam == kTimerAbout) {
        handled = true;
        KillTimer(kTimerAbout);
        return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
}

std::intptr_t CAboutWnd::OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) {
    if ((wParam & 0xFFF0) == ui::SC_CLOSE) {
        handled = true;
        Close(0);  // this window only; the program goes on
        return 0;
    }
    return WindowImplBase::OnSysCommand(msg, wParam, lParam, handled);
}

}  // namespace app
