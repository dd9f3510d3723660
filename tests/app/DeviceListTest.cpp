// SPDX-License-Identifier: GPL-3.0-or-later
// The device list against the simulated keyboard and mouse pad: tabs, pages and power
// indicators built from the shipped skin, arrival and removal through a scanner pass,
// selection and switching, the tab timers driving the devices, and the power display.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "app/CDeviceOptionUI.h"
#include "app/CMpDevicePowerUI.h"
#include "app/ControlCreator.h"
#include "app/DeviceList.h"
#include "device/hid/HidBackend.h"
#include "device/hid/VirtualBus.h"
#include "device/scanner/DeviceScanner.h"
#include "model/device/PanelLookup.h"
#include "platform/Paths.h"
#include "sim/SimulatedDevices.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHeadlessDriver.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CProgressUI.h"
#include "ui/CResourceManager.h"
#include "ui/CTabLayoutUI.h"
#include "ui/controls/ProgramControls.h"

namespace {

namespace fs = std::filesystem;

// Tab order follows the device-type table: mouse, keyboard, mouse pad, headset.
constexpr int kMouseTab = 0;
constexpr int kKeyboardTab = 1;
constexpr int kPadTab = 2;
constexpr int kHeadsetTab = 3;

// Scanner slots of the supported-interface table.
constexpr size_t kKeyboardSlot = 0;
constexpr size_t kPadSlot = 4;

// Hands the scanner's messages straight to the list: the pass runs on the test thread.
// Asleep, it leaves them as the main window does then: only a removal is noted.
class DirectClient : public device::ScannerClient {
public:
    app::DeviceList* list = nullptr;
    bool asleep = false;
    void SendScannerMessage(uint32_t message, size_t slot) override {
        if (asleep) {
            if (message == device::kDeviceRemovedMessage) list->NoteMissedRemoval(slot);
            return;
        }
        if (message == device::kDeviceArrivedMessage) list->OnDeviceArrived(slot);
        if (message == device::kDeviceRemovedMessage) list->OnDeviceRemoved(slot);
    }
    void PostFirstScanDone() override {}
};

class DeviceListTest : public ::testing::Test, public ui::INotifyUI {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-devlist-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        userRoot_ = pattern;
        ::setenv("XDG_DATA_HOME", userRoot_.c_str(), 1);
        const fs::path resources = fs::path(TX512_SOURCE_DIR) / "resources";
        platform::SetProgramDir(resources);
        ui::CResourceManager& skin = ui::CResourceManager::GetInstance();
        if (skin.GetResourcePath() != resources / "skin") {
            skin.Release();
            skin.SetResourcePath(resources / "skin");
            skin.LoadResource("res.xml");
            ui::RegisterProgramControls();
        }

        sims_ = sim::PlugSimulatedDevices(bus_);
        device::HidBackend::SetDefault(bus_.Backend());

        ASSERT_TRUE(
            manager_.AttachDialog(ui::CDialogBuilder().Create("XML_MAIN", &creator_, &manager_)));
        manager_.SetClientSize({1000, 640});
        manager_.AddNotifier(this);
        list_ = std::make_unique<app::DeviceList>(manager_, creator_, slots_);
        client_.list = list_.get();
        list_->CreateDevices();
        scanner_ = std::make_unique<device::DeviceScanner>(slots_, client_, bus_.Backend());
    }

    void TearDown() override {
        if (list_) list_->StopDevices();
        scanner_.reset();
        manager_.RemoveNotifier(this);
        device::HidBackend::SetDefault(nullptr);
        platform::SetProgramDir({});
        ::unsetenv("XDG_DATA_HOME");
        fs::remove_all(userRoot_);
    }

    // The main window's routing of what the list needs.
    void Notify(ui::TNotifyUI& msg) override {
        if (list_->OnTimer(msg)) ++timersTaken_;
        if (msg.sType == "selectchanged" && msg.pSender->GetName() == "device_select")
            list_->OnDeviceSelectChanged();
    }

