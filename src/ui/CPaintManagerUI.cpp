// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CPaintManagerUI.h"

#include <algorithm>

#include "platform/Trace.h"
#include "ui/CControlUI.h"
#include "ui/CMessageLoop.h"
#include "ui/IRenderTarget.h"

namespace ui {

namespace {

struct SharedResources {
    std::map<int, TFontInfo> fonts;
    TFontInfo defaultFont{"", 12, false, false, false, true};
    bool hasDefaultFont = false;
    std::unordered_map<std::string, std::string> styles;
    std::unordered_map<std::string, std::string> defaultAttrs;
};

SharedResources& Shared() {
    static SharedResources shared;
    return shared;
}

std::vector<CPaintManagerUI*>& Managers() {
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

const TFontInfo& FallbackFont() {
    static const TFontInfo font{"", 12, false, false, false, false};
    return font;
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() : m_self(std::make_shared<CPaintManagerUI*>(this)) {
    Managers().push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    RemoveAllTimers();
    m_self.reset();  // queued work for this manager is dropped from now on
    m_aNotifiers.clear();
    m_aAsyncNotify.clear();
    FlushDelayedCleanup();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    auto& managers = Managers();
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
}

void CPaintManagerUI::Init(WindowHandle window, std::string_view name) {
    m_hWnd = window;
    m_sName = name;
}

CMessageLoop* CPaintManagerUI::GetMessageLoop() const {
    return m_pLoop != nullptr ? m_pLoop : CMessageLoop::Current();
}

std::int64_t CPaintManagerUI::Now() const {
    CMessageLoop* loop = GetMessageLoop();
    return loop != nullptr ? loop->Now() : 0;
}

// ---- tree

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (root == nullptr || root == m_pRoot) return false;
    SetFocus(nullptr);
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    m_pEventCapture = nullptr;
    if (m_pRoot != nullptr) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        ReapObjects(old);
        AddDelayedCleanup(old);
    }
    m_pRoot = root;
    m_bFirstLayout = true;
    InitControls(root, nullptr);
    NameChanged();
    NeedUpdate();
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) return false;
    control->SetManager(this, parent != nullptr ? parent : control->GetParent(), true);
    if (parent == nullptr) control->Init();
    NameChanged();
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (control == nullptr) return;
    ++m_treeGeneration;
    std::vector<CControlUI*> subtree;
    control->FindControl(
        [&subtree](CControlUI* c) {
            subtree.push_back(c);
            return false;
        },
        Point{}, UIFIND_ALL | UIFIND_ME_FIRST);
    if (subtree.empty()) subtree.push_back(control);
    for (CControlUI* c : subtree) {
        if (c == m_pFocus) m_pFocus = nullptr;
        if (c == m_pEventCapture) m_pEventCapture = nullptr;
        if (c == m_pEventHover) m_pEventHover = nullptr;
        if (c == m_pEventClick) m_pEventClick = nullptr;
        KillTimer(c);
        for (auto& group : m_mOptionGroups) {
            auto& members = group.second;
            members.erase(std::remove(members.begin(), members.end(), c), members.end());
        }
        m_aAsyncNotify.erase(std::remove_if(m_aAsyncNotify.begin(), m_aAsyncNotify.end(),
                                            [c](const TNotifyUI& n) { return n.pSender == c; }),
                             m_aAsyncNotify.end());
    }
    NameChanged();
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control) {
    if (control == nullptr) return;
    control->SetManager(this, nullptr, false);
    m_aDelayedCleanup.push_back(control);
    CMessageLoop* loop = GetMessageLoop();
    std::weak_ptr<CPaintManagerUI*> weak = m_self;
    if (loop == nullptr || !loop->PostTask([weak] {
            if (auto self = weak.lock()) (*self)->FlushDelayedCleanup();
        })) {
        // No loop to wait for: deleted when the current notification or input ends.
        if (m_iNotifyDepth == 0) FlushDelayedCleanup();
    }
}

void CPaintManagerUI::FlushDelayedCleanup() {
    while (!m_aDelayedCleanup.empty()) {
        std::vector<CControlUI*> batch;
        batch.swap(m_aDelayedCleanup);
        for (CControlUI* control : batch) delete control;
    }
}

void CPaintManagerUI::NameChanged() { m_bNameIndexValid = false; }

void CPaintManagerUI::RebuildNameIndex() {
    m_mNameHash.clear();
    if (m_pRoot != nullptr) {
        m_pRoot->FindControl(
            [this](CControlUI* c) {
                if (!c->GetName().empty()) m_mNameHash.emplace(c->GetName(), c);
                return false;
            },
            Point{}, UIFIND_ALL | UIFIND_ME_FIRST);
    }
    m_bNameIndexValid = true;
}

// ---- lookups

CControlUI* CPaintManagerUI::FindControl(std::string_view name) {
    if (name.empty()) return nullptr;
    if (!m_bNameIndexValid) RebuildNameIndex();
    auto it = m_mNameHash.find(std::string(name));
    return it == m_mNameHash.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindControl(Point pt) {
    if (m_pRoot == nullptr) return nullptr;
    EnsureLayout();
    return m_pRoot->FindControl([](CControlUI*) { return true; }, pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, std::string_view name) {
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr || name.empty()) return nullptr;
    return parent->FindControl([name](CControlUI* c) { return c->GetName() == name; }, Point{},
                               UIFIND_ALL | UIFIND_ME_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* parent, std::string_view className,
                                                   int index) {
    std::vector<CControlUI*> all = FindSubControlsByClass(parent, className);
    if (index < 0 || index >= static_cast<int>(all.size())) return nullptr;
    return all[static_cast<size_t>(index)];
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* parent,
                                                                 std::string_view className) {
    std::vector<CControlUI*> found;
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr) return found;
    parent->FindControl(
        [&](CControlUI* c) {
            if (c->GetClass() == className) found.push_back(c);
            return false;
        },
        Point{}, UIFIND_ALL | UIFIND_ME_FIRST);
    return found;
}

// ---- notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier == nullptr ||
        std::find(m_aNotifiers.begin(), m_aNotifiers.end(), notifier) != m_aNotifiers.end())
        return false;
    m_aNotifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto it = std::find(m_aNotifiers.begin(), m_aNotifiers.end(), notifier);
    if (it == m_aNotifiers.end()) return false;
    m_aNotifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    msg.ptMouse = m_ptLastMouse;
    msg.dwTimestamp = Now();
    if (async) {
        CMessageLoop* loop = GetMessageLoop();
        std::weak_ptr<CPaintManagerUI*> weak = m_self;
        m_aAsyncNotify.push_back(msg);
        if (loop != nullptr && loop->PostTask([weak] {
                if (auto self = weak.lock()) (*self)->DeliverAsyncNotifications();
            }))
            return;
        platform::Trace("ui: no message loop; asynchronous notification delivered at once\n");
        DeliverAsyncNotifications();
        return;
    }
    if (msg.pSender != nullptr) msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    ++m_iNotifyDepth;
    // A notifier may add or remove notifiers while it runs.
    std::vector<INotifyUI*> notifiers = m_aNotifiers;
    for (INotifyUI* notifier : notifiers) {
        if (std::find(m_aNotifiers.begin(), m_aNotifiers.end(), notifier) == m_aNotifiers.end())
            continue;
        notifier->Notify(msg);
    }
    --m_iNotifyDepth;
    if (m_iNotifyDepth == 0 && GetMessageLoop() == nullptr) FlushDelayedCleanup();
}

