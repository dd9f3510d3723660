// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One supported device as it appears on the device page: at once the page (a container
// control of the skin library) and the model behind it. It owns the device's command
// channel and event channel, the identity the scanner claimed, the information block,
// the key and LED buttons of the device picture, the light-step and light-list locks,
// and the light and listener threads. The colour buffer, the light list and the light
// program live in the device kind's lighting engine, which the kind attaches here.
// The keyboard and the mouse pad fill in the behaviour through the virtual operations;
// the defaults here are neutral.
//
// Threads:
//  - UI thread: every public operation, the timers, the panels, the profile in memory,
//    the settings and key list the panels show. It never waits for the device: every
//    exchange is queued on the device's worker (DeviceWorker) and what the operation
//    shows the user happens in its completion, back on the UI thread.
//  - worker thread: the exchanges of the connection routine, of the settings reads after
//    device events, of the light control and of every write. It owns the tables read from
//    the device (information block, key table, LED map, position maps) and publishes
//    them under tablesLock_; the UI thread and the light thread read copies.
//  - light thread: the colour buffer, the light list and steps under their locks, the
//    command channel's colour stream.
//  - listener thread: only arms the tab's timer 1002 and reports key events.
// Stopping any of them joins it, so a stopped thread never holds a lock.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "data/CBasicProfiledata.h"
#include "data/JsonDataFile.h"
#include "data/KeyMapping.h"
#include "data/LightNameLists.h"
#include "data/LightSetting.h"
#include "device/hid/HidBackend.h"
#include "device/listener/InputListener.h"
#include "device/listener/ListenerOwner.h"
#include "device/protocol/CommandChannel.h"
#include "device/protocol/CommandSet.h"
#include "device/scanner/SupportedDeviceEntry.h"
#include "model/device/ApplyOutcome.h"
#include "model/device/DeviceWorker.h"
#include "model/device/OwedSettings.h"
#include "model/device/PositionMaps.h"
#include "model/lighting/CLightEffects.h"
#include "model/lighting/StepLevel.h"
#include "platform/WorkerThread.h"
#include "ui/CHorizontalLayoutUI.h"
#include "ui/UIDefs.h"

namespace ui {
class CMessageLoop;
}

namespace model {

class CLumitrekUSBDevice : public ui::CHorizontalLayoutUI, private device::ListenerOwner {
    // The apply order of the kinds with a key table runs on the worker with the device's
    // own pieces (information block, settings write, macro library).
    friend class KeyApply;

public:
    // Tab timers (the device's tab in the device list drives the device with them).
    static constexpr unsigned kTimerRefresh = 1000;
    static constexpr unsigned kTimerStart = 1001;
    static constexpr unsigned kTimerSync = 1002;
    static constexpr unsigned kTimerRequest3 = 1003;
    static constexpr unsigned kTimerRequest4 = 1004;
    static constexpr unsigned kTimerPower = 1005;

    // A null backend means device::HidBackend::Default() at construction.
    explicit CLumitrekUSBDevice(std::shared_ptr<device::HidBackend> backend = nullptr);
    ~CLumitrekUSBDevice() override;

    std::string GetClass() const override;
    // "LumitrekUSBDevice" gives this object; other names go to the layout.
    void* GetInterface(std::string_view name) override;

    // ---- virtual operations, neutral here
    virtual void BindKeyButtons();
    virtual int ApplyLightSetting() { return 0; }
    // Hands the LED buttons the engine's colours (nothing while the preview is off).
    virtual void RefreshKeyPreview();
    // RGBA words (red | green << 8 | blue << 16 | level << 24); positions outside the
    // LED count are ignored and read as 0.
    virtual void SetLedColour(int position, uint32_t rgba);
    virtual uint32_t GetLedColour(int position) const;
    virtual void OnConnected() {}
    virtual void OnSyncRequest() {}
    virtual void OnRequest3() {}
    virtual void OnRequest4() {}
    virtual void PollPowerStatus() {}
    virtual int LoadProfile() { return 0; }
    virtual void RefreshPanels() {}
    virtual void ValidateMacroKeys() {}
    virtual void ResetToDefaults() {}
    virtual std::vector<int> GetUsedMacros() { return {}; }

