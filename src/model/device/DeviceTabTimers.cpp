// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/device/DeviceTabTimers.h"

#include "model/device/CLumitrekUSBDevice.h"
#include "ui/CPaintManagerUI.h"

namespace model {

DeviceTabTimers::DeviceTabTimers(CLumitrekUSBDevice& device, std::function<bool()> tabSelected)
    : device_(device), tabSelected_(std::move(tabSelected)) {}

void DeviceTabTimers::OnCommandChannelOpened() {
    started_ = false;
    if (device_.IsConnected()) device_.ArmTabTimer(CLumitrekUSBDevice::kTimerStart, kStartDelayMs);
}

bool DeviceTabTimers::PictureShown() const { return tabSelected_ && tabSelected_(); }

void DeviceTabTimers::OnPictureVisibilityChanged() {
    const bool shown = PictureShown();
    device_.SetPictureOnScreen(shown);
    // Before the device's start timer has run, that timer starts the refresh itself.
    if (started_ && shown && device_.IsConnected())
        device_.ArmTabTimer(CLumitrekUSBDevice::kTimerRefresh, kFirstRefreshMs);
}

bool DeviceTabTimers::OnTimer(unsigned id) {
    if (id < CLumitrekUSBDevice::kTimerRefresh || id > CLumitrekUSBDevice::kTimerPower)
        return false;
    ui::CControlUI* tab = device_.GetDeviceTab();
    ui::CPaintManagerUI* manager = tab ? tab->GetManager() : nullptr;
    if (manager) manager->KillTimer(tab, id);

    const bool powerPoll = device_.GetPowerParameter() != 0;
    switch (id) {
        case CLumitrekUSBDevice::kTimerStart:
            started_ = true;
            device_.OnConnected();
            device_.ArmTabTimer(CLumitrekUSBDevice::kTimerRefresh, kFirstRefreshMs);
            if (powerPoll && device_.IsConnected())
                device_.ArmTabTimer(CLumitrekUSBDevice::kTimerPower, kPowerPollMs);
            return true;
        case CLumitrekUSBDevice::kTimerRefresh: {
            // Only a picture on screen is worth colouring; each key repaints itself when
            // its light changed, so a still picture costs nothing to keep. A hidden one
            // lets the timer lapse until OnPictureVisibilityChanged brings it back.
            const bool shown = PictureShown();
            device_.SetPictureOnScreen(shown);
            // Read before the refresh: a resting thread's colours are final, so this
            // refresh shows them and the timer may lapse until the thread wakes.
            const bool resting = device_.LightingAtRest();
            if (shown && device_.GetRedrawFlag()) device_.RefreshKeyPreview();
            if (device_.IsConnected() && ((shown && !resting) || device_.HostDrivesLeds()))
                device_.ArmTabTimer(CLumitrekUSBDevice::kTimerRefresh, kRefreshMs);
            return true;
        }
        case CLumitrekUSBDevice::kTimerSync:
            device_.OnSyncRequest();
            return true;
        case CLumitrekUSBDevice::kTimerRequest3:
            device_.OnRequest3();
            return true;
        case CLumitrekUSBDevice::kTimerRequest4:
            device_.OnRequest4();
            return true;
        case CLumitrekUSBDevice::kTimerPower:
            device_.PollPowerStatus();
            if (powerPoll && device_.IsConnected())
                device_.ArmTabTimer(CLumitrekUSBDevice::kTimerPower, kPowerPollMs);
            return true;
        default:
            return false;
    }
}

}  // namespace model