void CPaintManagerUI::SendNotify(CControlUI* control, std::string_view type,
                                 std::uintptr_t wParam, std::intptr_t lParam, bool async) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::DeliverAsyncNotifications() {
    while (!m_aAsyncNotify.empty()) {
        TNotifyUI msg = m_aAsyncNotify.front();
        m_aAsyncNotify.pop_front();
        SendNotify(msg, false);
    }
}

// ---- timers

bool CPaintManagerUI::SetTimer(CControlUI* control, unsigned id, unsigned elapseMs) {
    CMessageLoop* loop = GetMessageLoop();
    if (control == nullptr || loop == nullptr) return false;
    if (!HasTimer(control, id)) m_aTimers.emplace_back(control, id);
    std::weak_ptr<CPaintManagerUI*> weak = m_self;
    loop->SetTimer(control, id, elapseMs, [weak, control, id] {
        if (auto self = weak.lock()) (*self)->FireTimer(control, id);
    });
    return true;
}

void CPaintManagerUI::FireTimer(const CControlUI* control, unsigned id) {
    if (!HasTimer(control, id)) return;
    TEventUI event;
    event.Type = EventType::Timer;
    event.pSender = const_cast<CControlUI*>(control);
    event.dwTimestamp = Now();
    event.ptMouse = m_ptLastMouse;
    event.wParam = id;
    event.pSender->Event(event);
}

