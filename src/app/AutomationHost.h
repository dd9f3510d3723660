// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the headless automation drives: the running program seen from outside. The
// application implements it over its main window, its message loop and, under
// --simulate, the simulated devices on the virtual bus.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/UIDefs.h"

namespace device {
class VirtualBus;
}
namespace model {
class CLumitrekUSBDevice;
}
namespace sim {
class SimDevice;
}
namespace ui {
class CControlUI;
class CMessageLoop;
class CPaintManagerUI;
struct TInputEvent;
}  // namespace ui

namespace app {

class AutomationHost {
public:
    struct WindowState {
        bool visible = false;
        bool minimized = false;
        bool topMost = false;
        int dpi = 96;
        bool trayShown = true;  // a tray host shows the program's icon
        ui::Rect rect;
        std::string_view title;
    };

    virtual ~AutomationHost() = default;
    // The UI thread's loop; the automation runs every command on it.
    virtual ui::CMessageLoop& Loop() = 0;
    // A control by name: the topmost modal window first, then open pop-ups (newest
    // first), then the main window. The manager of the window it was found in is stored
    // in `manager` when given.
    virtual ui::CControlUI* FindControl(std::string_view name,
                                        ui::CPaintManagerUI** manager = nullptr) = 0;
    // The user is about to act in the window of `manager`: a pop-up elsewhere (the skin
    // chooser) loses the focus, as a click outside it takes it away.
    virtual void FocusMovesTo(ui::CPaintManagerUI* /*manager*/) {}
    // A menu item chosen as the user would (a menu command to the main window).
    // False when the main window is gone.
    virtual bool ChooseMenuItem(std::string_view item) = 0;
    // The simulated device "keyboard" or "pad" (null without --simulate for it) and the
    // bus it plugs into (null without --simulate).
    virtual sim::SimDevice* SimulatedDevice(std::string_view which) = 0;
    virtual device::VirtualBus* Bus() = 0;
    // Puts `device` in the place of the simulated device `which` and plugs it in (the one
    // before is pulled out first). False when the run has no such place, or when the
    // tables could not claim the new device (a mouse or headset of other identifiers).
    virtual bool ReplaceSimulatedDevice(std::string_view /*which*/,
                                        std::shared_ptr<sim::SimDevice> /*device*/) {
        return false;
    }
    // The device object "keyboard", "pad" or "current" (the selected tab's), or null.
    virtual model::CLumitrekUSBDevice* DeviceObject(std::string_view /*which*/) { return nullptr; }
    // Ends the program as the tray's "exit" does.
    virtual void Quit() = 0;
    // The main window as the desktop would show it; nothing once it is gone.
    virtual std::optional<WindowState> MainWindowState() { return std::nullopt; }
    // A window message handled by the main window now (as another process or the system
    // would send it); nothing when there is no main window.
    virtual std::optional<std::intptr_t> SendToMainWindow(unsigned /*msg*/, std::uintptr_t /*wParam*/,
                                                          std::intptr_t /*lParam*/) {
        return std::nullopt;
    }
    // Whether the desktop shows tray icons, as the automation makes it out to be; false
    // when there is no main window.
    virtual bool SetTrayShown(bool /*shown*/) { return false; }
    // A background duty held (or dropped) under `name`, as a door's work holds one; false
    // when there is no main window.
    virtual bool SetBackgroundDuty(const std::string& /*name*/, bool /*active*/) { return false; }
    // The main window as it is now, drawn at `dpi` into a PNG file; false when it could
    // not be drawn or written (or nothing here can draw).
    virtual bool SaveScreenshot(const std::string& /*pngPath*/, int /*dpi*/) { return false; }
    // Input to the main window as the desktop delivers it (keys, mouse buttons); false when
    // there is no main window.
    virtual bool SendInput(const ui::TInputEvent& /*input*/) { return false; }
};

}  // namespace app
