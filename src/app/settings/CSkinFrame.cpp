// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings/CSkinFrame.h"

#include "ui/CControlUI.h"
#include "ui/CMessageLoop.h"
#include "ui/CTabLayoutUI.h"
#include "ui/DpiValue.h"
#include "ui/TNotifyUI.h"
#include "ui/qt/IFileDialog.h"

namespace app {

namespace {

constexpr unsigned kStyle = ui::UI_WNDSTYLE_POPUP | ui::UI_WNDSTYLE_VISIBLE | ui::UI_WNDSTYLE_CLIP;
constexpr unsigned kExStyle =
    ui::UI_WNDSTYLE_EX_TOOLWINDOW | ui::UI_WNDSTYLE_EX_TOPMOST | ui::UI_WNDSTYLE_EX_NOACTIVATE;

}  // namespace

CSkinFrame* CSkinFrame::Open(ui::Point anchorBottomRight, int dpi, Observer observer) {
    auto* frame = new CSkinFrame(std::move(observer));
    // A failed creation destroys the window, and the frame deletes itself with it.
    if (!frame->Create(0, "skinframe", kStyle, kExStyle)) return nullptr;
    frame->m_pm.SetDPI(ui::DpiValue::Checked(dpi));
    const ui::Rect rc = frame->GetWindowRect();
    const int x = anchorBottomRight.x - rc.Width();
    frame->SetWindowPos(
        ui::Rect{x, anchorBottomRight.y, x + rc.Width(), anchorBottomRight.y + rc.Height()});
    frame->SetTopMost(true);
    return frame;
}

void CSkinFrame::ShowPage(int page) {
    if (ui::CControlUI* control = m_pm.FindControl("skin_tab")) {
        if (auto* tabs = static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout")))
            tabs->SelectItem(page);
    }
}

void CSkinFrame::OnClick(ui::TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const std::string& name = msg.pSender->GetName();
    if (name == "skin_image_btn") {
        const std::string image = msg.pSender->GetUserData();
        if (observer_) observer_({false, 0, image});
        SkinRecord::Write(true, image);
    } else if (name == "skin_color_btn") {
        if (observer_) observer_({true, msg.pSender->GetBkColor(), {}});
    } else if (name == "skin_color") {
        ShowPage(1);
    } else if (name == "skin_image") {
        ShowPage(0);
    } else if (name == "skin_reset") {
        if (observer_) observer_({false, 0, SkinRecord::kDefaultImage});
        SkinRecord::Write(false, SkinRecord::kDefaultImage);
    } else if (name == "skin_Custom") {
        ChooseCustomImage();
    }
}

void CSkinFrame::ChooseCustomImage() {
    // The dialog takes the focus, which closes this pop-up: the pop-up goes first, and the
    // dialog is asked afterwards from the loop, with what the answer needs.
    ui::CMessageLoop* loop = GetLoop();
    if (loop == nullptr) return;
    Close(0);
    loop->PostTask([observer = observer_] {
        ui::qt::FileDialogRequest request;
        request.mode = ui::qt::FileDialogRequest::Mode::Open;
        request.defaultExtension = "png";
        request.fileName = "*.png";
        request.filter = "(*.png) | *.png |(*.*)|*.*||";
        const std::optional<std::string> path = ui::qt::IFileDialog::Ask(request);
        // Not recorded: a file elsewhere may be gone by the next start.
        if (path && observer && SkinRecord::IsPlainImagePath(*path)) observer({false, 0, *path});
    });
}

std::intptr_t CSkinFrame::HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                              std::intptr_t lParam, bool& handled) {
    if (msg == ui::WM_KILLFOCUS) {
        handled = true;
        DestroyWindow();  // `this` is gone from here on
        return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
}

void CSkinFrame::OnFinalMessage(ui::WindowHandle hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

}  // namespace app
