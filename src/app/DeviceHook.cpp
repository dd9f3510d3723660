// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceHook.h"

#include "app/HookMessages.h"
#include "data/macro/InputTables.h"
#include "platform/Trace.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CWindowWnd.h"
#include "ui/HookRecords.h"
#include "ui/TEventUI.h"

namespace app {

namespace {

// Virtual keys of Caps Lock, Num Lock, Scroll Lock.
bool KeepsItsEffect(unsigned virtualKey) {
    return virtualKey == 0x14 || virtualKey == 0x90 || virtualKey == 0x91;
}

// Mouse messages of a button (0 left, 1 right, 2 middle, 3 back, 4 forward).
struct ButtonMessages {
    unsigned press;
    unsigned release;
    unsigned extra;  // the high word of mouseData
};
constexpr ButtonMessages kButtons[] = {
    {513, 514, 0}, {516, 517, 0}, {519, 520, 0}, {523, 524, 1}, {523, 524, 2}};

}  // namespace

DeviceHook::DeviceHook(ui::CPaintManagerUI& manager, ui::WindowHandle window)
    : manager_(manager), window_(window) {}

DeviceHook::~DeviceHook() { Stop(); }

int DeviceHook::Start(int mode, bool keyboard, bool mouse) {
    Stop();
    mode_ = mode;
    if (keyboard)
        manager_.SetKeyHook([this](const ui::TInputEvent& input) { return OnKey(input); });
    if (mouse) manager_.SetMouseHook([this](const ui::TInputEvent& input) { OnMouse(input); });
    return 1;
}

void DeviceHook::Stop() {
    manager_.SetKeyHook({});
    manager_.SetMouseHook({});
    mode_ = 0;
}

bool DeviceHook::OnKey(const ui::TInputEvent& input) {
    ui::KeyHookRecord record;
    const int row = input::KeyRowOfEvdev(input.scanCode);
    if (row >= 0) {
        const input::KeyRow& key = input::KeyRows()[row];
        record.virtualKey = key.virtualKey;
        record.scanCode = key.scanCode;
        record.flags = key.extended ? 1u : 0u;
    }
    if (const auto message = KeyMessageOf(mode_)) {
        const unsigned keyMessage = input.kind == ui::TInputEvent::Kind::KeyDown
                                        ? ui::kKeyDownMessage
                                        : ui::kKeyUpMessage;
        ui::CMessageLoop::SendMessage(window_, *message, keyMessage,
                                      reinterpret_cast<std::intptr_t>(&record));
    }
    // Taken from every control, so that typing does not also type into the window.
    return !KeepsItsEffect(record.virtualKey);
}

void DeviceHook::OnMouse(const ui::TInputEvent& input) {
    if (input.button < 0 || input.button > 4) return;
    const auto message = MouseMessageOf(mode_);
    if (!message) return;
    const ButtonMessages& button = kButtons[input.button];
    ui::MouseHookRecord record;
    ui::Rect window{};
    if (ui::CWindowWnd* owner = ui::CWindowWnd::FromHandle(window_)) window = owner->GetWindowRect();
    record.x = window.left + input.pt.x;
    record.y = window.top + input.pt.y;
    record.mouseData = button.extra << 16;
    const unsigned mouseMessage =
        input.kind == ui::TInputEvent::Kind::MouseUp ? button.release : button.press;
    if (*message == kHookMouseMacro) platform::Trace("WM_HOOK_KEY_MSMACRO\n");
    ui::CMessageLoop::SendMessage(window_, *message, mouseMessage,
                                  reinterpret_cast<std::intptr_t>(&record));
}

}  // namespace app