bool CPaintManagerUI::KillTimer(CControlUI* control, unsigned id) {
    auto it = std::find(m_aTimers.begin(), m_aTimers.end(),
                        std::pair<const CControlUI*, unsigned>(control, id));
    if (it == m_aTimers.end()) return false;
    m_aTimers.erase(it);
    if (CMessageLoop* loop = GetMessageLoop()) loop->KillTimer(control, id);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    CMessageLoop* loop = GetMessageLoop();
    for (auto it = m_aTimers.begin(); it != m_aTimers.end();) {
        if (it->first == control) {
            if (loop != nullptr) loop->KillTimer(control, it->second);
            it = m_aTimers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    CMessageLoop* loop = GetMessageLoop();
    if (loop != nullptr) {
        for (const auto& timer : m_aTimers) loop->KillTimer(timer.first, timer.second);
    }
    m_aTimers.clear();
}

bool CPaintManagerUI::HasTimer(const CControlUI* control, unsigned id) const {
    return std::find(m_aTimers.begin(), m_aTimers.end(),
                     std::pair<const CControlUI*, unsigned>(control, id)) !=
           m_aTimers.end();
}

// ---- focus

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control == m_pFocus) return;
    if (m_pFocus != nullptr) {
        CControlUI* old = m_pFocus;
        m_pFocus = nullptr;
        TEventUI event;
        event.Type = EventType::KillFocus;
        event.pSender = control;
        event.dwTimestamp = Now();
        old->Event(event);
        SendNotify(old, "killfocus");
    }
    if (control == nullptr || control->GetManager() != this || !control->IsVisible() ||
        !control->IsEnabled())
        return;
    m_pFocus = control;
    TEventUI event;
    event.Type = EventType::SetFocus;
    event.pSender = control;
    event.dwTimestamp = Now();
    control->Event(event);
    SendNotify(control, "setfocus");
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
    if (m_pRoot == nullptr) return false;
    std::vector<CControlUI*> stops;
    m_pRoot->FindControl(
        [&stops](CControlUI* c) {
            if ((c->GetControlFlags() & UIFLAG_TABSTOP) != 0 && c->IsEnabled() &&
                c->IsKeyboardEnabled())
                stops.push_back(c);
            return false;
        },
        Point{}, UIFIND_VISIBLE | UIFIND_ME_FIRST);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), m_pFocus);
    size_t next = 0;
    if (it == stops.end()) {
        next = forward ? 0 : stops.size() - 1;
    } else {
        size_t at = static_cast<size_t>(it - stops.begin());
        next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[next]);
    return true;
}

// ---- input

void CPaintManagerUI::SendEvent(CControlUI* control, EventType type, const TInputEvent& input,
                                std::uintptr_t wParam) {
    if (control == nullptr) return;
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = Now();
    event.ptMouse = input.pt;
    event.chKey = input.key;
    event.wKeyState = input.modifiers;
    event.text = input.text;
    event.wParam = wParam;
    event.lParam = input.delta;
    control->Event(event);
}

void CPaintManagerUI::UpdateHot(Point pt) {
    CControlUI* hot = FindControl(pt);
    if (hot == m_pEventHover) return;
    TInputEvent input;
    input.pt = pt;
    if (m_pEventHover != nullptr) {
        CControlUI* old = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(old, EventType::MouseLeave, input);
    }
    if (hot != nullptr && hot->GetManager() == this) {
        m_pEventHover = hot;
        SendEvent(hot, EventType::MouseEnter, input);
    }
}

