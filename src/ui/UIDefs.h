// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain geometry, colour and constant types shared by every part of the skin library.
// Rectangles are half-open: a control at (0,0,10,10) covers pixels 0..9.
#include <algorithm>
#include <cstdint>

namespace ui {

using Color = std::uint32_t;  // ARGB; a colour whose alpha byte is 0 is never painted

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Rect&) const = default;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool Intersects(const Rect& o) const {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom &&
               o.top < bottom;
    }
    Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        if (r.IsEmpty()) return Rect{};
        return r;
    }
    // Shrinks by the four sides of `inset` (used for insets, paddings and text paddings).
    Rect Deflate(const Rect& inset) const {
        return Rect{left + inset.left, top + inset.top, right - inset.right, bottom - inset.bottom};
    }
    Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
    // The rectangle spanned by two corners, whichever way they were given.
    static Rect Spanning(Point a, Point b) {
        return Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }
};

// Handle of a window of the message loop. 0 is "no window"; handles are never reused,
// so a worker holding the handle of a window that has gone reaches nothing.
using WindowHandle = std::uint64_t;

// Text drawing and child alignment flags (the values are the classic DT_ ones, so that
// "align 4" in a layout or a call means vertically centred).
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// Button-like control states.
constexpr unsigned UISTATE_FOCUSED = 0x01;
constexpr unsigned UISTATE_SELECTED = 0x02;
constexpr unsigned UISTATE_DISABLED = 0x04;
constexpr unsigned UISTATE_HOT = 0x08;
constexpr unsigned UISTATE_PUSHED = 0x10;
constexpr unsigned UISTATE_READONLY = 0x20;
constexpr unsigned UISTATE_CAPTURED = 0x40;

// Window messages the library itself sends or understands; programs add their own
// from WM_USER up. The numbers are the familiar ones so that tables keyed by them read alike.
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;  // lParam = x | y << 16 (signed 16-bit each)
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_SETFOCUS = 0x0007;  // the window got the keyboard focus
constexpr unsigned WM_KILLFOCUS = 0x0008;  // the window lost it
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
constexpr unsigned WM_NCDESTROY = 0x0082;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_DPICHANGED = 0x02E0;
constexpr unsigned WM_USER = 0x0400;
// Menu item chosen; wParam points at a MenuCmd that lives until the handler returns.
constexpr unsigned WM_MENUCLICK = WM_USER + 121;  // 0x479

constexpr unsigned SC_MINIMIZE = 0xF020;
constexpr unsigned SC_MAXIMIZE = 0xF030;
constexpr unsigned SC_CLOSE = 0xF060;
constexpr unsigned SC_RESTORE = 0xF120;

// Key codes carried by key events (virtual-key numbering).
namespace vk {
constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Prior = 0x21;
constexpr int Next = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Delete = 0x2E;
}  // namespace vk

}  // namespace ui