    // ---- writes the panels ask for (UI thread). Each takes what it writes from the
    // device and its profile as they are now, queues the exchange and returns at once;
    // `done` (may be empty) runs once, on the UI thread, when the device has answered or
    // the operation was dropped by an unplug or shutdown (Completion::cancelled).
    using WriteDone = std::function<void(const Completion<int>&)>;
    using ApplyDone = std::function<void(const Completion<ApplyOutcome>&)>;
    // The profile's settings as settings block `profileIndex` (inside a configuration
    // bracket); the completion carries the write's result code. 1 when queued, 0 for a
    // kind without a settings block (nothing queued, `done` not called).
    int WriteSettings(int profileIndex, int byte0, WriteDone done);
    virtual int WriteSettings(int profileIndex, int byte0, int /*a*/, int /*b*/, int /*c*/) {
        return WriteSettings(profileIndex, byte0, WriteDone{});
    }
    // The key list and the macros its keys play, in the apply order (see ApplyOutcome).
    // Neutral here: completes at once with nothing written.
    virtual void ApplyKeys(ApplyDone done);
    // A profile applied to the device: its settings block (index 0), then the apply order.
    virtual void ApplyProfile(ApplyDone done);
    virtual void LoadLightNameLists() {}
    virtual void SetKeyNameMap(const std::map<int, int>& map) { keyNameMap_ = map; }
    virtual void ShowFunctionPage(int page);
    virtual int GetFunctionPage() const { return functionPage_; }
    // With a profile attached (the keyboard and the pad): the profile file is the user
    // data folder + profile file name + ".Json", the light list config the folder + light
    // list name + ".config". A profile file name that is not a plain file name gives no
    // profile file: the settings then live in memory only.
    virtual void UpdateProfilePaths();
    // Told, on the UI thread, when loading the current profile met a file it could not
    // use as it was (see CBasicProfiledata::LoadReport), once for each such finding.
    using ProfileNotice = std::function<void(CLumitrekUSBDevice&, const CBasicProfiledata::LoadReport&)>;
    void SetProfileNoticeHandler(ProfileNotice handler) { profileNotice_ = std::move(handler); }
    virtual std::filesystem::path GetProfilePath() const;
    virtual void SaveProfile();
    virtual void SetTypeIndex(int n);
    virtual int GetTypeIndex() const { return typeIndex_; }
    // Stores the four words as the current setting (and in the attached profile).
    virtual void SetLightSetting(uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3);
    virtual void SelectKey(int position) { selectedKey_ = position; }
    virtual std::array<uint32_t, 4> GetLightSetting() const;

    // ---- configuration by the main window
    void SetPageLayout(const std::string& path) { pageLayout_ = path; }
    const std::string& GetPageLayout() const { return pageLayout_; }
    void SetLightListName(const std::string& name) { lightListName_ = name; }
    const std::string& GetLightListName() const { return lightListName_; }
    void SetTypeName(const std::string& name) { typeName_ = name; }
    const std::string& GetTypeName() const { return typeName_; }
    void SetOwnerWindow(ui::WindowHandle window) { ownerWindow_ = window; }
    ui::WindowHandle GetOwnerWindow() const { return ownerWindow_; }
    void SetProfileFileName(const std::string& name) { profileFileName_ = name; }
    const std::string& GetProfileFileName() const { return profileFileName_; }
    void SetKeyCount(int n);
    // Sizes the LED lists when the count changes; always clears every LED's colour and
    // lighting record.
    void SetLedCount(int n);
    int GetKeyCount() const { return keyCount_.load(); }
    int GetLedCount() const { return ledCount_.load(); }
    void SetPowerIndicator(ui::CControlUI* indicator);
    void SetPowerParameter(int value);
    int GetPowerParameter() const { return powerParameter_; }
    void SetIdentity(const device::SupportedDeviceEntry& row);
    const device::SupportedDeviceEntry& GetIdentity() const { return identity_; }
    void SetKindRole(int kind, int role);
    int GetKind() const { return kind_; }
    int GetRole() const { return role_; }
    // The tab in the device list that drives this device with its timers (see
    // DeviceTabTimers). Set it on the UI thread once the tab is in its window: the
    // listener's sync requests reach the UI thread through that window's loop.
    void SetDeviceTab(ui::CControlUI* tab);
    ui::CControlUI* GetDeviceTab() const { return deviceTab_; }
    void SetLightPanel(ui::CControlUI* panel) { lightPanel_ = panel; }
    void SetProfilePanel(ui::CControlUI* panel) { profilePanel_ = panel; }