bool CPaintManagerUI::HandleInput(const TInputEvent& input) {
    if (!m_bInputEnabled || m_pRoot == nullptr) return false;
    EnsureLayout();
    ++m_iNotifyDepth;
    bool taken = false;
    using Kind = TInputEvent::Kind;
    if (m_mouseHook && (input.kind == Kind::MouseDown || input.kind == Kind::MouseUp ||
                        input.kind == Kind::DoubleClick)) {
        const MouseHook hook = m_mouseHook;  // it may end the recording
        TInputEvent press = input;  // the second press of a double click is a press too
        if (press.kind == Kind::DoubleClick) press.kind = Kind::MouseDown;
        hook(press);
    }
    // Buttons beyond the middle one are the hook's only.
    if ((input.kind == Kind::MouseDown || input.kind == Kind::MouseUp) && input.button > 2) {
        --m_iNotifyDepth;
        return false;
    }
    switch (input.kind) {
    case Kind::MouseMove: {
        m_ptLastMouse = input.pt;
        UpdateHot(input.pt);
        CControlUI* target = m_pEventClick != nullptr ? m_pEventClick : m_pEventHover;
        SendEvent(target, EventType::MouseMove, input);
        taken = target != nullptr;
        break;
    }
    case Kind::MouseDown:
    case Kind::DoubleClick: {
        m_ptLastMouse = input.pt;
        UpdateHot(input.pt);
        CControlUI* control = FindControl(input.pt);
        if (control == nullptr) break;
        if (input.kind == Kind::MouseDown && input.button != 0) {
            control->SetFocus();
            if (input.button == 1) {
                m_pEventClick = control;
                SendEvent(control, EventType::RButtonDown, input);
            }
            taken = true;
            break;
        }
        m_pEventClick = control;
        control->SetFocus();
        // The focus change may have removed the control.
        if (m_pEventClick == control) {
            SendEvent(control, input.kind == Kind::MouseDown ? EventType::ButtonDown
                                                             : EventType::DblClick,
                      input);
        }
        taken = true;
        break;
    }
    case Kind::MouseUp: {
        m_ptLastMouse = input.pt;
        CControlUI* control = m_pEventClick;
        m_pEventClick = nullptr;
        if (control == nullptr) break;
        SendEvent(control, input.button == 1 ? EventType::RButtonUp : EventType::ButtonUp, input);
        taken = true;
        break;
    }
    case Kind::MouseLeaveWindow: {
        if (m_pEventHover != nullptr) {
            CControlUI* old = m_pEventHover;
            m_pEventHover = nullptr;
            SendEvent(old, EventType::MouseLeave, input);
            taken = true;
        }
        break;
    }
    case Kind::Wheel: {
        CControlUI* control = FindControl(input.pt);
        SendEvent(control, EventType::ScrollWheel, input);
        taken = control != nullptr;
        break;
    }
    case Kind::KeyDown:
    case Kind::KeyUp:
    case Kind::Char: {
        if (input.kind != Kind::Char && m_keyHook) {
            // A copy: the hook may end the capture and so replace itself.
            const KeyHook hook = m_keyHook;
            if (hook(input)) {
                taken = true;
                break;
            }
        }
        if (input.kind == Kind::KeyDown && input.key == vk::Tab) {
            taken = SetNextTabControl((input.modifiers & MK_SHIFT) == 0);
            break;
        }
        CControlUI* control = m_pFocus;
        if (control == nullptr || !control->IsKeyboardEnabled()) break;
        EventType type = input.kind == Kind::KeyDown ? EventType::KeyDown
                         : input.kind == Kind::KeyUp ? EventType::KeyUp
                                                     : EventType::Char;
        SendEvent(control, type, input);
        taken = true;
        break;
    }
    case Kind::ContextMenu: {
        CControlUI* control =
            (input.pt.x < 0 && input.pt.y < 0) ? m_pFocus : FindControl(input.pt);
        SendEvent(control, EventType::ContextMenu, input);
        taken = control != nullptr;
        break;
    }
    case Kind::WindowFocusIn:
        break;
    case Kind::WindowFocusOut: {
        // Losing the window ends a press in progress.
        m_pEventClick = nullptr;
        break;
    }
    }
    --m_iNotifyDepth;
    if (m_iNotifyDepth == 0 && GetMessageLoop() == nullptr) FlushDelayedCleanup();
    return taken;
}

