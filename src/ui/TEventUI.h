// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Events that the paint manager hands to a control's DoEvent. Input reaches the manager
// through CPaintManagerUI::HandleInput (TInputEvent) and is turned into these.
#include <cstdint>
#include <string>

#include "ui/UIDefs.h"

namespace ui {

class CControlUI;

enum class EventType {
    MouseMove,
    MouseLeave,  // the pointer left the control
    MouseEnter,  // the pointer entered the control
    MouseHover,
    ButtonDown,  // left button
    ButtonUp,
    RButtonDown,
    RButtonUp,
    DblClick,
    ContextMenu,
    ScrollWheel,  // wParam: +1 up, -1 down
    KeyDown,      // chKey: virtual-key code
    KeyUp,
    Char,  // text: the typed characters (UTF-8)
    SetFocus,
    KillFocus,
    Timer,  // wParam: timer id
    SetCursor,
};

// Modifier bits of wKeyState.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;
constexpr unsigned MK_ALT = 0x0020;

struct TEventUI {
    EventType Type = EventType::MouseMove;
    CControlUI* pSender = nullptr;
    std::int64_t dwTimestamp = 0;
    Point ptMouse;
    int chKey = 0;
    unsigned wKeyState = 0;
    std::string text;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// What a renderer or a test feeds into CPaintManagerUI::HandleInput. Positions are in
// window client pixels (after DPI scaling, like the controls' rectangles).
struct TInputEvent {
    enum class Kind {
        MouseMove,
        MouseDown,    // button: 0 left, 1 right, 2 middle, 3 back, 4 forward (3 and 4 reach
                      // only the mouse hook)
        MouseUp,
        DoubleClick,  // arrives after the first down/up pair, instead of the second down
        MouseLeaveWindow,
        Wheel,        // delta: +1 per notch up, -1 per notch down
        KeyDown,      // key: vk:: code
        KeyUp,
        Char,         // text: UTF-8
        ContextMenu,  // at pt (keyboard menu key: pt = {-1,-1})
        WindowFocusIn,
        WindowFocusOut,
    };
    Kind kind = Kind::MouseMove;
    Point pt;
    int button = 0;
    int key = 0;
    int delta = 0;
    unsigned modifiers = 0;  // MK_ bits
    std::string text;
    // KeyDown, KeyUp: the key's Linux evdev code (0: not known), and whether a held key
    // repeats.
    int scanCode = 0;
    bool autoRepeat = false;
};

}  // namespace ui
