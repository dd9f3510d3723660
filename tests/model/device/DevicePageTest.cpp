// SPDX-License-Identifier: GPL-3.0-or-later
// The device objects as pages of the window: button binding, function pages, the tab's
// timers driving the device, the listener reaching the UI thread, and the threads'
// stops.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/Eventually.h"
#include "DeviceBench.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/DeviceTabTimers.h"
#include "ui/CEditUI.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CLabelUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CRichEditUI.h"
#include "ui/CSliderUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/controls/CSelectPanelUI.h"

namespace modeltest {
namespace {

template <class T>
T* Add(ui::CContainerUI& parent, const std::string& name) {
    auto* control = new T();
    control->SetName(name);
    parent.Add(control);
    return control;
}

ui::CTabLayoutUI* AddTabs(ui::CContainerUI& parent, const std::string& name, int pages) {
    auto* tabs = Add<ui::CTabLayoutUI>(parent, name);
    for (int i = 0; i < pages; ++i) tabs->Add(new ui::CControlUI());
    return tabs;
}

using test_support::Eventually;

// A window holding a device page and the device's tab, whose timers go to the device.
class DevicePage : public DeviceBench, public ui::INotifyUI {
protected:
    template <class Device>
    Device* Build(Device* device) {
        device->SetPageLayout("XML/DeviceXml/page.xml");
        root = new ui::CContainerUI();
        root->Add(device);
        tab = Add<ui::CControlUI>(*root, "tab");
        manager.AttachDialog(root);
        manager.AddNotifier(this);
        device->SetDeviceTab(tab);
        timers = std::make_unique<model::DeviceTabTimers>(*device, [this] { return onScreen; });
        return device;
    }
    // The device's queued work done and its completions run, without letting the
    // window's clock move on.
    void SettleKeyboard(model::CLumitrekUSBDevice& device) {
        ASSERT_TRUE(Eventually([&] {
            driver.RunPending();
            return device.OperationsIdle();
        }));
        driver.RunPending();
    }
    void Notify(ui::TNotifyUI& msg) override {
        if (msg.sType == "timer" && msg.pSender == tab && timers) timers->OnTimer(msg.wParam);
    }

