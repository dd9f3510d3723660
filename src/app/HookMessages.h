// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The messages the input hook sends the main window, one per hook mode and kind of input,
// and the handler each one goes to. Key messages carry a ui::KeyHookRecord, mouse messages
// a ui::MouseHookRecord (lParam), with the Windows key or mouse message as wParam.
#include <optional>
#include <string_view>

#include "app/OperationIds.h"

namespace app {

enum HookMessage : unsigned {
    kHookKeySingleKey = 0xC200,  // "WM_HOOK_KEY_SINGLEKEY_MSG", mode 1: key capture
    kHookKeyHitKey,              // "WM_HOOK_KEY_HITKEY_MSG", mode 2: not handled
    kHookKeyMacro,               // "WM_HOOK_KEY_KBMACRO_MSG", mode 4: append
    kHookKeyMacroPrevious,       // "WM_HOOK_KEY_KBMACROPREVIOUS_MSG", mode 8: before
    kHookKeyMacroLater,          // "WM_HOOK_KEY_KBMACROLATER_MSG", mode 16: after
    kHookKeyMacroSingle,         // "WM_HOOK_KEY_KBMACROSINGLE_MSG", mode 32: replace
    kHookMouseMacro,             // "WM_HOOK_KEY_MSMACRO_MSG", mode 4
    kHookMouseMacroPrevious,     // "WM_HOOK_KEY_MSMACROPREVIOUS_MSG", mode 8
    kHookMouseMacroLater,        // "WM_HOOK_KEY_MSMACROLATER_MSG", mode 16
    kHookMouseMacroSingle,       // "WM_HOOK_KEY_MSMACROSINGLE_MSG", mode 32
};

// Hook modes.
inline constexpr int kHookModeKeyCapture = 1;
inline constexpr int kHookModeAppend = 4;
inline constexpr int kHookModeBefore = 8;
inline constexpr int kHookModeAfter = 16;
inline constexpr int kHookModeReplace = 32;

// The message a key or a mouse button is reported with in `mode` (none: not reported).
std::optional<unsigned> KeyMessageOf(int mode);
std::optional<unsigned> MouseMessageOf(int mode);

// The handler of a hook message and its argument (the recording variant, see
// ops::kRecordAppend ...); nothing for other messages.
struct HookRoute {
    ops::Id operation;
    int arg = 0;
    std::string_view name;  // the message's registered name, for the trace
};
std::optional<HookRoute> RouteOfHookMessage(unsigned message);

}  // namespace app