    void Pass() { scanner_->RunPass(); }
    // The computer wakes up: the window catches up with what the scanner did meanwhile.
    bool Wake() {
        client_.asleep = false;
        return list_->Reconcile();
    }
    int SelectedVisibleTabs() {
        int count = 0;
        for (int i = 0; i < list_->TabCount(); ++i)
            if (Tab(i).IsTabVisible() && Tab(i).IsDeviceSelected()) ++count;
        return count;
    }
    bool StartTimerArmed(int tab) {
        return manager_.HasTimer(&Tab(tab), model::CLumitrekUSBDevice::kTimerStart);
    }
    bool Sent(sim::SimDevice& dev, int command) {
        const std::vector<int> codes = Commands(dev);
        return std::find(codes.begin(), codes.end(), command) != codes.end();
    }
    bool ReadsInformation(sim::SimDevice& dev) { return Sent(dev, 1); }
    // The device's commands go out on its own thread, a little after the UI asked for
    // them (the start timer, say).
    bool SentSoon(sim::SimDevice& dev, int command) {
        return test_support::Eventually([&] {
            driver_.RunPending();
            return Sent(dev, command);
        });
    }
    bool ReadsInformationSoon(sim::SimDevice& dev) { return SentSoon(dev, 1); }
    // Both devices connected and their connections under way.
    void ConnectBoth() {
        Pass();
        driver_.Advance(600);
        ASSERT_TRUE(ReadsInformationSoon(*sims_.keyboard));
        ASSERT_TRUE(ReadsInformationSoon(*sims_.pad));
    }

    ui::CControlUI* Find(std::string_view name) { return manager_.FindControl(name); }
    int Page(std::string_view tabs) {
        return static_cast<ui::CTabLayoutUI*>(Find(tabs)->GetInterface("TabLayout"))->GetCurSel();
    }
    app::CDeviceOptionUI& Tab(int index) { return *list_->Tab(index); }
    model::CLumitrekUSBDevice* Device(int index) { return list_->DeviceAt(index); }
    std::vector<int> Commands(sim::SimDevice& dev) {
        std::vector<int> codes;
        for (const sim::WireEntry& e : dev.Log().Requests()) codes.push_back(e.bytes.at(3));
        return codes;
    }

    fs::path userRoot_;
    ui::CHeadlessDriver driver_;
    device::VirtualBus bus_;
    sim::SimulatedDevices sims_;
    device::SlotList slots_;
    ui::CPaintManagerUI manager_;
    app::ControlCreator creator_{manager_};
    DirectClient client_;
    std::unique_ptr<app::DeviceList> list_;
    std::unique_ptr<device::DeviceScanner> scanner_;
    int timersTaken_ = 0;
};

TEST_F(DeviceListTest, EveryTypeRowGetsAHiddenTabItsPageAndItsPowerIndicatorInTableOrder) {
    ASSERT_EQ(list_->TabCount(), 4);
    EXPECT_EQ(list_->Keyboards(), std::vector{Device(kKeyboardTab)});
    EXPECT_EQ(list_->Mice(), std::vector{Device(kMouseTab)});
    EXPECT_EQ(list_->MousePads(), std::vector{Device(kPadTab)});
    EXPECT_EQ(list_->Headsets(), std::vector{Device(kHeadsetTab)});
    EXPECT_EQ(list_->VisibleTabCount(), 0);
    EXPECT_EQ(list_->CurrentDevice(), nullptr);

    const std::array<const char*, 4> keys = {"ms", "kb", "hard_mp", "hd"};
    const std::array<const char*, 4> names = {"mouse", "keyboard", "MousePad", "HD"};
    const std::array<int, 4> kinds = {2, 1, 3, 7};
    auto* pages = static_cast<ui::CContainerUI*>(Find("device_switch")->GetInterface("Container"));
    auto* powers =
        static_cast<ui::CContainerUI*>(Find("device_power_switch")->GetInterface("Container"));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        app::CDeviceOptionUI& tab = Tab(i);
        EXPECT_FALSE(tab.IsVisible());
        EXPECT_EQ(tab.GetDevice(), Device(i));
        EXPECT_EQ(Device(i)->GetDeviceTab(), &tab);
        EXPECT_EQ(pages->GetItemAt(i), Device(i));
        EXPECT_EQ(powers->GetItemAt(i), list_->PowerIndicators()[i]);
        EXPECT_EQ(tab.GetPowerIndicator(), list_->PowerIndicators()[i]);
        EXPECT_EQ(list_->PowerIndicators()[i]->GetKind(), kinds[i]);
        EXPECT_EQ(Device(i)->GetKind(), kinds[i]);
        EXPECT_EQ(Device(i)->GetTypeName(), names[i]);
        EXPECT_EQ(tab.NameLabel()->GetText(), names[i]);
        EXPECT_FALSE(tab.SynchroSelect()->IsVisible());
        ui::COptionUI* select = tab.DeviceSelect();
        const std::string base = std::string("common/device_ico/") + keys[i];
        EXPECT_EQ(select->GetNormalImage(), base + "_device_normal.png");
        EXPECT_EQ(select->GetDisabledImage(), base + "_device_normal.png");
        EXPECT_EQ(select->GetSelectedImage(), base + "_device_selected.png");
        EXPECT_EQ(select->GetToolTip(), std::string(keys[i]) + "_device_name_text");
        EXPECT_EQ(select->GetBindTabLayoutIndex(), i);
        EXPECT_EQ(tab.GetPowerTabIndex(), i);
    }
    // The keyboard's page was bound: its picture's keys belong to it.
    EXPECT_EQ(Device(kKeyboardTab)->GetKeyCount(), 126);
    EXPECT_NE(Device(kKeyboardTab)->KeyButtons().at(0), nullptr);
}

