// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One per window: the control tree's root, the name index, notifications and notifiers,
// per-control timers, focus, capture and hot tracking, the single input entry point,
// layout for the client size and DPI, fonts, styles and option groups.
// UI thread only; other threads reach a window through CMessageLoop.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/TEventUI.h"
#include "ui/TFontInfo.h"
#include "ui/TNotifyUI.h"
#include "ui/UIDefs.h"

namespace ui {

class CControlUI;
class CMessageLoop;
class IRenderTarget;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();  // destroys the tree; cancels its timers and pending notifications
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The window this manager paints (0 for a bare manager in tests) and its name.
    void Init(WindowHandle window, std::string_view name = {});
    WindowHandle GetPaintWindow() const { return m_hWnd; }
    const std::string& GetName() const { return m_sName; }
    // Screen position of the paint window's client area (for controls that carry
    // native windows); set by the window.
    Point GetWindowOrigin() const { return m_ptWindowOrigin; }
    void SetWindowOrigin(Point origin) { m_ptWindowOrigin = origin; }
    // Timers and asynchronous notifications run on this loop (the thread's current one
    // when not set).
    void SetMessageLoop(CMessageLoop* loop) { m_pLoop = loop; }
    CMessageLoop* GetMessageLoop() const;

    // ---- tree
    // Makes `root` the tree (owned from now on; a previous root is destroyed).
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    // Joins `control` and its subtree to this manager.
    bool InitControls(CControlUI* control, CControlUI* parent = nullptr);
    // Forgets a control that leaves the tree: name index, timers, focus, capture, hot
    // control, option groups and its pending asynchronous notifications.
    void ReapObjects(CControlUI* control);
    // Changes whenever a control leaves the tree: pointers to controls kept from before
    // may be dangling once it differs.
    std::uint64_t TreeGeneration() const { return m_treeGeneration; }
    // Deletes a removed control once the current notification has been handled.
    void AddDelayedCleanup(CControlUI* control);
    void NameChanged();  // a name in the tree changed: rebuild the index on next lookup

    // ---- lookups
    CControlUI* FindControl(std::string_view name);  // first in tree order, exact case
    CControlUI* FindControl(Point pt);                // topmost visible enabled control there
    CControlUI* FindSubControlByName(CControlUI* parent, std::string_view name);
    CControlUI* FindSubControlByClass(CControlUI* parent, std::string_view className,
                                      int index = 0);
    std::vector<CControlUI*> FindSubControlsByClass(CControlUI* parent,
                                                    std::string_view className);

