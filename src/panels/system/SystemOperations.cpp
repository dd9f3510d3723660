// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/system/SystemOperations.h"

#include <algorithm>

#include "app/OperationIds.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/SystemStages.h"

namespace panels {

namespace {

// An option number outside the group counts as its first option.
int InGroup(long n) {
    return n >= 0 && n < model::KeyboardSystemControls::kChoices ? static_cast<int>(n) : 0;
}

}  // namespace

void SystemOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    operations.Register(op::kSystemPollingRate,
                        [this](const app::RouteCall& call) { PollingRate(call.n); });
    operations.Register(op::kSystemRepeatDelay,
                        [this](const app::RouteCall& call) { RepeatDelay(call.n); });
    operations.Register(op::kSystemRepeatRate, [this](const app::RouteCall&) { RepeatRate(); });
    operations.Register(op::kSystemWinLock, [this](const app::RouteCall&) { WinLock(); });
    operations.Register(op::kSystemWFlag, [this](const app::RouteCall&) { WFlag(); });
    operations.Register(op::kSystemSixKeyFlag, [this](const app::RouteCall&) { SixKeyFlag(); });
    operations.Register(op::kSystemClearRepeatTest,
                        [this](const app::RouteCall&) { ClearRepeatTest(); });
}

void SystemOperations::Change(bool write, const Edit& edit) {
    auto* keyboard = model::CLumitrekKeyboardDevice::Of(shell_.CurrentDevice());
    if (keyboard == nullptr) return;
    model::SystemStages stages;
    stages.words = keyboard->GetSystemStages();
    edit(keyboard->SystemControls(), stages);
    keyboard->SetSystemStages(stages.words[0], stages.words[1], stages.words[2]);
    keyboard->SaveProfile();
    if (write) keyboard->WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
}

void SystemOperations::PollingRate(long n) {
    Change(true, [n](model::KeyboardSystemControls& controls, model::SystemStages& stages) {
        controls.SelectPollingRate(InGroup(n));
        stages.SetPollingRate(static_cast<uint16_t>(InGroup(n)));
    });
}

void SystemOperations::RepeatDelay(long n) {
    Change(false, [n](model::KeyboardSystemControls& controls, model::SystemStages& stages) {
        controls.SelectRepeatDelay(InGroup(n));
        stages.SetRepeatDelay(static_cast<uint16_t>(InGroup(n)));
    });
}

void SystemOperations::RepeatRate() {
    Change(false, [](model::KeyboardSystemControls& controls, model::SystemStages& stages) {
        stages.SetRepeat(static_cast<uint16_t>(std::clamp(controls.GetRepeatRate(), 0, 0xFFFF)));
    });
}

void SystemOperations::WinLock() {
    Change(true, [](model::KeyboardSystemControls& controls, model::SystemStages& stages) {
        stages.SetWinFlag(controls.GetWinLock() ? 1 : 0);
    });
}

void SystemOperations::WFlag() {
    Change(true, [](model::KeyboardSystemControls& controls, model::SystemStages& stages) {
        stages.SetWFlag(controls.GetWFlag() ? 1 : 0);
    });
}

void SystemOperations::SixKeyFlag() {
    Change(true, [](model::KeyboardSystemControls& controls, model::SystemStages& stages) {
        stages.SetKey6Flag(controls.GetSixKeyFlag() ? 1 : 0);
    });
}

void SystemOperations::ClearRepeatTest() {
    if (auto* keyboard = model::CLumitrekKeyboardDevice::Of(shell_.CurrentDevice()))
        keyboard->SystemControls().ClearTryOut();
}

}  // namespace panels