TEST_F(DeviceListTest, IconKeysFollowKindAndRole) {
    EXPECT_EQ(app::CDeviceOptionUI::IconKey(3, 1), "soft_mp");
    EXPECT_EQ(app::CDeviceOptionUI::IconKey(4, 0), "hd");
    EXPECT_EQ(app::CDeviceOptionUI::IconKey(5, 0), "hub");
    EXPECT_EQ(app::CDeviceOptionUI::IconKey(9, 0), "unknow");
    // A pad of another role keeps what the tab showed.
    app::CDeviceOptionUI& tab = Tab(kPadTab);
    tab.SetIconsFor(3, 7);
    EXPECT_EQ(tab.DeviceSelect()->GetNormalImage(), "common/device_ico/hard_mp_device_normal.png");
}

TEST_F(DeviceListTest, TheFirstDeviceStaysCurrentAndRemovingItSelectsTheOther) {
    sims_.pad->Unplug();
    Pass();
    EXPECT_EQ(list_->CurrentDevice(), Device(kKeyboardTab));
    EXPECT_TRUE(Device(kKeyboardTab)->IsConnected());
    EXPECT_FALSE(Find("No_device_Link")->IsVisible());
    EXPECT_EQ(Page("device_switch"), kKeyboardTab);
    EXPECT_EQ(Page("device_power_switch"), kKeyboardTab);

    sims_.pad->Plug(bus_);
    Pass();
    EXPECT_EQ(list_->VisibleTabCount(), 2);
    EXPECT_EQ(list_->ConnectedCount(), 2);
    EXPECT_EQ(list_->CurrentDevice(), Device(kKeyboardTab));
    EXPECT_EQ(Page("device_switch"), kKeyboardTab);

    sims_.keyboard->Unplug();
    Pass();
    EXPECT_FALSE(Device(kKeyboardTab)->IsConnected());
    EXPECT_FALSE(Tab(kKeyboardTab).IsVisible());
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(Page("device_switch"), kPadTab);
    EXPECT_EQ(Page("device_power_switch"), kPadTab);

    sims_.pad->Unplug();
    Pass();
    EXPECT_EQ(list_->CurrentDevice(), nullptr);
    EXPECT_EQ(list_->ConnectedCount(), 0);
    EXPECT_TRUE(Find("No_device_Link")->IsVisible());
    EXPECT_EQ(Page("device_switch"), 0);
    EXPECT_EQ(Page("device_power_switch"), 0);
}