    // Follows the main window's lighting-control switch; switching it on tells a
    // keyboard to take its lighting from the host.
    void SetPreviewEnabled(bool on);
    bool IsPreviewEnabled() const;
    // Whether the device's picture is on screen: the light thread computes colours only
    // while someone looks (or while they leave the host, see HostDrivesLeds).
    void SetPictureOnScreen(bool shown);
    // The device shows colours the host computes on its LEDs (refreshed on timer 1000
    // and the light thread even while the picture is hidden): the headset.
    virtual bool HostDrivesLeds() const { return false; }
    // The light thread rests on a still picture it has drawn in full (the preview timer
    // may lapse), and its wake from there (from the light thread: the timer comes back).
    bool LightingAtRest() const;
    void OnLightThreadWakes();
    void SetRedrawFlag(bool on) { redrawFlag_ = on; }
    bool GetRedrawFlag() const { return redrawFlag_; }

    int GetSelectedKey() const { return selectedKey_; }
    // The device's user data folder (created) and its default profile file.
    std::filesystem::path GetUserFolder() const;
    std::filesystem::path GetDefaultProfilePath() const;

    // The effect engine's 8-bit step: towards `limit` by `step` when `up`, wrapping.
    static uint8_t StepLevel(bool up, uint8_t limit, uint8_t value, uint8_t step) {
        return lighting::StepLevel(up ? 1 : 0, limit, value, step);
    }

    // ---- channels
    // Arrival of the command collection: open the channel on the slot's path (once) and
    // take the slot's identity; a kind-6 mouse waits the long time limit. True when open.
    bool OpenCommandChannel(const device::SupportedDeviceEntry& slot);
    // Removal of the command collection. Threads keep running and idle.
    void CloseCommandChannel();
    // The program is ending: every thread of the device ends, and an operation that is
    // running is let finish first (a file it writes is whole); nothing queued is sent.
    void Shutdown() { StopThreads(); }
    bool IsConnected() const { return commandChannel_.IsOpen(); }
    // The command channel's connection number (CommandChannel::Connection).
    uint64_t ConnectionNumber() const { return commandChannel_.Connection(); }
    // No device operation waits, runs, or has a completion on its way to the UI thread.
    bool OperationsIdle() const { return worker_.Idle(); }
    // Arrival and removal of the event collection, with the listener thread.
    bool OpenEventChannel(const std::string& path);
    void CloseEventChannel();
    bool IsEventChannelOpen() const { return eventChannel_.IsOpen(); }
    // The usage of the last event report (0 before any).
    uint16_t LastEventUsage() const;

    device::CommandChannel& Channel() { return commandChannel_; }
    // Commands straight on the channel, for the light thread's colour stream. The UI
    // thread queues its exchanges instead (Queue).
    device::CommandSet& Commands() { return commands_; }
    // The information block as last read (byte 5 key slots, byte 6 macro memory / 128).
    device::CommandSet::DeviceInfo GetDeviceInfo() const;
    int KeySlots() const { return GetDeviceInfo()[5]; }
    // Vendor, product and release of the command collection as last opened (any thread).
    device::HidAttributes OpenedAttributes() const;

    // ---- lighting state shared with the light thread
    LightSetting GetCurrentLightSetting() const;
    // The locks the engine takes around the light steps and the light list.
    std::mutex& LightStepLock() { return lightStepLock_; }
    std::mutex& LightListLock() { return lightListLock_; }
    // The device kind's effects; null for a kind without an engine.
    lighting::CLightEffects* Effects() { return effects_; }
    const lighting::CLightEffects* Effects() const { return effects_; }