    ui::CHeadlessDriver driver;
    ui::CPaintManagerUI manager;
    ui::CContainerUI* root = nullptr;
    ui::CControlUI* tab = nullptr;
    std::unique_ptr<model::DeviceTabTimers> timers;
    bool onScreen = true;  // what the tab tells the timers about its picture
};

TEST_F(DevicePage, TheBaseBindsTheSelectPanelsButtonsWithinTheCounts) {
    auto* device = new model::CLumitrekUSBDevice(bus_.Backend());
    device->SetKeyCount(3);
    device->SetLedCount(2);
    auto* panel = Add<ui::CSelectPanelUI>(*device, "picture");
    auto* key = Add<ui::CDeviceKeyButtonUI>(*panel, "KEY_1");
    auto* led = Add<ui::CDeviceKeyButtonUI>(*panel, "light_1");
    Add<ui::CDeviceKeyButtonUI>(*panel, "light_3");
    Add<ui::CDeviceKeyButtonUI>(*panel, "light");
    Add<ui::CButtonUI>(*panel, "key_0");  // not a key button
    Build(device);

    device->BindKeyButtons();
    EXPECT_EQ(device->KeyButtons(), (std::vector<ui::CControlUI*>{nullptr, key, nullptr}));
    EXPECT_EQ(device->LedButtons(), (std::vector<ui::CControlUI*>{nullptr, led}));
    EXPECT_EQ(led->GetLightColour(), 0x0000FFu);
    EXPECT_EQ(led->GetLightAlpha(), 255);
    EXPECT_EQ(panel->GetBkColor(), 0xFFFFFFFFu);

    device->SetPageLayout("");
    device->BindKeyButtons();
    EXPECT_EQ(device->GetKeyCount(), 0);
    EXPECT_EQ(device->GetLedCount(), 0);
    EXPECT_TRUE(device->LedButtons().empty());
}

TEST_F(DevicePage, FunctionPagesSelectTheTabLayoutsOfTheKind) {
    auto* kb = Build(new model::CLumitrekKeyboardDevice(bus_.Backend()));
    kb->SetKeyCount(126);
    auto* buttons = Add<ui::CContainerUI>(*kb, "keyboard_device_key_light");
    auto* fn = Add<ui::CDeviceKeyButtonUI>(*buttons, "key_110");
    kb->ShowFunctionPage(4);  // nothing to select yet
    EXPECT_EQ(kb->GetFunctionPage(), 4);
    auto* functions = AddTabs(*kb, "device_function_switch", 4);
    auto* keyFunctions = AddTabs(*kb, "device_key_function_switch", 3);
    kb->BindKeyButtons();
    EXPECT_EQ(kb->KeyButtons()[110], fn);

    kb->ShowFunctionPage(4);
    EXPECT_EQ(functions->GetCurSel(), 3);
    kb->ShowFunctionPage(2);
    EXPECT_EQ(functions->GetCurSel(), 0);
    EXPECT_EQ(keyFunctions->GetCurSel(), 1);
    EXPECT_FALSE(fn->IsEnabled());
    kb->ShowFunctionPage(1);
    EXPECT_TRUE(fn->IsEnabled());
    EXPECT_EQ(keyFunctions->GetCurSel(), 0);

    auto* pad = new model::CLumitrekMousePadDevice(bus_.Backend());
    root->Add(pad);
    auto* padFunctions = AddTabs(*pad, "device_function_switch", 4);
    auto* padKeyFunctions = AddTabs(*pad, "device_key_function_switch", 3);
    pad->ShowFunctionPage(4);
    EXPECT_EQ(padFunctions->GetCurSel(), 0);
    EXPECT_EQ(padKeyFunctions->GetCurSel(), 2);
}

TEST_F(DevicePage, HostLightingIsAskedOnlyOfAKeyboardAndOnlyWhenSwitchedOn) {
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    ASSERT_TRUE(kb.OpenCommandChannel(Slot(0, *keyboardSim_)));
    keyboardSim_->Log().Clear();
    kb.SetPreviewEnabled(false);
    EXPECT_TRUE(Commands(*keyboardSim_).empty());
    EXPECT_FALSE(kb.IsPreviewEnabled());
    kb.SetPreviewEnabled(true);
    Settle();
    EXPECT_EQ(Commands(*keyboardSim_), (std::vector<int>{28}));
    keyboardSim_->Inspect([](const sim::Firmware& fw) { EXPECT_TRUE(fw.HostLighting()); });

    model::CLumitrekMousePadDevice& pad = Pad();
    ASSERT_TRUE(pad.OpenCommandChannel(Slot(4, *padSim_)));
    padSim_->Log().Clear();
    pad.SetPreviewEnabled(true);
    Settle();
    EXPECT_TRUE(Commands(*padSim_).empty());

    // Setting the same LED count again still clears every colour.
    kb.SetLedColour(3, 0xFF112233);
    EXPECT_EQ(kb.GetLedColour(3), 0xFF112233u);
    EXPECT_EQ(kb.GetLedColour(126), 0u);
    kb.SetLedCount(126);
    EXPECT_EQ(kb.GetLedColour(3), 0u);
}

TEST_F(DevicePage, TheTabsTimersConnectRefreshAndFollowTheKeyboardsEvents) {
    auto* kb = Build(new model::CLumitrekKeyboardDevice(bus_.Backend()));
    kb->SetKeyCount(126);
    kb->SetLedCount(126);
    kb->SetProfileFileName(kProfileUuid);
    kb->SetLightListName("vexal_light");
    auto* buttons = Add<ui::CContainerUI>(*kb, "keyboard_device_key_light");
    auto* led = Add<ui::CDeviceKeyButtonUI>(*buttons, "light_0");
    kb->BindKeyButtons();
    ASSERT_TRUE(kb->OpenCommandChannel(Slot(0, *keyboardSim_)));
    keyboardSim_->Log().Clear();

    timers->OnCommandChannelOpened();
    driver.Advance(499);
    EXPECT_TRUE(Commands(*keyboardSim_).empty());
    driver.Advance(1);
    SettleKeyboard(*kb);
    EXPECT_EQ(RequestsOf(*keyboardSim_, 7).size(), 7u);
    EXPECT_FALSE(led->IsLightOverlay());
    driver.Advance(5);
    EXPECT_TRUE(led->IsLightOverlay());
    EXPECT_TRUE(manager.HasTimer(tab, model::CLumitrekUSBDevice::kTimerRefresh));

    // The keyboard's own settings change reaches the UI thread as timer 1002.
    ASSERT_TRUE(kb->OpenEventChannel(Slot(1, *keyboardSim_).path));
    const uint8_t mode = 6;
    ASSERT_TRUE(keyboardSim_->ChangeSettingsOnDevice(1, std::span(&mode, 1)));
    ASSERT_TRUE(Eventually([&] {
        driver.RunPending();
        return manager.HasTimer(tab, model::CLumitrekUSBDevice::kTimerSync);
    }));
    keyboardSim_->Log().Clear();
    driver.Advance(100);
    SettleKeyboard(*kb);
    EXPECT_EQ(RequestsOf(*keyboardSim_, 5).size(), 2u);
    EXPECT_EQ(kb->DeviceLight().mode, 6);
    EXPECT_FALSE(manager.HasTimer(tab, model::CLumitrekUSBDevice::kTimerSync));

    // Gone: the refresh stops re-arming itself.
    kb->CloseCommandChannel();
    driver.Advance(50);
    EXPECT_FALSE(manager.HasTimer(tab, model::CLumitrekUSBDevice::kTimerRefresh));
}

TEST_F(DevicePage, ThePreviewColoursTheKeysOnlyWhileThePictureIsOnScreen) {
    auto* kb = Build(new model::CLumitrekKeyboardDevice(bus_.Backend()));
    kb->SetKeyCount(126);
    kb->SetLedCount(126);
    kb->SetProfileFileName(kProfileUuid);
    kb->SetLightListName("vexal_light");
    auto* buttons = Add<ui::CContainerUI>(*kb, "keyboard_device_key_light");
    auto* led = Add<ui::CDeviceKeyButtonUI>(*buttons, "light_0");
    kb->BindKeyButtons();
    ASSERT_TRUE(kb->OpenCommandChannel(Slot(0, *keyboardSim_)));
    onScreen = false;  // another device's tab is selected, or the window is in the tray
    timers->OnCommandChannelOpened();
    driver.Advance(600);
    EXPECT_FALSE(led->IsLightOverlay());
    // Nobody sees the picture: the refresh lapses (and the light thread sleeps) ...
    EXPECT_FALSE(manager.HasTimer(tab, model::CLumitrekUSBDevice::kTimerRefresh));
    driver.Advance(300);
    EXPECT_FALSE(led->IsLightOverlay());
    // ... until the picture is shown again: then the keys are coloured at once.
    onScreen = true;
    timers->OnPictureVisibilityChanged();
    driver.Advance(60);
    EXPECT_TRUE(led->IsLightOverlay());
}

TEST_F(DevicePage, TheKeyboardsSystemControlsShowItsSettingsWithoutNotifying) {
    auto* kb = Build(new model::CLumitrekKeyboardDevice(bus_.Backend()));
    std::vector<ui::COptionUI*> polling, delay;
    for (int i = 0; i < 4; ++i) {
        polling.push_back(Add<ui::COptionUI>(*kb, "polling_rate_option_" + std::to_string(i)));
        delay.push_back(Add<ui::COptionUI>(*kb, "repeat_delay_check_" + std::to_string(i)));
    }
    auto* slider = Add<ui::CSliderUI>(*kb, "repeat_rate_slider");
    auto* winLock = Add<ui::COptionUI>(*kb, "winlockflag_option");
    auto* sixKey = Add<ui::COptionUI>(*kb, "6flag_option");
    auto* label = Add<ui::CLabelUI>(*kb, "repeat_delay_time_label1");
    auto* tryOut = Add<ui::CRichEditUI>(*kb, "repeat_input_richedit");
    Add<ui::CLabelUI>(*kb, "text_test");
    tryOut->SetText("typed");
    polling[0]->Selected(true, false);
    int notifications = 0;
    struct Counter : ui::INotifyUI {
        int& count;
        explicit Counter(int& c) : count(c) {}
        void Notify(ui::TNotifyUI& msg) override { count += msg.sType == "selectchanged"; }
    } counter(notifications);
    manager.AddNotifier(&counter);

    kb->SetSystemStages(30 | 1 << 16, 1 | 2 << 16, 0 | 1 << 16);
    kb->RefreshPanels();
    EXPECT_TRUE(polling[2]->IsSelected());
    EXPECT_FALSE(polling[0]->IsSelected());
    EXPECT_TRUE(delay[1]->IsSelected());
    EXPECT_EQ(slider->GetValue(), 30);
    EXPECT_TRUE(winLock->IsSelected());
    EXPECT_TRUE(sixKey->IsSelected());
    EXPECT_EQ(label->GetText(), "Repeat_Delay_Time500ms");
    EXPECT_EQ(tryOut->GetText(), "");
    EXPECT_EQ(tryOut->GetTipValue(), "Repeat_input_text");
    EXPECT_EQ(notifications, 0);

    // An index outside the four options shows the first.
    kb->SetSystemStages(0 | 9 << 16, 0 | 7 << 16, 0);
    kb->RefreshPanels();
    EXPECT_TRUE(polling[0]->IsSelected());
    EXPECT_EQ(label->GetText(), "Repeat_Delay_Time250ms");
    manager.RemoveNotifier(&counter);
}

TEST_F(DevicePage, TheMousePageBindsBothPicturesAndShowsItsStagesAsTheProfileHasThem) {
    auto* mouse = Build(new model::CLumitrekMouseDevice(bus_.Backend()));
    mouse->SetKeyCount(7);
    mouse->SetLedCount(6);
    auto* buttons = Add<ui::CContainerUI>(*mouse, "mouse_device_key_light");
    auto* logo = Add<ui::CDeviceKeyButtonUI>(*buttons, "light_5");
    logo->SetUserData("LOGO");
    auto* second = Add<ui::CDeviceKeyButtonUI>(*buttons, "light_0_2");
    Add<ui::CDeviceKeyButtonUI>(*buttons, "light_0_999");  // no picture has that many
    std::vector<ui::COptionUI*> checks;
    std::vector<ui::CEditUI*> edits;
    for (int n = 0; n < 5; ++n) {
        checks.push_back(Add<ui::COptionUI>(*mouse, "DPI_enable_check_" + std::to_string(n)));
        Add<ui::CSliderUI>(*mouse, "DPI_slider_" + std::to_string(n));
        edits.push_back(Add<ui::CEditUI>(*mouse, "DPI_edit_" + std::to_string(n)));
    }
    mouse->BindKeyButtons();
    ASSERT_EQ(mouse->SecondLedButtons().size(), 3u);
    EXPECT_EQ(mouse->SecondLedButtons()[2], second);
    EXPECT_TRUE(second->IsLightOverlay());

    // The mouse says 50 DPI a step and 32 steps: every edit takes 0 ... 1600.
    mouse->Controls().SetDpiRange(50, 32, 100);
    for (ui::CEditUI* edit : edits) EXPECT_EQ(edit->GetMaxValue(), 1600);
    edits[1]->SetText("");
    EXPECT_EQ(mouse->Controls().GetDpiEditValue(1), 100);  // empty is 0, below the smallest
    edits[1]->SetText("99999");
    EXPECT_EQ(mouse->Controls().GetDpiEditValue(1), 1600);

    // Stage 3 switched off stays shown off; switching three more off leaves the last one
    // on and locked.
    mouse->SetDpiStageSteps(4, 20);
    mouse->SetDpiStageEnabled(3, false);
    for (int n : {0, 1, 2, 4}) mouse->SetDpiStageEnabled(n, true);
    mouse->RefreshPanels();
    EXPECT_FALSE(checks[3]->IsSelected());
    EXPECT_TRUE(checks[2]->IsSelected());
    EXPECT_EQ(edits[4]->GetText(), "1000");
    for (int n : {0, 1, 2}) mouse->Controls().SetDpiStageEnabled(n, false);
    EXPECT_TRUE(checks[4]->IsSelected());
    EXPECT_FALSE(checks[4]->IsEnabled());
    mouse->Controls().SetDpiStageEnabled(0, true);
    EXPECT_TRUE(checks[4]->IsEnabled());

    // The second picture and the logo show the preview's colours.
    mouse->SetLedColour(2, 0x80112233);
    mouse->SetLedColour(5, 0x40445566);
    mouse->RefreshKeyPreview();
    EXPECT_EQ(second->GetLightAlpha(), 0x80);
    EXPECT_EQ(logo->GetLightAlpha(), 0x40);
}

TEST_F(DevicePage, StoppedThreadsLeaveNoLockHeldEvenWhenStoppedMidStream) {
    const uint8_t custom = 20;
    keyboardSim_->ChangeSettingsOnDevice(1, std::span(&custom, 1));
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();
    ASSERT_TRUE(kb.OpenEventChannel(Slot(1, *keyboardSim_).path));
    ASSERT_TRUE(Eventually([&] { return RequestsOf(*keyboardSim_, 11).size() > 20; }));

    EXPECT_EQ(kb.StopLightThread(), platform::WorkerThread::StopResult::Ended);
    const auto start = std::chrono::steady_clock::now();
    kb.CloseEventChannel();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(kb.ListenerRunning());
    for (std::mutex* lock : {&kb.LightStepLock(), &kb.LightListLock(), &kb.Channel().CommandLock(),
                             &kb.Channel().StreamLock(), &kb.Channel().IoLock()}) {
        ASSERT_TRUE(lock->try_lock());
        lock->unlock();
    }

    // Pulled out while streaming: the thread idles, stops in time and holds nothing.
    kb.StartLightThread();
    ASSERT_TRUE(Eventually([&] { return RequestsOf(*keyboardSim_, 11).size() > 40; }));
    keyboardSim_->Unplug();
    kb.CloseCommandChannel();
    EXPECT_EQ(kb.StopLightThread(), platform::WorkerThread::StopResult::Ended);
    for (std::mutex* lock : {&kb.Channel().StreamLock(), &kb.Channel().IoLock()}) {
        ASSERT_TRUE(lock->try_lock());
        lock->unlock();
    }
}

}  // namespace
}  // namespace modeltest