TEST_F(DeviceListTest, PrevAndNextSkipHiddenTabsAndStopAtTheEnds) {
    Pass();
    ASSERT_EQ(list_->CurrentTabIndex(), kKeyboardTab);
    list_->SelectPrevious();  // the mouse tab before it is hidden
    EXPECT_EQ(list_->CurrentTabIndex(), kKeyboardTab);
    list_->SelectNext();
    EXPECT_EQ(list_->CurrentTabIndex(), kPadTab);
    EXPECT_EQ(Page("device_switch"), kPadTab);
    list_->SelectNext();  // the headset tab after it is hidden
    EXPECT_EQ(list_->CurrentTabIndex(), kPadTab);
    list_->SelectPrevious();
    EXPECT_EQ(list_->CurrentTabIndex(), kKeyboardTab);

    // A click on a tab makes its device current and shows its power indicator.
    EXPECT_TRUE(driver_.Click(Tab(kPadTab).DeviceSelect()));
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(Page("device_power_switch"), kPadTab);
    EXPECT_FALSE(Tab(kKeyboardTab).IsDeviceSelected());
}

TEST_F(DeviceListTest, BothCollectionsOpenWhicheverArrivesFirstAndCloseOnRemoval) {
    Pass();
    model::CLumitrekUSBDevice* keyboard = Device(kKeyboardTab);
    EXPECT_TRUE(keyboard->IsEventChannelOpen());
    EXPECT_TRUE(keyboard->ListenerRunning());
    EXPECT_TRUE(Device(kPadTab)->IsEventChannelOpen());

    sims_.keyboard->Unplug();
    Pass();
    EXPECT_FALSE(keyboard->IsEventChannelOpen());
    EXPECT_FALSE(keyboard->ListenerRunning());

    // Slots out of range and a placeholder row's slot change nothing.
    list_->OnDeviceArrived(99);
    list_->OnDeviceArrived(2);
    list_->OnDeviceRemoved(99);
    EXPECT_EQ(list_->VisibleTabCount(), 1);
}

TEST_F(DeviceListTest, ReconnectingWithTheChannelStillOpenShowsTheTabWithoutReopening) {
    Pass();
    model::CLumitrekUSBDevice* keyboard = Device(kKeyboardTab);
    const std::string path = keyboard->GetIdentity().path;
    list_->HideTab(kKeyboardTab);
    list_->HideTab(kPadTab);
    ASSERT_TRUE(keyboard->IsConnected());
    manager_.KillTimer(&Tab(kKeyboardTab));

    list_->OnDeviceArrived(0);
    EXPECT_TRUE(Tab(kKeyboardTab).IsVisible());
    EXPECT_EQ(list_->CurrentDevice(), keyboard);
    EXPECT_EQ(keyboard->GetIdentity().path, path);
    EXPECT_TRUE(manager_.HasTimer(&Tab(kKeyboardTab), model::CLumitrekUSBDevice::kTimerStart));
}

TEST_F(DeviceListTest, ARepeatedArrivalLeavesTheSelectionWhereItWas) {
    Pass();
    list_->OnDeviceArrived(kKeyboardSlot);
    EXPECT_EQ(list_->CurrentDevice(), Device(kKeyboardTab));
    EXPECT_EQ(SelectedVisibleTabs(), 1);
    list_->ShowTab(kPadTab, true, true);
    list_->OnDeviceArrived(kKeyboardSlot);
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(SelectedVisibleTabs(), 1);
}

TEST_F(DeviceListTest, WakingUpClosesWhatWentWhileAsleepAndKeepsOneTabSelected) {
    Pass();
    model::CLumitrekUSBDevice* keyboard = Device(kKeyboardTab);
    client_.asleep = true;
    sims_.keyboard->Unplug();
    Pass();
    ASSERT_TRUE(Tab(kKeyboardTab).IsVisible());  // nothing was told yet

    EXPECT_FALSE(Wake());
    EXPECT_FALSE(keyboard->IsConnected());
    EXPECT_FALSE(keyboard->IsEventChannelOpen());
    EXPECT_FALSE(keyboard->ListenerRunning());
    EXPECT_FALSE(Tab(kKeyboardTab).IsVisible());
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(SelectedVisibleTabs(), 1);
    EXPECT_EQ(Page("device_switch"), kPadTab);
    EXPECT_EQ(Page("device_power_switch"), kPadTab);
    EXPECT_TRUE(Device(kPadTab)->IsConnected());

    client_.asleep = true;
    sims_.pad->Unplug();
    Pass();
    EXPECT_FALSE(Wake());
    EXPECT_EQ(list_->CurrentDevice(), nullptr);
    EXPECT_EQ(list_->ConnectedCount(), 0);
    EXPECT_EQ(list_->VisibleTabCount(), 0);
    EXPECT_TRUE(Find("No_device_Link")->IsVisible());
    EXPECT_EQ(Page("device_switch"), 0);
}

