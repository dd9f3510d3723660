#include "panels/system/SystemOperations.h"

#include "app/OperationIds.h"
#include "model/device/CLumitrekKeyboardDevice.h"
#include "model/device/SystemStages.h"

namespace panels {

namespace {

// An option number outside the group counts as its first option.
int InGroup(long n) {
    return n >= 0 && n < SystemOperations::kChoices ? static_cast<int>(n) : 0;
}

model::SystemStages StagesOf(const model::CLumitrekKeyboardDevice& keyboard) {
    model::SystemStages stages;
    stages.words = keyboard.GetSystemStages();
    return stages;
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

model::CLumitrekKeyboardDevice* SystemOperations::Keyboard() {
    model::CLumitrekUSBDevice* device = shell_.CurrentDevice();
    return device != nullptr ? static_cast<model::CLumitrekKeyboardDevice*>(
                                   device->GetInterface("LumitrekKeyboardDevice"))
                             : nullptr;
}

void SystemOperations::Store(model::CLumitrekKeyboardDevice& keyboard,
                             const model::SystemStages& stages, bool write) {
    keyboard.SetSystemStages(stages.words[0], stages.words[1], stages.words[2]);
    keyboard.SaveProfile();
    if (write) keyboard.WriteSettings(0, 0, model::CLumitrekUSBDevice::WriteDone{});
}

void SystemOperations::PollingRate(long n) {
    model::CLumitrekKeyboardDevice* keyboard = Keyboard();
    if (keyboard == nullptr) return;
    const int index = InGroup(n);
    keyboard->SystemControls().SelectPollingRate(index);
    model::SystemStages stages = StagesOf(*keyboard);
    stages.SetPollingRate(static_cast<uint16_t>(index));
    Store(*keyboard, stages, true);
}

void SystemOperations::RepeatDelay(long n) {
    model::CLumitrekKeyboardDevice* keyboard = Keyboard();
    if (keyboard == nullptr) return;
    const int index = InGroup(n);
    keyboard->SystemControls().SelectRepeatDelay(index);
    model::SystemStages stages = StagesOf(*keyboard);
    stages.SetRepeatDelay(static_cast<uint16_t>(index));
    Store(*keyboard, stages, false);
}

void SystemOperations::RepeatRate() {
    model::CLumitrekKeyboardDevice* keyboard = Keyboard();
    if (keyboard == nullptr) return;
    model::SystemStages stages = StagesOf(*keyboard);
    const int value = keyboard->SystemControls().GetRepeatRate();
    stages.SetRepeat(static_cast<uint16_t>(value < 0 ? 0 : value > 0xFFFF ? 0xFFFF : value));
    Store(*keyboard, stages, false);
}

void SystemOperations::WinLock() {
    model::CLumitrekKeyboardDevice* keyboard = Keyboard();
    if (keyboard == nullptr) return;
    model::SystemStages stages = StagesOf(*keyboard);
    stages.SetWinFlag(keyboard->SystemControls().GetWinLock() ? 1 : 0);
    Store(*keyboard, stages, true);
}

void SystemOperations::WFlag() {
    model::CLumitrekKeyboardDevice* keyboard = Keyboard();
    if (keyboard == nullptr) return;
    model::SystemStages stages = StagesOf(*keyboard);
    stages.SetWFlag(keyboard->SystemControls().GetWFlag() ? 1 : 0);
    Store(*keyboard, stages, true);
}

void SystemOperations::SixKeyFlag() {
    model::CLumitrekKeyboardDevice* keyboard = Keyboard();
    if (keyboard == nullptr) return;
    model::SystemStages stages = StagesOf(*keyboard);
    stages.SetKey6Flag(keyboard->SystemControls().GetSixKeyFlag() ? 1 : 0);
    Store(*keyboard, stages, true);
}

void SystemOperations::ClearRepeatTest() {
    if (model::CLumitrekKeyboardDevice* keyboard = Keyboard())
        keyboard->SystemControls().ClearTryOut();
}

}  // namespace panels
