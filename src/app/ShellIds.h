// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shell's names and numbers: the product name, the window messages the main window
// understands, and its timers. Messages of other processes arrive over the single-instance
// socket and are posted to the main window under fixed numbers of their own.
#include <string_view>

#include "platform/SingleInstance.h"
#include "ui/UIDefs.h"

namespace app {

// The window title, the tray tool-tip and the name of the single-instance files.
inline constexpr std::string_view kProductName = platform::SingleInstance::kProductName;

// ---- system messages the shell handles (numbers as the desktop library uses them)
inline constexpr unsigned kWmMouseHover = 0x02A1;
inline constexpr unsigned kWmMouseLeave = 0x02A3;
inline constexpr unsigned kWmPowerBroadcast = 0x0218;
inline constexpr unsigned kWmDisplayChange = 0x007E;
inline constexpr unsigned kPbtSuspend = 4;           // PBT_APMSUSPEND
inline constexpr unsigned kPbtResumeAutomatic = 18;  // PBT_APMRESUMEAUTOMATIC

// ---- the program's own messages
inline constexpr unsigned kMsgTrayIcon = ui::WM_USER + 1;     // 0x401, lParam = mouse message
inline constexpr unsigned kMsgKeyCapture = 0x41E;             // wParam 1 start, 0 stop
inline constexpr unsigned kMsgMenuCommand = ui::WM_MENUCLICK; // 0x479, wParam = MenuCmd*
inline constexpr unsigned kMsgDpiNotice = 0x4C8;
inline constexpr unsigned kMsgShowProgress = 0xC00;
inline constexpr unsigned kMsgApplyLanguage = 0xC11;  // wParam = language index
inline constexpr unsigned kMsgDeviceArrived = 0xC12;  // wParam = scanner slot
inline constexpr unsigned kMsgDeviceRemoved = 0xC13;  // wParam = scanner slot
inline constexpr unsigned kMsgOpenSettings = 0xC15;
inline constexpr unsigned kMsgClearUpdateMark = 0xC16;
// Posted after the window was shown, hidden, minimised or restored, once that took effect.
inline constexpr unsigned kMsgPicturesMoved = 0xC17;

// ---- messages of other processes (the local socket) and of the scanner's first pass
inline constexpr unsigned kActivateMessage = 0xC100;      // wParam 0, lParam 1 second copy / 0 scanner
inline constexpr unsigned kUpdateRelayMessage = 0xC101;
inline constexpr unsigned kLightControlMessage = 0xC103;  // wParam must be 1, lParam 0/1

// ---- main-window timers
inline constexpr unsigned kTimerRelayout = 1011;     // 100 ms after "windowinit"
inline constexpr unsigned kTimerTrayMenu = 1032;     // 10 ms after a right click on the tray icon
inline constexpr unsigned kTimerProfileSwitch = 1055;  // 400 ms after a profile pick

}  // namespace app
