// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HookMessages.h"

#include <array>

namespace app {

namespace {

namespace op = ops;

struct Row {
    unsigned message;
    int mode;
    bool mouse;
    HookRoute route;
};

constexpr std::array<Row, 9> kRows = {{
    {kHookKeySingleKey, kHookModeKeyCapture, false,
     {op::kKeyCaptureKey, 0, "WM_HOOK_KEY_SINGLEKEY_MSG"}},
    {kHookKeyMacro, kHookModeAppend, false,
     {op::kRecorderKey, op::kRecordAppend, "WM_HOOK_KEY_KBMACRO_MSG"}},
    {kHookKeyMacroPrevious, kHookModeBefore, false,
     {op::kRecorderKey, op::kRecordBefore, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG"}},
    {kHookKeyMacroLater, kHookModeAfter, false,
     {op::kRecorderKey, op::kRecordAfter, "WM_HOOK_KEY_KBMACROLATER_MSG"}},
    {kHookKeyMacroSingle, kHookModeReplace, false,
     {op::kRecorderKey, op::kRecordReplace, "WM_HOOK_KEY_KBMACROSINGLE_MSG"}},
    {kHookMouseMacro, kHookModeAppend, true,
     {op::kRecorderMouse, op::kRecordAppend, "WM_HOOK_KEY_MSMACRO_MSG"}},
    {kHookMouseMacroPrevious, kHookModeBefore, true,
     {op::kRecorderMouse, op::kRecordBefore, "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"}},
    {kHookMouseMacroLater, kHookModeAfter, true,
     {op::kRecorderMouse, op::kRecordAfter, "WM_HOOK_KEY_MSMACROLATER_MSG"}},
    {kHookMouseMacroSingle, kHookModeReplace, true,
     {op::kRecorderMouse, op::kRecordReplace, "WM_HOOK_KEY_MSMACROSINGLE_MSG"}},
}};

std::optional<unsigned> MessageOf(int mode, bool mouse) {
    for (const Row& row : kRows)
        if (row.mode == mode && row.mouse == mouse) return row.message;
    return std::nullopt;
}

}  // namespace

std::optional<unsigned> KeyMessageOf(int mode) { return MessageOf(mode, false); }
std::optional<unsigned> MouseMessageOf(int mode) { return MessageOf(mode, true); }

std::optional<HookRoute> RouteOfHookMessage(unsigned message) {
    for (const Row& row : kRows)
        if (row.message == message) return row.route;
    return std::nullopt;
}

}  // namespace app
