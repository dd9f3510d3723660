// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings/CSetWnd.h"

#include <memory>

#include "app/LanguageManager.h"
#include "app/MessageBox.h"
#include "app/ShellIds.h"
#include "platform/AutostartEntry.h"
#include "platform/Trace.h"
#include "ui/CControlUI.h"
#include "ui/CMessageLoop.h"
#include "ui/COptionUI.h"
#include "ui/DpiValue.h"
#include "ui/TNotifyUI.h"
#include "update/UpdateCheck.h"
#include "update/UpdateDateFile.h"

namespace app {

CSetWnd::CSetWnd(Setup setup)
    : setup_(std::move(setup)),
      page_(m_pm, UpdatePage::Hooks{
                      [this] { ui::CMessageLoop::SendMessage(setup_.owner, kMsgClearUpdateMark); },
                      [this] {
                          const ui::Rect rc = GetWindowRect();
                          SetWindowPos(ui::Rect{rc.left, rc.top, rc.left + m_pm.ScaleValue(kWidth),
                                                rc.top + m_pm.ScaleValue(kHeight)});
                      }}) {}

CSetWnd::~CSetWnd() {
    StopThreads();
}

void CSetWnd::SetDPI(int dpi) {
    m_pm.SetDPI(ui::DpiValue::Checked(dpi, "SET_WND DPI SET ERROR"));
}

void CSetWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == "windowinit") {
        OnWindowInit();
    } else if (msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (msg.sType == "itemselect" && name == "Language_combox_info") {
            setup_.languageIndex = static_cast<int>(msg.wParam);
            // The main window applies it (and tells this window to show it).
            ui::CMessageLoop::SendMessage(setup_.owner, kMsgApplyLanguage, msg.wParam, 0);
            return;
        }
        if (msg.sType == "selectchanged" && name == "check_name_select") {
            page_.OnTickChanged();
            return;
        }
        if (msg.sType == "selectchanged" && name == "autostart_check") {
            OnAutostartTicked(msg.wParam != 0);
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

void CSetWnd::OnClick(ui::TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::string& name = msg.pSender->GetName();
    if (name == "closebtn" || name == "laterbtn") {
        StopThreads();
        Close(0);
    } else if (name == "update_fw_and_ap") {
        page_.OnUpdateNow();
    } else if (name == "update_OK_btn") {
        page_.OnConfirm();
    } else if (name == "set_in_update_wnd_btn") {
        page_.OnCheckAgainButton();
    } else if (name == "minbtn" || name == "maxbtn" || name == "restorebtn") {
        WindowImplBase::OnClick(msg);
    }
    // "menubtn" and "homepage_btn" do nothing.
}

void CSetWnd::ShowAutostart() {
    if (auto* tick = dynamic_cast<ui::COptionUI*>(m_pm.FindControl("autostart_check")))
        tick->Selected(platform::AutostartEntry().IsActive(), false);
    // Started at login with no tray to show it in, the program is there but unseen: the
    // user should know how to reach it before choosing.
    if (ui::CControlUI* note = m_pm.FindControl("autostart_no_tray_layout")) note->SetVisible(!setup_.trayShown);
}

void CSetWnd::OnAutostartTicked(bool on) {
    platform::AutostartEntry entry;
    const bool changed =
        on ? entry.Enable(platform::AutostartEntry::ProgramToStart()) : entry.Disable();
    if (!changed) {
        platform::TraceF("autostart entry not changed: %s\n", entry.UserFile().c_str());
        ShowKeyedMessage(GetHWND(), "settings_autostart_failed_text", m_pm.GetDPI(), 0);
    }
    // The tick shows what the desktop will do, whatever was asked.
    ShowAutostart();
}

void CSetWnd::OnWindowInit() {
    if (initialised_) return;
    initialised_ = true;
    ShowAutostart();
    if (setup_.languages != nullptr) setup_.languages->FillLanguageList(m_pm);
    page_.Begin(setup_.rows, update::UpdateDateFile::ReadOrCreate(update::UpdateDateFile::Today()),
                setup_.service.refusedSetting);
    StartCheck();
}

void CSetWnd::StartCheck() {
    const ui::WindowHandle self = GetHWND();
    slots_[0].Start([self, rows = setup_.rows, service = setup_.service](platform::Event& stop) {
        const bool whole = update::UpdateCheck::Run(
            rows, service, stop, [self](std::size_t index, update::UpdateInfo info) {
                // Only an answer is a check: a failure keeps the date of the last one.
                if (!info.unanswered)
                    update::UpdateDateFile::Write(update::UpdateDateFile::Today());
                auto answer = std::make_shared<update::UpdateInfo>(std::move(info));
                auto* raw = answer.get();
                ui::CMessageLoop::PostMessage(self, kMsgUpdateAnswer, index,
                                              reinterpret_cast<std::intptr_t>(raw),
                                              std::move(answer));
            });
        if (whole) ui::CMessageLoop::PostMessage(self, kMsgUpdateDone);
    });
}

void CSetWnd::StopThreads() {
    for (platform::WorkerThread& slot : slots_) slot.StopEvent().Set();
    for (platform::WorkerThread& slot : slots_) {
        if (!slot.Running()) continue;
        platform::Trace(platform::WorkerThread::ExitText(slot.Stop(kStopWaitMs)));
    }
}

std::intptr_t CSetWnd::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                           std::intptr_t lParam, bool& handled) {
    handled = true;
    switch (msg) {
        case kMsgUpdateAnswer:
            page_.OnAnswer(wParam, std::move(*reinterpret_cast<update::UpdateInfo*>(lParam)));
            return 0;
        case kMsgUpdateDone:
            page_.Finish();
            return 0;
        case kUpdateRelayMessage:
            page_.OnRelay(wParam, lParam);
            return 0;
        case kMsgApplyLanguage:
            // The language changed: what this window composes itself follows.
            page_.OnLanguageChanged();
            m_pm.Invalidate();
            return 0;
        default:
            handled = false;
            return 0;
    }
}

std::intptr_t CSetWnd::OnClose(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) {
    if (!page_.CanClose()) {
        handled = true;  // refused: an entry is being updated
        return 0;
    }
    StopThreads();
    return WindowImplBase::OnClose(msg, wParam, lParam, handled);
}

std::intptr_t CSetWnd::OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                    bool& handled) {
    if ((wParam & 0xFFF0) == ui::SC_CLOSE) {
        // Only this window closes, whatever its entries are doing: the user asked the
        // window manager, and a modal window that could not be closed would hold the
        // whole program.
        handled = true;
        StopThreads();
        DestroyWindow();
        return 0;
    }
    return WindowImplBase::OnSysCommand(msg, wParam, lParam, handled);
}

std::intptr_t CSetWnd::OnDestroy(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                 bool& handled) {
    StopThreads();
    return WindowImplBase::OnDestroy(msg, wParam, lParam, handled);
}

}  // namespace app
