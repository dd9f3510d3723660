// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A top-level window of the message loop: handle, title, owner, position and size,
// visibility, window timers, modal runs and closing. There is no native window here; the
// Qt renderer shows one for each visible CWindowWnd and reports moves and sizes back.
//
// Life cycle: Create sends WM_CREATE and posts WM_PAINT (the first layout). Close(code)
// posts WM_CLOSE; its default handling destroys the window: WM_DESTROY, then the handle
// is released, then OnFinalMessage (which may delete the object). A modal run ends when
// the window is destroyed and returns the code of the WM_CLOSE that did it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/IMessageTarget.h"
#include "ui/UIDefs.h"

namespace ui {

class CMessageLoop;

// Window styles the program passes; they only record intent here.
constexpr unsigned UI_WNDSTYLE_VISIBLE = 0x10000000;  // WS_VISIBLE
constexpr unsigned UI_WNDSTYLE_POPUP = 0x80000000;         // WS_POPUP
constexpr unsigned UI_WNDSTYLE_CLIP = 0x06000000;          // WS_CLIPSIBLINGS | WS_CLIPCHILDREN
constexpr unsigned UI_WNDSTYLE_EX_TOOLWINDOW = 0x00000080;  // WS_EX_TOOLWINDOW
constexpr unsigned UI_WNDSTYLE_EX_TOPMOST = 0x00000008;     // WS_EX_TOPMOST
// A pop-up that must not take the activation from the window it serves; it closes when
// the focus goes elsewhere.
constexpr unsigned UI_WNDSTYLE_EX_NOACTIVATE = 0x08000000;  // WS_EX_NOACTIVATE

class CWindowWnd : public IMessageTarget {
public:
    CWindowWnd();
    ~CWindowWnd() override;  // a window still alive is destroyed (without OnFinalMessage)
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    virtual std::string GetWindowClassName() const = 0;

    // Creates the window on the calling thread's loop (false without one). A size of 0
    // lets the layout choose (WindowImplBase).
    bool Create(WindowHandle owner, std::string_view title, unsigned style, unsigned exStyle,
                int x = 0, int y = 0, int cx = 0, int cy = 0);
    WindowHandle GetHWND() const { return m_hWnd; }
    WindowHandle GetOwner() const { return m_hOwner; }
    CMessageLoop* GetLoop() const { return m_pLoop; }
    static CWindowWnd* FromHandle(WindowHandle handle);  // a live window of this thread

    // The styles given to Create, for the renderer.
    unsigned GetStyle() const { return m_style; }
    unsigned GetExStyle() const { return m_exStyle; }
    const std::string& GetTitle() const { return m_sTitle; }
    void SetTitle(std::string_view title) { m_sTitle = title; }

    // ---- visibility and placement (screen pixels)
    void ShowWindow(bool show = true, bool takeFocus = true);
    bool IsWindowVisible() const { return m_bVisible; }
    bool IsMinimized() const { return m_bMinimized; }
    bool IsMaximized() const { return m_bMaximized; }
    Rect GetWindowRect() const { return m_rcWindow; }
    // Moves and sizes; a move sends WM_MOVE, a size change WM_SIZE (wParam 0,
    // lParam = cx | cy << 16).
    void SetWindowPos(const Rect& rc);
    void ResizeClient(int cx, int cy);
    // Centres over the owner, or over the screen without one.
    void CenterWindow();
    // The screen the windows live on (the renderer sets the real one).
    static Rect GetScreenRect();
    static void SetScreenRect(const Rect& rc);
    bool IsTopMost() const { return m_bTopMost; }
    void SetTopMost(bool topMost) { m_bTopMost = topMost; }

    // ---- messages
    std::intptr_t SendMessage(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    bool PostMessage(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    // Window timers, delivered as WM_TIMER with wParam = id.
    bool SetTimer(unsigned id, unsigned elapseMs);
    bool KillTimer(unsigned id);

    // ---- modal run and closing
    // Shows the window, refuses input to its owner, runs the loop until this window is
    // destroyed and returns its close code; -1 when the loop was quit first or the window
    // could not run (not created).
    int ShowModal();
    bool IsModal() const { return m_modal != nullptr; }
    void Close(int code = 0);  // posts WM_CLOSE with wParam = code
    void DestroyWindow();      // at once, without asking the window
    bool IsWindow() const { return m_hWnd != 0; }

    std::intptr_t HandleLoopMessage(unsigned msg, std::uintptr_t wParam,
                                    std::intptr_t lParam) override;

protected:
    // Every message of the window; the default is DefWindowProc's handling.
    virtual std::intptr_t HandleMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    // WM_CLOSE destroys; WM_SYSCOMMAND minimises, maximises, restores and closes.
    std::intptr_t DefWindowProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    // After the window is gone; the object may delete itself here.
    virtual void OnFinalMessage(WindowHandle hWnd);
    // Input to this window is refused while a modal window it owns runs.
    virtual void EnableInput(bool enabled);

private:
    struct ModalState {
        bool done = false;
        int code = -1;
    };

    WindowHandle m_hWnd = 0;
    WindowHandle m_hOwner = 0;
    CMessageLoop* m_pLoop = nullptr;
    std::string m_sTitle;
    unsigned m_style = 0;
    unsigned m_exStyle = 0;
    Rect m_rcWindow;
    bool m_bVisible = false;
    bool m_bMinimized = false;
    bool m_bMaximized = false;
    bool m_bTopMost = false;
    int m_closeCode = 0;
    std::shared_ptr<ModalState> m_modal;
};

}  // namespace ui
