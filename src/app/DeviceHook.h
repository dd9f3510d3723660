// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input hook of key capture and macro recording. There are no global input hooks on
// Linux (and none on Wayland at all), and none are needed: capture and recording happen
// while the user works in the program's window. So the hook sits on the window's own
// input: while it runs, every key pressed or released in the window and (for recording)
// every mouse button is reported to the window as the hook message of the mode, carrying
// the key's set-1 scan code and extended flag or the button, and keys reach no control;
// the window holds the keyboard meanwhile (the desktop's shortcuts included, where the
// desktop allows it). Caps Lock, Num Lock and Scroll Lock keep their effect.
//
// UI thread only. One hook per window; Start replaces a running one.
#include "ui/UIDefs.h"

namespace ui {
class CPaintManagerUI;
struct TInputEvent;
}  // namespace ui

namespace app {

class DeviceHook {
public:
    DeviceHook(ui::CPaintManagerUI& manager, ui::WindowHandle window);
    ~DeviceHook();  // Stop()
    DeviceHook(const DeviceHook&) = delete;
    DeviceHook& operator=(const DeviceHook&) = delete;

    // 1 when the hook runs in `mode` (1 key capture; 4, 8, 16, 32 recording), with keys
    // when `keyboard` and mouse buttons when `mouse`.
    int Start(int mode, bool keyboard, bool mouse);
    void Stop();
    int Mode() const { return mode_; }

private:
    bool OnKey(const ui::TInputEvent& input);
    void OnMouse(const ui::TInputEvent& input);

    ui::CPaintManagerUI& manager_;
    ui::WindowHandle window_;
    int mode_ = 0;
};

}  // namespace app