TEST_F(DeviceListTest, AReplugWhileAsleepReopensOnTheNewNodeAndRunsTheArrival) {
    ConnectBoth();
    model::CLumitrekUSBDevice* keyboard = Device(kKeyboardTab);
    const std::string oldPath = keyboard->GetIdentity().path;
    client_.asleep = true;
    sims_.keyboard->Unplug();
    Pass();
    sims_.keyboard->Plug(bus_);
    Pass();
    const std::string newPath = slots_.Slot(kKeyboardSlot).path;
    ASSERT_NE(newPath, oldPath);
    sims_.keyboard->Log().Clear();
    sims_.pad->Log().Clear();

    EXPECT_TRUE(Wake());
    EXPECT_TRUE(keyboard->IsConnected());
    EXPECT_EQ(keyboard->GetIdentity().path, newPath);
    EXPECT_TRUE(keyboard->IsEventChannelOpen());
    EXPECT_TRUE(keyboard->ListenerRunning());
    EXPECT_EQ(list_->CurrentDevice(), keyboard);  // it was current
    EXPECT_EQ(SelectedVisibleTabs(), 1);
    EXPECT_TRUE(StartTimerArmed(kKeyboardTab));
    EXPECT_FALSE(StartTimerArmed(kPadTab));
    driver_.Advance(500);
    EXPECT_TRUE(ReadsInformationSoon(*sims_.keyboard));  // it answers on the new node
    EXPECT_FALSE(ReadsInformation(*sims_.pad));
}

TEST_F(DeviceListTest, AReplugOntoTheSameNodeIsToldByTheMissedRemoval) {
    ConnectBoth();
    model::CLumitrekUSBDevice* keyboard = Device(kKeyboardTab);
    const device::SupportedDeviceEntry before = slots_.Slot(kKeyboardSlot);
    // What the scanner does when the kernel hands the replugged device the same node.
    client_.asleep = true;
    slots_.Release(kKeyboardSlot);
    client_.SendScannerMessage(device::kDeviceRemovedMessage, kKeyboardSlot);
    device::ScanCandidate again{before.vendorId,
                                before.productId,
                                before.interfaceNumber,
                                before.collectionNumber,
                                0,
                                0,
                                before.usagePage,
                                before.usage,
                                before.path};
    ASSERT_EQ(slots_.ClaimSlot(again).value_or(99), kKeyboardSlot);
    client_.SendScannerMessage(device::kDeviceArrivedMessage, kKeyboardSlot);

    EXPECT_TRUE(Wake());
    EXPECT_TRUE(keyboard->IsConnected());
    EXPECT_EQ(keyboard->GetIdentity().path, before.path);
    EXPECT_TRUE(keyboard->IsEventChannelOpen());
    EXPECT_TRUE(StartTimerArmed(kKeyboardTab));
    // The note is used up: waking again changes nothing.
    manager_.KillTimer(&Tab(kKeyboardTab));
    EXPECT_FALSE(Wake());
    EXPECT_FALSE(StartTimerArmed(kKeyboardTab));
}

