// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/listener/InputListener.h"

#include <string>
#include <vector>

#include "platform/Trace.h"

namespace device {

InputListener::InputListener(ListenerOwner& owner, ListenerKind kind) : owner_(owner), kind_(kind) {}

InputListener::~InputListener() { Stop(); }

void InputListener::Start() {
    thread_.Start([this](platform::Event& stop) { Run(stop); });
}

platform::WorkerThread::StopResult InputListener::Stop(int waitMs) {
    if (!thread_.Running()) return platform::WorkerThread::StopResult::Error;
    // The stop event also ends the pending read: the loop passes it to ReadReport.
    auto result = thread_.Stop(waitMs);
    platform::Trace(platform::WorkerThread::ExitText(result));
    return result;
}

void InputListener::Run(platform::Event& stop) {
    std::vector<uint8_t> report;
    for (;;) {
        if (stop.Wait(1)) {
            platform::Trace("MS设备同步线程设定退出\n");
            return;
        }
        if (!owner_.EventChannelOpen()) continue;
        HidDevice& hid = owner_.EventDevice();
        const HidCollection* collection = hid.Collection();
        if (!collection) continue;
        report.assign(hid.Caps().inputReportByteLength, 0);
        size_t length = 0;
        if (report.empty() ||
            !hid.ReadReport(report.data(), report.size(), &length, HidDevice::kInfinite, &stop)) {
            continue;
        }
        auto& dataList = hid.DataList(HidReportType::Input);
        HidDevice::UnpackInputReport(dataList, report.data(), length, HidReportType::Input, *collection);
        uint16_t usage = 0;
        if (!dataList.empty() && dataList[0].isButton && !dataList[0].button.usages.empty()) {
            usage = dataList[0].button.usages[0];
        }
        lastUsage_ = usage;
        platform::Trace("接收到自动添加设备的同步信息要求  TEST\n");
        Act(usage);
    }
}

void InputListener::Act(uint16_t usage) {
    if (usage == kUsageSettingsChanged) {
        platform::Trace("接收到自动添加设备的同步信息要求\n");
        owner_.ArmSyncTimer(kind_ == ListenerKind::Keyboard ? 100 : 500);
        return;
    }
    if (kind_ != ListenerKind::Keyboard) return;
    if (usage == kUsageProfileChanged) {
        owner_.ArmSyncTimer(100);
    } else if (usage >= kUsageKeyPressedBase && usage <= kUsageKeyPressedBase + 0xFF) {
        owner_.OnKeyEvent(usage - kUsageKeyPressedBase, 1);
    } else if (usage >= kUsageKeyReleasedBase && usage <= kUsageKeyReleasedBase + 0xFF) {
        owner_.OnKeyEvent(usage - kUsageKeyReleasedBase, 2);
    }
}

}  // namespace device