    // ---- threads
    void StartLightThread();
    platform::WorkerThread::StopResult StopLightThread();
    bool LightThreadRunning() const { return lightThread_.Running(); }
    bool ListenerRunning() const { return listener_ && listener_->Running(); }

    // ---- buttons and panels of the page
    const std::vector<ui::CControlUI*>& KeyButtons() const { return keyButtons_; }
    const std::vector<ui::CControlUI*>& LedButtons() const { return ledButtons_; }
    const std::map<int, int>& GetKeyNameMap() const { return keyNameMap_; }
    PositionMaps GetPositionMaps() const;
    const std::vector<std::string>& MacroNames() const { return macroNames_; }
    const LightNameLists& LightNames() const { return lightNames_; }

    // Arms a timer of the device tab (UI thread). Nothing without a tab in a window.
    void ArmTabTimer(unsigned id, unsigned elapseMs);
    // The light thread's stop event: a pause on it ends early when the thread is told
    // to stop.
    platform::Event& LightStopEvent() { return lightThread_.StopEvent(); }

protected:
    // Binds the "key_" and "light_" children of `container`, class "DeviceKeyButton".
    void BindButtonsIn(ui::CContainerUI& container);
    // The light thread's body; the device kinds run their effect engine in it.
    virtual void RunLightThread(platform::Event& stop);
    virtual device::ListenerKind KindOfListener() const { return device::ListenerKind::Other; }

    void SetPositionMaps(const PositionMaps& maps);
    void SetDeviceInfo(const device::CommandSet::DeviceInfo& info);
    // A device kind sets itself up with its kind code, its type name, its lighting engine
    // (which must outlive the light thread: see StopThreads) and its profile object with
    // its index in the light-list files.
    void ConfigureKind(int kind, const std::string& typeName, lighting::CLightEffects* effects,
                       CBasicProfiledata* profile, int lightListIndex);
    // The profile's lighting as the current setting, handed to the engine with the
    // profile's light list and light program. Returns the setting.
    LightSetting ApplyProfileLighting();
    // Worker thread: reads the active profile index (1 byte at 0) and the block at index
    // x `stride`. False, with nothing changed, when either read fails or the channel is
    // closed.
    static bool ReadActiveSettingsBlock(device::CommandSet& commands, std::span<uint8_t> block,
                                        unsigned stride, uint8_t& index);
    // The kind's settings block from the profile as it is now, and the distance between
    // the blocks of two profile indices. False for a kind without one.
    virtual bool EncodeSettings(int /*byte0*/, std::vector<uint8_t>& /*block*/,
                                unsigned& /*stride*/) {
        return false;
    }
    DeviceWorker& Worker() { return worker_; }
    // Whether the device may lack the profile's settings block (UI thread).
    OwedSettings& Owed() { return owed_; }
    // UI thread: the work of an operation on the worker, its completion back here. The
    // completion is left out when the device goes away first.
    template <class R>
    void Queue(std::string area, std::function<R(DeviceWorker::Session&)> work,
               std::function<void(const Completion<R>&)> done = {}) {
        worker_.Post<R>(std::move(area), std::move(work), std::move(done));
    }
    CBasicProfiledata* ProfileData() { return profileData_; }
    // After the profile section was loaded: a file made from the defaults gets its name
    // and UUID back from the profile list, and the user hears of a file that was lost.
    void ReportProfileLoad();
    // Macro names from the list file `macroListFile` of the user data folder, then the
    // light name lists of the kind.
    void LoadNameLists(const std::string& macroListFile);
    // Hands the profile and lighting panels of the page this device and its folders;
    // the profile panel's selection becomes the profile file name.
    void BindProfileAndLightingPanels();
    // The lighting panel's mode list and the current lighting setting.
    void ShowLightingInPanel();
    // Kinds with keys: hands the page's macro panel and key assignment panel (hidden
    // until a key is picked) this device, its library and its kind; the panels found.
    void BindMacroAndKeyPanels(ui::CControlUI*& macroPanel, ui::CControlUI*& keySetPanel);
    // The key assignment panel shows key `position` of `keys` (shown) or, with `show`
    // false, only follows the key list while it shows the selected key; then the labels.
    void ShowKeyInPanel(ui::CControlUI* keySetPanel, const std::vector<KeyMapping>& keys,
                        int position, bool show);
    void StoreCurrentLightSetting(const LightSetting& setting);
    const JsonDataFile& DataFiles() const { return jsonFile_; }
    // The macro library's count ("MacroInfo" entries of the user folder's list; 0 without a
    // readable list), read afresh on whichever thread asks: the editor may have changed it.
    int LibraryMacroCount() const;

