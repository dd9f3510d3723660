// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device list of the main window: one device object per device-type row, each with
// its page (in "device_switch"), its power indicator (in "device_power_switch") and its
// tab (in "device_select_layout"), created hidden at "windowinit". The scanner's arrival
// and removal messages open and close the devices' channels and show and hide their tabs;
// exactly one visible tab is selected at a time, and its device is the current device.
// The tabs carry the devices' timers, which this list hands on to the devices.
//
// Tab k, page k and power indicator k belong together. The controls belong to the
// window's layout; the list only points at them and must not outlive the layout.
//
// UI thread only.
#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "device/scanner/SlotList.h"
#include "device/scanner/SupportedDevices.h"
#include "model/device/CLumitrekUSBDevice.h"
#include "model/device/DeviceTabTimers.h"

namespace ui {
class CControlUI;
class CPaintManagerUI;
class IDialogBuilderCallback;
struct TNotifyUI;
}  // namespace ui

namespace app {

class CDeviceOptionUI;
class CMpDevicePowerUI;

class DeviceList {
public:
    // What the list asks of the rest of the window. Unset hooks do nothing (and a macro
    // recording is then never running).
    struct Hooks {
        // Closes the settings and about windows.
        std::function<void()> closeChildWindows;
        std::function<bool()> macroRecording;
        // Stops the key capture and the recording and enables the device list again.
        std::function<void()> stopMacroRecording;
        // Whether more than one tab is visible, for a device's lighting page (it offers
        // the same-mode button only then).
        std::function<void(model::CLumitrekUSBDevice&, bool several)> severalDevices;
        // A page tab was chosen: the current device's profile panel shows that page.
        std::function<void(model::CLumitrekUSBDevice&, int page)> selectProfilePage;
    };

    DeviceList(ui::CPaintManagerUI& manager, ui::IDialogBuilderCallback& creator,
               device::SlotList& slots);
    ~DeviceList();
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // Once, with the main layout in the window: a device object with page, power
    // indicator and hidden tab for every device-type row, in table order. A row whose
    // kind has no creator, whose slot or type row is missing or whose layouts do not
    // build gets nothing.
    void CreateDevices();

    // The scanner claimed slot `slot` (already marked, with its path) / freed it.
    void OnDeviceArrived(std::size_t slot);
    void OnDeviceRemoved(std::size_t slot);

    // A removal the window left unhandled while the computer slept. The scanner may have
    // given the slot the same node again since, so only this tells Reconcile that the
    // device's channel is dead.
    void NoteMissedRemoval(std::size_t slot);
    // After a time in which the scanner's messages went unhandled (the computer slept),
    // brings the devices in line with the slots, as if the messages had been handled:
    // a device whose command collection is gone is closed and its tab hidden; one whose
    // slot now holds another node, or whose removal was missed, is closed and arrives
    // again on the slot's node (start timer and event channel included); one that came
    // meanwhile arrives. Devices that stayed keep their channels, and the current device
    // stays current while it is there. True when a device arrived.
    bool Reconcile();

    // Shows or hides tab `index`; with `select`, makes it the selected tab.
    void ShowTab(int index, bool visible, bool select);
    // Hides tab `index`; when it was the selected one, the first other visible tab is
    // selected instead.
    void HideTab(int index);

    // The device of the first visible tab whose "device_select" is selected, or null.
    model::CLumitrekUSBDevice* CurrentDevice();
    int CurrentTabIndex();  // -1 without one

    // ---- switching (the routing table calls these)
    // "device_select" changed: the selected tab's power indicator is shown.
    void OnDeviceSelectChanged();
    // The nearest visible tab before / after the selected one; nothing at either end.
    void SelectPrevious();
    void SelectNext();
    // Page tabs 1..8 on the current device.
    void ShowFunctionPage(int page);

    // A "timer" notification whose sender is one of the tabs goes to that tab's device;
    // true when it was taken.
    bool OnTimer(const ui::TNotifyUI& msg);

    // The window was shown, hidden, minimised or restored, or the selected tab changed:
    // each device learns whether its picture is on screen (a hidden one stops colouring).
    void OnPicturesMoved();

    // The main window's lighting-control switch: the devices drive their lighting, or not.
    void SetLightControl(bool on);

    // Shutdown: the tabs' timers stop, every channel closes and every device thread stops
    // (each stop waits a bounded time).
    void StopDevices();

    // ---- what the list holds
    const std::vector<model::CLumitrekUSBDevice*>& Keyboards() const { return keyboards_; }
    const std::vector<model::CLumitrekUSBDevice*>& Mice() const { return mice_; }
    const std::vector<model::CLumitrekUSBDevice*>& MousePads() const { return pads_; }
    const std::vector<model::CLumitrekUSBDevice*>& Headsets() const { return headsets_; }
    const std::vector<CMpDevicePowerUI*>& PowerIndicators() const { return powerIndicators_; }
    int TabCount() const { return static_cast<int>(entries_.size()); }
    CDeviceOptionUI* Tab(int index) const;
    model::CLumitrekUSBDevice* DeviceAt(int index) const;
    int IndexOf(const model::CLumitrekUSBDevice* device) const;
    // Devices whose command channel is open.
    int ConnectedCount() const;
    int VisibleTabCount() const;

private:
    struct Entry {
        CDeviceOptionUI* tab = nullptr;
        model::CLumitrekUSBDevice* device = nullptr;
        std::unique_ptr<model::DeviceTabTimers> timers;
    };

    void CreateDevice(const device::DeviceTypeRow& type, std::size_t slotIndex);
    ui::CControlUI* Build(const std::string& layout);
    std::vector<model::CLumitrekUSBDevice*>* ListOfKind(int kind);
    // The entry of the device bound to a command slot (same vendor, product, kind, role).
    int BoundEntry(const device::SupportedDeviceEntry& slot);
    // The entry of a device of the slot's vendor, product and kind whose command channel
    // is open (the device an event collection belongs to).
    int ConnectedEntryFor(const device::SupportedDeviceEntry& slot);
    // Opens the event channel of a device whose event slot was claimed before its
    // command channel opened.
    void OpenClaimedEventChannel(model::CLumitrekUSBDevice& device);
    void ShowPowerTab(CDeviceOptionUI& tab);
    // When tabs are visible but none is selected, the first visible one is.
    void SelectFirstVisibleIfNone();

    ui::CPaintManagerUI& manager_;
    ui::IDialogBuilderCallback& creator_;
    device::SlotList& slots_;
    Hooks hooks_;
    std::vector<Entry> entries_;
    std::vector<model::CLumitrekUSBDevice*> keyboards_;
    std::vector<model::CLumitrekUSBDevice*> mice_;
    std::vector<model::CLumitrekUSBDevice*> pads_;
    std::vector<model::CLumitrekUSBDevice*> headsets_;
    std::vector<CMpDevicePowerUI*> powerIndicators_;
    std::set<std::size_t> missedRemovals_;
};

}  // namespace app