TEST_F(DeviceListTest, WakingUpWithNothingChangedLeavesChannelsAndSelectionAlone) {
    ConnectBoth();
    list_->ShowTab(kPadTab, true, true);  // the user's choice, not the first device
    const std::string keyboardPath = Device(kKeyboardTab)->GetIdentity().path;
    sims_.keyboard->Log().Clear();
    sims_.pad->Log().Clear();
    client_.asleep = true;
    Pass();

    EXPECT_FALSE(Wake());
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(SelectedVisibleTabs(), 1);
    EXPECT_EQ(list_->ConnectedCount(), 2);
    EXPECT_EQ(Device(kKeyboardTab)->GetIdentity().path, keyboardPath);
    EXPECT_TRUE(Device(kKeyboardTab)->ListenerRunning());
    EXPECT_FALSE(StartTimerArmed(kKeyboardTab));
    EXPECT_FALSE(StartTimerArmed(kPadTab));
    // Neither connection starts again.
    driver_.Advance(600);
    // Real time on purpose: a connection wrongly started would reach its device's thread within it.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(ReadsInformation(*sims_.keyboard));
    EXPECT_FALSE(ReadsInformation(*sims_.pad));
}

TEST_F(DeviceListTest, ADeviceThatCameWhileAsleepArrivesOnWaking) {
    sims_.keyboard->Unplug();
    sims_.pad->Unplug();
    Pass();
    ASSERT_TRUE(Find("No_device_Link")->IsVisible());
    client_.asleep = true;
    sims_.pad->Plug(bus_);
    Pass();

    EXPECT_TRUE(Wake());
    EXPECT_TRUE(Device(kPadTab)->IsConnected());
    EXPECT_TRUE(Device(kPadTab)->IsEventChannelOpen());
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(SelectedVisibleTabs(), 1);
    EXPECT_FALSE(Find("No_device_Link")->IsVisible());
    EXPECT_EQ(Page("device_switch"), kPadTab);
    EXPECT_TRUE(StartTimerArmed(kPadTab));
}

TEST_F(DeviceListTest, TheStartTimerRunsTheConnectionHalfASecondAfterArrival) {
    sims_.pad->Unplug();
    Pass();
    sims_.keyboard->Log().Clear();
    driver_.Advance(499);
    EXPECT_TRUE(Commands(*sims_.keyboard).empty());
    driver_.Advance(1);
    for (int table : {1, 3, 7, 27, 2}) EXPECT_TRUE(SentSoon(*sims_.keyboard, table)) << table;
    EXPECT_GT(timersTaken_, 0);
    EXPECT_TRUE(manager_.HasTimer(&Tab(kKeyboardTab), model::CLumitrekUSBDevice::kTimerRefresh));

    // Shutdown closes everything and leaves no timer behind.
    list_->StopDevices();
    EXPECT_EQ(list_->ConnectedCount(), 0);
    EXPECT_FALSE(Device(kKeyboardTab)->LightThreadRunning());
    EXPECT_FALSE(Device(kKeyboardTab)->ListenerRunning());
    EXPECT_FALSE(manager_.HasTimer(&Tab(kKeyboardTab), model::CLumitrekUSBDevice::kTimerRefresh));

    ui::TNotifyUI other;
    other.sType = "timer";
    other.pSender = Find("device_switch");
    other.wParam = model::CLumitrekUSBDevice::kTimerStart;
    EXPECT_FALSE(list_->OnTimer(other));
}

TEST_F(DeviceListTest, HidingTheCurrentTabClosesWindowsAndStopsARecording) {
    int closed = 0, stopped = 0;
    bool recording = true;
    std::vector<bool> several;
    app::DeviceList::Hooks hooks;
    hooks.closeChildWindows = [&] { ++closed; };
    hooks.macroRecording = [&] { return recording; };
    hooks.stopMacroRecording = [&] { ++stopped; };
    hooks.severalDevices = [&](model::CLumitrekUSBDevice& d, bool s) {
        if (&d == Device(kKeyboardTab)) several.push_back(s);
    };
    list_->SetHooks(hooks);
    Pass();
    EXPECT_EQ(several.back(), true);
    Device(kPadTab)->Channel().SetSyncFlag(1);

    list_->HideTab(kPadTab);  // not the current one
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(Device(kPadTab)->Channel().SyncFlag(), 0);  // one device left: no sync
    list_->ShowTab(kPadTab, true, false);
    list_->HideTab(kKeyboardTab);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(list_->CurrentDevice(), Device(kPadTab));
    EXPECT_EQ(several.back(), false);
}