    // ---- notifications
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Sync: every notifier gets it before this returns. Async: queued on the loop and
    // delivered later (dropped if the sender leaves the tree first).
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, std::string_view type, std::uintptr_t wParam = 0,
                    std::intptr_t lParam = 0, bool async = false);

    // ---- per-control timers, delivered to the control as EventType::Timer (whose default
    // handling raises "timer" with wParam = id). Setting an id again restarts it.
    bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs);
    bool KillTimer(CControlUI* control, unsigned id);
    void KillTimer(CControlUI* control);  // all of that control's timers
    void RemoveAllTimers();
    bool HasTimer(const CControlUI* control, unsigned id) const;

    // ---- focus, capture, hot
    CControlUI* GetFocus() const { return m_pFocus; }
    // Moves the focus: the old control gets KillFocus and raises "killfocus", the new one
    // SetFocus and "setfocus". Null only removes it.
    void SetFocus(CControlUI* control);
    // Moves the focus to the next (or previous) control that takes it, in tree order.
    bool SetNextTabControl(bool forward = true);
    void SetCapture(CControlUI* control) { m_pEventCapture = control; }
    void ReleaseCapture() { m_pEventCapture = nullptr; }
    CControlUI* GetCapture() const { return m_pEventCapture; }
    CControlUI* GetHot() const { return m_pEventHover; }
    Point GetMousePos() const { return m_ptLastMouse; }
    // While disabled (a modal window above this one), input is refused.
    // Key capture: while a hook is set, key presses and releases reach it before any
    // control, and what it takes reaches none. The desktop gives the window the whole
    // keyboard meanwhile, where it allows (shortcuts of the desktop included).
    using KeyHook = std::function<bool(const TInputEvent&)>;
    void SetKeyHook(KeyHook hook) { m_keyHook = std::move(hook); }
    bool HasKeyHook() const { return static_cast<bool>(m_keyHook); }
    // Recording: mouse presses and releases are shown to the hook before they act; the
    // hook only watches.
    using MouseHook = std::function<void(const TInputEvent&)>;
    void SetMouseHook(MouseHook hook) { m_mouseHook = std::move(hook); }
    void SetInputEnabled(bool enabled) { m_bInputEnabled = enabled; }
    bool IsInputEnabled() const { return m_bInputEnabled; }

    // ---- the one input entry point. Returns whether a control took the event.
    bool HandleInput(const TInputEvent& input);

    // ---- layout and painting
    void SetClientSize(Size size);  // physical pixels
    Size GetClientSize() const { return m_szClient; }
    void NeedUpdate();  // relayout before the next paint, lookup by point or input
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    // Lays the tree out if needed; the first layout raises "windowinit". True if it ran.
    bool EnsureLayout();
    void Invalidate();  // whole window
    void Invalidate(const Rect& rc);
    // The renderer is told about invalid areas here.
    void SetInvalidateHandler(std::function<void(const Rect&)> handler);
    // Only what a tinted overlay image (a key's light) draws in `rc` changed, so a
    // renderer may keep what lies beneath it. Without an overlay handler, as Invalidate.
    void InvalidateOverlay(const Rect& rc);
    void SetOverlayInvalidateHandler(std::function<void(const Rect&)> handler);
    int GetInvalidateCount() const { return m_nInvalidates; }
    void Paint(IRenderTarget& target);
    // Only the controls that reach into `area` (client pixels) are drawn.
    void Paint(IRenderTarget& target, const Rect& area);
    // The size the layout asks for (the <Window size> attribute), at 96 DPI.
    Size GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(Size size) { m_szInitWindowSize = size; }
    Size GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(Size size) { m_szMinWindow = size; }
    Size GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(Size size) { m_szMaxWindow = size; }
    Rect GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const Rect& rc) { m_rcCaption = rc; }

    // ---- DPI (96 = 100 %)
    int GetDPI() const { return m_iDPI; }
    // Changes the scale; the window, if any, is told through the DPI hook to resize.
    void SetDPI(int dpi);
    static void SetAllDPI(int dpi);  // every live manager of this thread
    int ScaleValue(int value) const;
    Rect ScaleRect(const Rect& rc) const;
    Size ScaleSize(Size size) const;
    void SetDpiChangedHook(std::function<void(int oldDpi, int newDpi)> hook);

    // ---- fonts
    void AddFont(int id, std::string_view face, int size, bool bold, bool underline, bool italic,
                 bool shared = false);
    void SetDefaultFont(std::string_view face, int size, bool bold, bool underline, bool italic,
                        bool shared = false);
    // The font of that id (own first, then shared), or the default font.
    const TFontInfo& GetFont(int id) const;
    bool HasFont(int id) const;
    void RemoveAllFonts();  // own and shared

    // ---- styles, default attribute lists, option groups
    void AddStyle(std::string_view name, std::string_view attributes, bool shared = false);
    const std::string* GetStyle(std::string_view name) const;
    void AddDefaultAttributeList(std::string_view className, std::string_view attributes,
                                 bool shared = false);
    const std::string* GetDefaultAttributeList(std::string_view className) const;
    void AddOptionGroup(std::string_view group, CControlUI* control);
    void RemoveOptionGroup(std::string_view group, CControlUI* control);
    const std::vector<CControlUI*>* GetOptionGroup(std::string_view group) const;

    // ---- all managers of this thread (shared fonts and styles live here too)
    static const std::vector<CPaintManagerUI*>& GetManagers();
    static void RemoveAllShared();  // shared fonts, styles and defaults

private:
    void RebuildNameIndex();
    void FireTimer(const CControlUI* control, unsigned id);
    void DeliverAsyncNotifications();
    void UpdateHot(Point pt);
    void SendEvent(CControlUI* control, EventType type, const TInputEvent& input,
                   std::uintptr_t wParam = 0);
    void FlushDelayedCleanup();
    std::int64_t Now() const;

    WindowHandle m_hWnd = 0;
    std::string m_sName;
    Point m_ptWindowOrigin;
    CMessageLoop* m_pLoop = nullptr;
    CControlUI* m_pRoot = nullptr;
    std::vector<INotifyUI*> m_aNotifiers;
    std::deque<TNotifyUI> m_aAsyncNotify;
    std::vector<CControlUI*> m_aDelayedCleanup;
    std::shared_ptr<CPaintManagerUI*> m_self;  // weak handle for queued work
    std::unordered_map<std::string, CControlUI*> m_mNameHash;
    bool m_bNameIndexValid = false;
    std::vector<std::pair<const CControlUI*, unsigned>> m_aTimers;

    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventCapture = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    Point m_ptLastMouse;
    bool m_bInputEnabled = true;
    int m_iNotifyDepth = 0;

    Size m_szClient;
    bool m_bUpdateNeeded = true;
    bool m_bFirstLayout = true;
    std::function<void(const Rect&)> m_invalidateHandler;
    std::function<void(const Rect&)> m_overlayInvalidateHandler;
    int m_nInvalidates = 0;
    std::uint64_t m_treeGeneration = 0;
    Size m_szInitWindowSize;
    Size m_szMinWindow;
    Size m_szMaxWindow;
    Rect m_rcCaption;

    int m_iDPI = 96;
    std::function<void(int, int)> m_dpiHook;
    KeyHook m_keyHook;
    MouseHook m_mouseHook;

    std::map<int, TFontInfo> m_mFonts;
    TFontInfo m_defaultFont;
    bool m_bOwnDefaultFont = false;
    std::unordered_map<std::string, std::string> m_mStyles;
    std::unordered_map<std::string, std::string> m_mDefaultAttrs;
    std::unordered_map<std::string, std::vector<CControlUI*>> m_mOptionGroups;
};

}  // namespace ui
