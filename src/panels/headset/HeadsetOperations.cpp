// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/headset/HeadsetOperations.h"

#include <functional>

#include "app/OperationIds.h"
#include "model/device/CLumitrekZO6533Device.h"

namespace panels {

void HeadsetOperations::Register(app::ShellOperations& operations) {
    namespace op = app::ops;
    using Headset = model::CLumitrekZO6533Device;
    // Each handler runs `act` on the current headset, if the current device is one.
    auto on = [this](std::function<void(Headset&, long)> act) {
        return [this, act = std::move(act)](const app::RouteCall& call) {
            if (Headset* headset = Headset::Of(shell_.CurrentDevice())) act(*headset, call.n);
        };
    };
    operations.Register(op::kHeadsetMicInLevel, on([](Headset& h, long) { h.SetMicLevel(); }));
    operations.Register(op::kHeadsetMicInEnable, on([](Headset& h, long) { h.ToggleMicMute(); }));
    operations.Register(op::kHeadsetMicMonitorLevel,
                        on([](Headset& h, long) { h.SetMonitorLevel(); }));
    operations.Register(op::kHeadsetMicMonitorEnable,
                        on([](Headset& h, long) { h.ToggleMonitorMute(); }));
    operations.Register(op::kHeadsetEqOption,
                        on([](Headset& h, long n) { h.SelectEqPreset(static_cast<int>(n)); }));
    operations.Register(op::kHeadsetEqBand,
                        on([](Headset& h, long n) { h.SetEqBand(static_cast<int>(n)); }));
    operations.Register(op::kHeadsetEqPresetPicked,
                        on([](Headset& h, long) { h.SelectUserEqPreset(); }));
    operations.Register(op::kHeadsetEqSave, [this](const app::RouteCall&) { SaveUserPreset(); });
    operations.Register(op::kHeadsetEqDelete, on([](Headset& h, long) { h.DeleteUserEqPreset(); }));
    operations.Register(op::kHeadsetMagicEnable,
                        on([](Headset& h, long) { h.ToggleVoiceChanger(); }));
    operations.Register(op::kHeadsetVirtualSurround,
                        on([](Headset& h, long) { h.ToggleVirtualSurround(); }));
    operations.Register(op::kHeadsetMagicOption,
                        on([](Headset& h, long n) { h.SelectVoice(static_cast<int>(n)); }));
}

int HeadsetOperations::SaveUserPreset() {
    auto* headset = model::CLumitrekZO6533Device::Of(shell_.CurrentDevice());
    if (headset == nullptr) return -1;
    const int result = headset->SaveUserEqPreset();
    if (result == 0) shell_.ShowKeyedMessage("message_text_5", 0);
    return result;
}

}  // namespace panels