TEST_F(DeviceListTest, PageTabsAndLightControlReachTheDevices) {
    std::vector<int> profilePages;
    app::DeviceList::Hooks hooks;
    hooks.selectProfilePage = [&](model::CLumitrekUSBDevice&, int page) {
        profilePages.push_back(page);
    };
    list_->SetHooks(hooks);
    list_->ShowFunctionPage(3);  // no current device
    Pass();
    list_->ShowFunctionPage(4);
    list_->ShowFunctionPage(9);
    EXPECT_EQ(Device(kKeyboardTab)->GetFunctionPage(), 4);
    EXPECT_EQ(profilePages, std::vector{4});

    list_->SetLightControl(false);
    EXPECT_FALSE(Device(kKeyboardTab)->IsPreviewEnabled());
    EXPECT_FALSE(Device(kPadTab)->IsPreviewEnabled());
    EXPECT_FALSE(Device(kMouseTab)->IsPreviewEnabled());
    EXPECT_FALSE(Device(kHeadsetTab)->IsPreviewEnabled());
    list_->SetLightControl(true);
    EXPECT_TRUE(Device(kHeadsetTab)->IsPreviewEnabled());
    EXPECT_TRUE(Device(kKeyboardTab)->IsPreviewEnabled());
}

TEST_F(DeviceListTest, PowerReportsShowPercentageChargeStateLinkAndPhone) {
    app::CMpDevicePowerUI& mouse = *list_->PowerIndicators()[kMouseTab];
    app::CMpDevicePowerUI& pad = *list_->PowerIndicators()[kPadTab];
    ASSERT_EQ(model::PanelOf<model::IPowerIndicator>(&mouse),
              static_cast<model::IPowerIndicator*>(&mouse));
    auto* progress = static_cast<ui::CProgressUI*>(
        mouse.FindSubControl("device_Power_progress")->GetInterface("Progress"));
    ui::CControlUI* status = mouse.FindSubControl("device_power_status");
    ui::CControlUI* logo = mouse.FindSubControl("device_wuxian_logo");

    const std::array<uint8_t, 4> wirelessCharging = {57, 1, 0, 1};  // short: padded
    mouse.ShowPowerReport(wirelessCharging);
    EXPECT_EQ(mouse.FindSubControl("device_power_value")->GetText(), "57%");
    EXPECT_EQ(progress->GetValue(), 43);
    EXPECT_FALSE(progress->IsOwnVisible());
    EXPECT_EQ(status->GetBkImage(), "file='power/wuxian_powering.png'");
    EXPECT_TRUE(logo->IsOwnVisible());

    const std::array<uint8_t, 2> wiredCharging = {20, 1};
    mouse.ShowPowerReport(wiredCharging);
    EXPECT_TRUE(progress->IsOwnVisible());
    EXPECT_EQ(status->GetBkImage(), "file='power/powering.png'");
    EXPECT_FALSE(logo->IsOwnVisible());

    const std::array<uint8_t, 2> unknownState = {180, 9};
    mouse.ShowPowerReport(unknownState);
    EXPECT_EQ(status->GetBkImage(), "file='power/powering.png'");
    EXPECT_EQ(progress->GetValue(), 0);
    EXPECT_EQ(mouse.FindSubControl("device_power_value")->GetText(), "180%");
    EXPECT_TRUE(mouse.FindSubControl("device_phone_type")->GetBkImage().empty());

    std::array<uint8_t, 6> phone = {90, 2, 0, 0, 0, 2};
    pad.ShowPowerReport(phone);
    ui::CControlUI* phoneType = pad.FindSubControl("device_phone_type");
    EXPECT_EQ(phoneType->GetToolTip(), "Phone_type_samsung");
    EXPECT_EQ(phoneType->GetBkImage(), "file='power/Phone_type_samsung.png'");
    EXPECT_EQ(pad.FindSubControl("device_power_status")->GetBkImage(), "file='power/power.png'");
    EXPECT_FALSE(pad.FindSubControl("device_wuxian_logo")->IsOwnVisible());
    phone[5] = 7;
    pad.ShowPowerReport(phone);
    EXPECT_EQ(phoneType->GetBkImage(), "file='power/Phone_type_no_device.png'");
}

}  // namespace
