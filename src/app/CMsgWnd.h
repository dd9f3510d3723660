// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's modal message box: a title, a message (normally a text key of the
// language file, so the box speaks the current language) and the confirm and cancel
// buttons. It closes with 1 (confirm) or 0 (cancel, the close button, or the window
// being closed), and deletes itself once it is destroyed.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/WindowImplBase.h"

namespace app {

class CMsgWnd : public ui::WindowImplBase {
public:
    static constexpr int kConfirmed = 1;
    static constexpr int kCancelled = 0;

    CMsgWnd();
    ~CMsgWnd() override;

    std::string GetWindowClassName() const override { return "MsgWnd"; }

    // Each setter leaves the layout as it is when the box lacks the control.
    void SetTitleText(std::string_view title);
    void SetMessageText(std::string_view text, bool markup);
    // Mode 0: confirm only; 1: confirm and cancel; anything else keeps the layout's buttons.
    void SetButtonMode(int mode);
    // Shows the "don't show again" tick; `ticked` follows it from then on (and outlives
    // the box). Without the tick in the layout nothing is offered.
    void OfferDontShowAgain(std::shared_ptr<bool> ticked);
    bool OffersDontShowAgain() const { return dontShowAgain_ != nullptr; }
    void TickDontShowAgain(bool on);
    bool DontShowAgainTicked() const { return dontShowAgain_ != nullptr && *dontShowAgain_; }
    // Takes one of the supported DPI values (anything else becomes 96 with a trace) and
    // applies it to every window, so the box and the window it covers share one scale.
    void SetDPI(int dpi);

    // The boxes open right now, oldest first (UI thread). Automation and tests answer the
    // newest one.
    static const std::vector<CMsgWnd*>& OpenBoxes();
    static CMsgWnd* Newest();

protected:
    std::string GetSkinFile() override { return "XML_MSG"; }
    void Notify(ui::TNotifyUI& msg) override;
    void OnClick(ui::TNotifyUI& msg) override;
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage(ui::WindowHandle hWnd) override;

private:
    std::shared_ptr<bool> dontShowAgain_;
};

}  // namespace app