// ---- layout and painting

void CPaintManagerUI::SetClientSize(Size size) {
    if (size == m_szClient) return;
    m_szClient = size;
    NeedUpdate();
    Invalidate();
}

void CPaintManagerUI::NeedUpdate() { m_bUpdateNeeded = true; }

bool CPaintManagerUI::EnsureLayout() {
    if (!m_bUpdateNeeded || m_pRoot == nullptr) return false;
    m_bUpdateNeeded = false;
    m_pRoot->SetPos(Rect{0, 0, m_szClient.cx, m_szClient.cy}, false);
    // SetPos may have asked for another pass (a control resizing itself): run it once more.
    if (m_bUpdateNeeded) {
        m_bUpdateNeeded = false;
        m_pRoot->SetPos(Rect{0, 0, m_szClient.cx, m_szClient.cy}, false);
        m_bUpdateNeeded = false;
    }
    Invalidate();
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, "windowinit");
    }
    return true;
}

void CPaintManagerUI::Invalidate() { Invalidate(Rect{0, 0, m_szClient.cx, m_szClient.cy}); }

void CPaintManagerUI::Invalidate(const Rect& rc) {
    ++m_nInvalidates;
    if (m_invalidateHandler) m_invalidateHandler(rc);
}

void CPaintManagerUI::SetInvalidateHandler(std::function<void(const Rect&)> handler) {
    m_invalidateHandler = std::move(handler);
}

void CPaintManagerUI::InvalidateOverlay(const Rect& rc) {
    if (!m_overlayInvalidateHandler) {
        Invalidate(rc);
        return;
    }
    ++m_nInvalidates;
    m_overlayInvalidateHandler(rc);
}

void CPaintManagerUI::SetOverlayInvalidateHandler(std::function<void(const Rect&)> handler) {
    m_overlayInvalidateHandler = std::move(handler);
}

void CPaintManagerUI::Paint(IRenderTarget& target) {
    Paint(target, Rect{0, 0, m_szClient.cx, m_szClient.cy});
}

void CPaintManagerUI::Paint(IRenderTarget& target, const Rect& area) {
    if (m_pRoot == nullptr) return;
    EnsureLayout();
    const Rect clip = area.Intersect(Rect{0, 0, m_szClient.cx, m_szClient.cy});
    if (clip.IsEmpty()) return;
    target.PushClip(clip);
    m_pRoot->DoPaint(target, clip);
    target.PopClip();
}

// ---- DPI

void CPaintManagerUI::SetDPI(int dpi) {
    if (dpi <= 0 || dpi == m_iDPI) return;
    int old = m_iDPI;
    m_iDPI = dpi;
    NeedUpdate();
    Invalidate();
    if (m_dpiHook) m_dpiHook(old, dpi);
}

void CPaintManagerUI::SetAllDPI(int dpi) {
    std::vector<CPaintManagerUI*> managers = Managers();
    for (CPaintManagerUI* manager : managers) manager->SetDPI(dpi);
}

