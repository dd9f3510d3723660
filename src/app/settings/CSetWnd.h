// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings window: the language choice and the update page. It runs modally over the
// main window; the update check runs on the first of its three worker slots and hands
// each answer to the window's loop, so the window answers the whole time.
//
// Closing (its buttons, the owner's WM_CLOSE) is refused while an entry is in the middle
// of an update; the system Close command (the window manager's close, Alt+F4) always
// closes it. Closing stops the check at once, a request under way included.
//
// Threads: UI thread, except the worker slots, which only post to the window's handle.
#include <array>
#include <vector>

#include "app/settings/UpdatePage.h"
#include "platform/WorkerThread.h"
#include "ui/WindowImplBase.h"
#include "update/UpdateProduct.h"
#include "update/UpdateService.h"

namespace app {

class LanguageManager;

class CSetWnd : public ui::WindowImplBase {
public:
    static constexpr int kWidth = 630;
    static constexpr int kHeight = 500;
    static constexpr int kStopWaitMs = 500;
    // The check's reports to the window: an answer (wParam = row, lParam = UpdateInfo*),
    // and the end of the check.
    static constexpr unsigned kMsgUpdateAnswer = ui::WM_USER + 0x820;
    static constexpr unsigned kMsgUpdateDone = ui::WM_USER + 0x821;

    struct Setup {
        ui::WindowHandle owner = 0;  // the main window
        int languageIndex = -1;      // the language at opening
        const LanguageManager* languages = nullptr;
        bool trayShown = true;       // at opening: a tray host shows the program's icon
        std::vector<update::UpdateProduct> rows;  // those with a version
        update::UpdateService service;
    };

    explicit CSetWnd(Setup setup);
    ~CSetWnd() override;

    std::string GetWindowClassName() const override { return "SetWnd"; }
    // One of the supported DPI values; anything else becomes 96 with a trace line.
    void SetDPI(int dpi);
    UpdatePage& Page() { return page_; }
    // Stops the worker slots (each within kStopWaitMs). Safe to call twice.
    void StopThreads();

protected:
    std::string GetSkinFile() override { return "setwnd.xml"; }
    void Notify(ui::TNotifyUI& msg) override;
    void OnClick(ui::TNotifyUI& msg) override;
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    std::intptr_t OnClose(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                          bool& handled) override;
    std::intptr_t OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;
    std::intptr_t OnDestroy(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                            bool& handled) override;

private:
    void OnWindowInit();
    void StartCheck();
    // The "start at login" tick and the autostart entry behind it.
    void ShowAutostart();
    void OnAutostartTicked(bool on);

    Setup setup_;
    UpdatePage page_;
    std::array<platform::WorkerThread, 3> slots_;
    bool initialised_ = false;
};

}  // namespace app
