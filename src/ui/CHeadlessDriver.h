// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the library without a display, on a clock that only moves when told: tests and
// the headless mode create one, build windows and feed input through the same entry
// point the renderer uses (CPaintManagerUI::HandleInput).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/CMessageLoop.h"
#include "ui/ManualClock.h"
#include "ui/UIDefs.h"

namespace ui {

class CControlUI;
class CPaintManagerUI;

class CHeadlessDriver {
public:
    explicit CHeadlessDriver(std::int64_t startMs = 0);  // the calling thread's loop from now on

    CMessageLoop& Loop() { return m_loop; }
    ManualClock& Clock() { return *m_clock; }
    std::int64_t Now() const { return m_clock->NowMs(); }

    int RunPending() { return m_loop.RunPending(); }
    // Lets `ms` milliseconds pass: every timer due on the way fires, in order.
    int Advance(std::int64_t ms) { return m_loop.AdvanceTime(ms); }
    // Runs `step` whenever a loop level idles (modal runs): answer dialogs from here.
    // It returns true when it did something.
    void OnIdle(std::function<bool()> step) { m_loop.SetIdleHook(std::move(step)); }

    // ---- input at a control's centre (nothing happens for a null or hidden control);
    // each lays the window out first and runs pending work afterwards.
    static Point CentreOf(const CControlUI* control);
    bool Click(CControlUI* control);
    bool Click(CPaintManagerUI& manager, Point pt);
    bool DoubleClick(CControlUI* control);
    bool RightClick(CControlUI* control);  // down, up, context menu
    void MoveTo(CPaintManagerUI& manager, Point pt);
    void Hover(CControlUI* control);
    // Press at `from`, move in `steps` steps, release at `to`.
    void Drag(CPaintManagerUI& manager, Point from, Point to, int steps = 4);
    void Type(CPaintManagerUI& manager, std::string_view text);  // to the focused control
    void Key(CPaintManagerUI& manager, int virtualKey);          // key down and up
    void Wheel(CPaintManagerUI& manager, Point pt, int delta);

private:
    std::shared_ptr<ManualClock> m_clock;
    CMessageLoop m_loop;
};

}  // namespace ui