int CPaintManagerUI::ScaleValue(int value) const {
    if (m_iDPI == 96) return value;
    long long scaled = static_cast<long long>(value) * m_iDPI;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

Rect CPaintManagerUI::ScaleRect(const Rect& rc) const {
    return Rect{ScaleValue(rc.left), ScaleValue(rc.top), ScaleValue(rc.right),
                ScaleValue(rc.bottom)};
}

Size CPaintManagerUI::ScaleSize(Size size) const {
    return Size{ScaleValue(size.cx), ScaleValue(size.cy)};
}

void CPaintManagerUI::SetDpiChangedHook(std::function<void(int, int)> hook) {
    m_dpiHook = std::move(hook);
}

// ---- fonts

void CPaintManagerUI::AddFont(int id, std::string_view face, int size, bool bold, bool underline,
                              bool italic, bool shared) {
    TFontInfo font{std::string(face), size, bold, underline, italic, shared};
    if (shared) Shared().fonts[id] = font;
    else m_mFonts[id] = font;
    Invalidate();
}

void CPaintManagerUI::SetDefaultFont(std::string_view face, int size, bool bold, bool underline,
                                     bool italic, bool shared) {
    TFontInfo font{std::string(face), size, bold, underline, italic, shared};
    if (shared) {
        Shared().defaultFont = font;
        Shared().hasDefaultFont = true;
    } else {
        m_defaultFont = font;
        m_bOwnDefaultFont = true;
    }
}

const TFontInfo& CPaintManagerUI::GetFont(int id) const {
    auto own = m_mFonts.find(id);
    if (own != m_mFonts.end()) return own->second;
    auto shared = Shared().fonts.find(id);
    if (shared != Shared().fonts.end()) return shared->second;
    if (m_bOwnDefaultFont) return m_defaultFont;
    if (Shared().hasDefaultFont) return Shared().defaultFont;
    return FallbackFont();
}

bool CPaintManagerUI::HasFont(int id) const {
    return m_mFonts.count(id) != 0 || Shared().fonts.count(id) != 0;
}

void CPaintManagerUI::RemoveAllFonts() {
    m_mFonts.clear();
    m_bOwnDefaultFont = false;
    Shared().fonts.clear();
    Shared().hasDefaultFont = false;
    Invalidate();
}

// ---- styles, default attributes, option groups

void CPaintManagerUI::AddStyle(std::string_view name, std::string_view attributes, bool shared) {
    if (shared) Shared().styles[std::string(name)] = std::string(attributes);
    else m_mStyles[std::string(name)] = std::string(attributes);
}

const std::string* CPaintManagerUI::GetStyle(std::string_view name) const {
    auto own = m_mStyles.find(std::string(name));
    if (own != m_mStyles.end()) return &own->second;
    auto shared = Shared().styles.find(std::string(name));
    if (shared != Shared().styles.end()) return &shared->second;
    return nullptr;
}

void CPaintManagerUI::AddDefaultAttributeList(std::string_view className,
                                              std::string_view attributes, bool shared) {
    if (shared) Shared().defaultAttrs[std::string(className)] = std::string(attributes);
    else m_mDefaultAttrs[std::string(className)] = std::string(attributes);
}

const std::string* CPaintManagerUI::GetDefaultAttributeList(std::string_view className) const {
    auto own = m_mDefaultAttrs.find(std::string(className));
    if (own != m_mDefaultAttrs.end()) return &own->second;
    auto shared = Shared().defaultAttrs.find(std::string(className));
    if (shared != Shared().defaultAttrs.end()) return &shared->second;
    return nullptr;
}

void CPaintManagerUI::AddOptionGroup(std::string_view group, CControlUI* control) {
    auto& members = m_mOptionGroups[std::string(group)];
    if (std::find(members.begin(), members.end(), control) == members.end())
        members.push_back(control);
}

void CPaintManagerUI::RemoveOptionGroup(std::string_view group, CControlUI* control) {
    auto it = m_mOptionGroups.find(std::string(group));
    if (it == m_mOptionGroups.end()) return;
    auto& members = it->second;
    members.erase(std::remove(members.begin(), members.end(), control), members.end());
    if (members.empty()) m_mOptionGroups.erase(it);
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(std::string_view group) const {
    auto it = m_mOptionGroups.find(std::string(group));
    return it == m_mOptionGroups.end() ? nullptr : &it->second;
}

const std::vector<CPaintManagerUI*>& CPaintManagerUI::GetManagers() { return Managers(); }

void CPaintManagerUI::RemoveAllShared() {
    Shared() = SharedResources{};
}

}  // namespace ui
