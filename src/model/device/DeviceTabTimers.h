// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the timers of a device's tab in the device list do to the device. The tab arms
// timer 1001 once its device's command channel has opened and hands every timer it
// receives to OnTimer, which kills the timer first, runs the device's work on the UI
// thread and arms the follow-up timers:
//
//   1001  once, 500 ms after the channel opened: OnConnected; then 1000 in 5 ms, and
//         1005 in 5000 ms when the device has a power parameter and is connected
//   1000  RefreshKeyPreview while the picture is on screen (the tab selected, its window
//         shown) and the device's redraw flag is set: the keys whose light changed repaint
//         themselves; again in 50 ms while connected and the picture is on screen (or the
//         device's LEDs are driven by the host), and while the light thread draws: a
//         thread resting on a still picture lets it lapse until it wakes (a setting
//         changed) and arms it again in 5 ms. A hidden picture lets it lapse too, and
//         tells the device, whose light thread then sleeps; OnPictureVisibilityChanged
//         restarts it (in 5 ms) when the picture comes back
//   1002  armed by the device's listener: OnSyncRequest
//   1003, 1004  the device's OnRequest3 and OnRequest4
//   1005  PollPowerStatus; again in 5000 ms while the power parameter is set and connected
#include <functional>

namespace model {

class CLumitrekUSBDevice;

class DeviceTabTimers {
public:
    static constexpr unsigned kStartDelayMs = 500;
    static constexpr unsigned kFirstRefreshMs = 5;
    static constexpr unsigned kRefreshMs = 50;
    static constexpr unsigned kPowerPollMs = 5000;

    // `tabSelected` tells whether the picture is on screen (the tab is the selected one
    // and its window is shown).
    DeviceTabTimers(CLumitrekUSBDevice& device, std::function<bool()> tabSelected);

    // The device's command channel has just opened.
    void OnCommandChannelOpened();
    // A timer of the tab fired. False for an id that is not one of the device's.
    bool OnTimer(unsigned id);
    // The window was shown, hidden, minimised or restored, or another tab was selected.
    void OnPictureVisibilityChanged();

private:
    bool PictureShown() const;

    CLumitrekUSBDevice& device_;
    std::function<bool()> tabSelected_;
    bool started_ = false;  // the start timer of this connection has run
};

}  // namespace model
