// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CHeadlessDriver.h"

#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/TEventUI.h"

namespace ui {

namespace {

bool Send(CPaintManagerUI& manager, TInputEvent::Kind kind, Point pt, int button = 0) {
    TInputEvent input;
    input.kind = kind;
    input.pt = pt;
    input.button = button;
    return manager.HandleInput(input);
}

}  // namespace

CHeadlessDriver::CHeadlessDriver(std::int64_t startMs)
    : m_clock(std::make_shared<ManualClock>(startMs)), m_loop(m_clock) {}

Point CHeadlessDriver::CentreOf(const CControlUI* control) {
    if (control == nullptr) return Point{-1, -1};
    if (control->GetManager() != nullptr) control->GetManager()->EnsureLayout();
    const Rect& rc = control->GetPos();
    return Point{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool CHeadlessDriver::Click(CPaintManagerUI& manager, Point pt) {
    Send(manager, TInputEvent::Kind::MouseMove, pt);
    bool taken = Send(manager, TInputEvent::Kind::MouseDown, pt);
    Send(manager, TInputEvent::Kind::MouseUp, pt);
    RunPending();
    return taken;
}

bool CHeadlessDriver::Click(CControlUI* control) {
    if (control == nullptr || control->GetManager() == nullptr || !control->IsVisible()) return false;
    return Click(*control->GetManager(), CentreOf(control));
}

bool CHeadlessDriver::DoubleClick(CControlUI* control) {
    if (control == nullptr || control->GetManager() == nullptr || !control->IsVisible()) return false;
    CPaintManagerUI& manager = *control->GetManager();
    Point pt = CentreOf(control);
    Send(manager, TInputEvent::Kind::MouseMove, pt);
    Send(manager, TInputEvent::Kind::MouseDown, pt);
    Send(manager, TInputEvent::Kind::MouseUp, pt);
    bool taken = Send(manager, TInputEvent::Kind::DoubleClick, pt);
    Send(manager, TInputEvent::Kind::MouseUp, pt);
    RunPending();
    return taken;
}

bool CHeadlessDriver::RightClick(CControlUI* control) {
    if (control == nullptr || control->GetManager() == nullptr || !control->IsVisible()) return false;
    CPaintManagerUI& manager = *control->GetManager();
    Point pt = CentreOf(control);
    Send(manager, TInputEvent::Kind::MouseMove, pt);
    bool taken = Send(manager, TInputEvent::Kind::MouseDown, pt, 1);
    Send(manager, TInputEvent::Kind::MouseUp, pt, 1);
    Send(manager, TInputEvent::Kind::ContextMenu, pt);
    RunPending();
    return taken;
}

void CHeadlessDriver::MoveTo(CPaintManagerUI& manager, Point pt) {
    Send(manager, TInputEvent::Kind::MouseMove, pt);
    RunPending();
}

void CHeadlessDriver::Hover(CControlUI* control) {
    if (control == nullptr || control->GetManager() == nullptr) return;
    MoveTo(*control->GetManager(), CentreOf(control));
}

void CHeadlessDriver::Drag(CPaintManagerUI& manager, Point from, Point to, int steps) {
    if (steps < 1) steps = 1;
    Send(manager, TInputEvent::Kind::MouseMove, from);
    Send(manager, TInputEvent::Kind::MouseDown, from);
    for (int i = 1; i <= steps; ++i) {
        Point pt{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        Send(manager, TInputEvent::Kind::MouseMove, pt);
    }
    Send(manager, TInputEvent::Kind::MouseUp, to);
    RunPending();
}

void CHeadlessDriver::Type(CPaintManagerUI& manager, std::string_view text) {
    TInputEvent input;
    input.kind = TInputEvent::Kind::Char;
    input.text = std::string(text);
    manager.HandleInput(input);
    RunPending();
}

void CHeadlessDriver::Key(CPaintManagerUI& manager, int virtualKey) {
    TInputEvent input;
    input.kind = TInputEvent::Kind::KeyDown;
    input.key = virtualKey;
    manager.HandleInput(input);
    input.kind = TInputEvent::Kind::KeyUp;
    manager.HandleInput(input);
    RunPending();
}

void CHeadlessDriver::Wheel(CPaintManagerUI& manager, Point pt, int delta) {
    TInputEvent input;
    input.kind = TInputEvent::Kind::Wheel;
    input.pt = pt;
    input.delta = delta;
    manager.HandleInput(input);
    RunPending();
}

}  // namespace ui
