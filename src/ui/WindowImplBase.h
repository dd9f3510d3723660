// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the program's windows: a CWindowWnd with a paint manager whose tree is
// built from the window's skin file. A window supplies its skin file and class name and
// overrides InitWindow (the layout is built), Notify (its controls' notifications),
// HandleCustomMessage (other messages), CreateControl (elements the library lacks) and
// OnFinalMessage.
//
// Order on creation: WM_CREATE builds the layout, attaches it, adds the window as
// notifier and calls InitWindow; the first layout pass (WM_PAINT, posted) raises
// "windowinit". Each size change raises "windowsize" from the root.
#include <string>

#include "ui/CNotifyPump.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CWindowWnd.h"
#include "ui/IDialogBuilderCallback.h"
#include "ui/TNotifyUI.h"

namespace ui {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    CPaintManagerUI& GetPaintManager() { return m_pm; }
    // Feeds input to the window (the renderer and tests use this). Window focus changes
    // also reach the window as WM_SETFOCUS / WM_KILLFOCUS.
    virtual bool HandleInput(const TInputEvent& input);

    // Default handling of notifications: the message map, and the title buttons
    // ("closebtn" closes with 0, "minbtn"/"maxbtn"/"restorebtn" send WM_SYSCOMMAND).
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(std::string_view className) override;

protected:
    // The layout: an identifier of the resource index or a file of the skin folder.
    virtual std::string GetSkinFile() = 0;
    virtual void InitWindow() {}
    virtual void OnClick(TNotifyUI& msg);
    // Messages the window handles itself; set `handled` to stop the default handling.
    virtual std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam,
                                              std::intptr_t lParam, bool& handled);
    virtual std::intptr_t OnCreate(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                   bool& handled);
    // Not handled by default, so WM_CLOSE destroys the window; handle it to refuse.
    virtual std::intptr_t OnClose(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                  bool& handled);
    virtual std::intptr_t OnDestroy(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                    bool& handled);
    virtual std::intptr_t OnSize(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                 bool& handled);
    // The desktop moved the window to a screen of another scale: LOWORD(wParam) is the new
    // DPI, lParam (when not 0) points at the Rect the desktop suggests for the window.
    virtual std::intptr_t OnDpiChanged(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                       bool& handled);
    virtual std::intptr_t OnSysCommand(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                       bool& handled);

    std::intptr_t HandleMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnFinalMessage(WindowHandle hWnd) override;
    void EnableInput(bool enabled) override;

    CPaintManagerUI m_pm;
};

}  // namespace ui