    // A control of this page by name, or null.
    ui::CControlUI* FindInPage(std::string_view name);
    ui::CControlUI* LightPanelControl();
    ui::CControlUI* ProfilePanelControl();

    // Reads the 6-byte status block and hands it to the power indicator; with a message,
    // also posts it to the owner window with byte 4 of the block as wParam. With
    // `linkFromTimeLimit`, byte 3 (the wireless flag) tells whether the channel waits
    // the long time, as a device behind a receiver does, rather than what the block says.
    void PollStatusBlock(unsigned notifyMessage = 0, bool linkFromTimeLimit = false);
    // The settings write of a profile apply, as the worker runs it; the write's result.
    static int WriteSettingsOn(device::CommandSet& commands, std::span<const uint8_t> block,
                               int offset);

    // Stops the threads; derived destructors call it first, while their parts still exist.
    void StopThreads();

    // ---- device::ListenerOwner (the listener thread)
    bool EventChannelOpen() const override { return eventChannel_.IsOpen(); }
    device::HidDevice& EventDevice() override { return eventChannel_.Device(); }
    void ArmSyncTimer(int intervalMs) override;
    void OnKeyEvent(int keySlot, int action) override;

private:
    void StartListener();
    void StopListener();
    void PostToUi(std::function<void()> task);

    device::CommandChannel commandChannel_;
    device::CommandChannel eventChannel_;
    device::CommandSet commands_{commandChannel_};
    DeviceWorker worker_{commandChannel_};
    device::CommandSet::DeviceInfo info_{};
    OwedSettings owed_;

    ui::CControlUI* lightPanel_ = nullptr;
    ui::CControlUI* profilePanel_ = nullptr;
    ui::CControlUI* deviceTab_ = nullptr;
    ui::CControlUI* powerIndicator_ = nullptr;

    std::string pageLayout_;
    ui::WindowHandle ownerWindow_ = 0;
    std::string profileFileName_;
    std::string lightListName_;
    std::string typeName_;
    int kind_ = 0;
    int role_ = 0;
    std::atomic<int> keyCount_{0};  // the listener and light threads read the counts
    std::atomic<int> ledCount_{0};
    int selectedKey_ = -1;
    int functionPage_ = 1;

    std::vector<ui::CControlUI*> keyButtons_;
    std::vector<ui::CControlUI*> ledButtons_;
    mutable std::mutex tablesLock_;  // the listener and light threads read the maps and info
    PositionMaps maps_;
    device::HidAttributes openedAttributes_;
    std::map<int, int> keyNameMap_;
    lighting::CLightEffects* effects_ = nullptr;
    CBasicProfiledata* profileData_ = nullptr;
    bool profileFileUsable_ = false;
    ProfileNotice profileNotice_;
    std::filesystem::path keptFileReported_;  // a file left alone is reported once

    mutable std::mutex currentLightLock_;
    LightSetting currentLight_;
    JsonDataFile jsonFile_;
    std::mutex lightStepLock_;
    std::mutex lightListLock_;

    bool previewEnabled_ = true;  // kept for kinds without an engine
    bool redrawFlag_ = true;
    std::vector<std::string> macroNames_;
    LightNameLists lightNames_;
    int powerParameter_ = 0;
    device::SupportedDeviceEntry identity_;
    int typeIndex_ = 0;

    // Work the listener hands to the UI thread reaches the device only while it lives.
    std::shared_ptr<CLumitrekUSBDevice*> alive_;
    std::atomic<ui::CMessageLoop*> uiLoop_{nullptr};

    platform::WorkerThread lightThread_;
    std::unique_ptr<device::InputListener> listener_;
};

}  // namespace model
